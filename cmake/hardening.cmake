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
# C++ without exceptions and run-time type information: nothing throws,
# catches or asks an object's type, and their tables and unwinding support
# only add size. The tests that run in Wine are built the same way, as they
# link the very objects that ship. The resource compiler takes none of these.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions;-fno-rtti>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffunction-sections;-fdata-sections>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-Werror=date-time>"
)
# 32-bit Windows unwinds through the stack, not through tables: the DWARF
# tables GCC adds by default serve only C++ exceptions, which are off.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-fno-asynchronous-unwind-tables>")
endif()

# The shipped executable's link.
# - ASLR (with its relocations) and DEP are binutils' defaults; they are
#   spelled out so a change of toolchain cannot drop them silently.
# - 64-bit: high-entropy ASLR is binutils' default too, and ld always sets
#   large-address-aware. 32-bit: ld refuses high-entropy ASLR, which needs a
#   64-bit address space, and large-address-aware has to be asked for; with it
#   the program may use 4 GiB under WOW64 instead of 2.
#   tests/release/check_hardening.py checks all of them.
# - -static keeps libstdc++ and libgcc inside the executable instead of in
#   DLLs that a downloads folder could also hold.
# - No PE timestamp, so two builds of one tree are identical.
# - Nothing redirects libstdc++'s throwing helpers: the shipped code uses no
#   part of the library that can throw (no std::string, containers,
#   std::function or operator new; text lives in fixed or malloc'd buffers),
#   so neither the helpers nor the exception machinery are linked at all.
function(orvanta_harden target)
  target_link_options(${target} PRIVATE
    -static
    -s
    LINKER:--dynamicbase
    LINKER:--nxcompat
    LINKER:--enable-reloc-section
    LINKER:--gc-sections
    LINKER:--no-insert-timestamp
  )
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    target_link_options(${target} PRIVATE LINKER:--high-entropy-va)
  else()
    target_link_options(${target} PRIVATE LINKER:--large-address-aware)
  endif()
endfunction()
