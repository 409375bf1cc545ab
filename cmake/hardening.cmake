# Release hardening, size and reproducibility of the Windows executable.
# The executable is downloaded by ordinary users and runs elevated, so it has
# to keep every mitigation the loader offers, import nothing from beside
# itself, and come out byte for byte the same from any checkout.
if(NOT WIN32)
  return()
endif()

# Every C and C++ object of the Windows build: each function and datum in its
# own section so the link can drop what nothing calls; no checkout path in an
# object; __DATE__ and __TIME__ refused, since they differ between two builds.
# The resource compiler takes none of these.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections;-fdata-sections>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-Werror=date-time>"
)

# The shipped executable's link.
# - ASLR (with its relocations), high-entropy ASLR and DEP are binutils'
#   defaults; they are spelled out so a change of toolchain cannot drop them
#   silently. Large-address-aware has no switch for 64-bit images: ld always
#   sets it. tests/release/check_hardening.py checks all of them.
# - -static keeps libstdc++, libgcc and winpthread inside the executable
#   instead of in DLLs that a downloads folder could also hold.
# - No PE timestamp, so two builds of one tree are identical.
# - libstdc++'s default terminate handler demangles the exception's type and
#   prints it to stderr, which a GUI program does not have; it drags in the
#   demangler and a printf, some 70 KiB. The program throws and catches
#   nothing, so a terminate goes straight to abort, where that handler ends
#   as well.
function(orvanta_harden target)
  target_link_options(${target} PRIVATE
    -static
    -s
    LINKER:--dynamicbase
    LINKER:--high-entropy-va
    LINKER:--nxcompat
    LINKER:--enable-reloc-section
    LINKER:--gc-sections
    LINKER:--no-insert-timestamp
    LINKER:--defsym,_ZN9__gnu_cxx27__verbose_terminate_handlerEv=abort
  )
endfunction()
