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
  orvanta_abort_instead_of_throw(${target})
endfunction()

# --- Abort instead of throw: delete this block, and its call above, once the
# shipped code no longer uses a part of libstdc++ that can throw.
# The program throws and catches nothing, so whatever would end in an
# uncaught exception goes straight to abort, where std::terminate ends too:
# libstdc++'s verbose terminate handler (it demangles the type and prints to
# stderr, which a GUI program does not have: the demangler and a printf) and
# its helpers that throw from inside the library (every standard exception
# class and the copy-on-write strings they carry). Without this list the
# 64-bit executable grows from 65,024 to 173,056 bytes. The helpers are all
# the functions of libstdc++'s functexcept.o, so that object is never linked:
# a partial list would clash with it. A new helper in a later toolchain
# breaks the link, which is why this is meant to go.
set(ORVANTA_ABORT_INSTEAD_OF_THROW
  _ZN9__gnu_cxx27__verbose_terminate_handlerEv
  _ZSt16__throw_bad_castv
  _ZSt17__throw_bad_allocv
  _ZSt18__throw_bad_typeidv
  _ZSt19__throw_logic_errorPKc
  _ZSt19__throw_range_errorPKc
  _ZSt20__throw_domain_errorPKc
  _ZSt20__throw_length_errorPKc
  _ZSt20__throw_out_of_rangePKc
  _ZSt21__throw_bad_exceptionv
  _ZSt21__throw_runtime_errorPKc
  _ZSt22__throw_overflow_errorPKc
  _ZSt23__throw_underflow_errorPKc
  _ZSt24__throw_invalid_argumentPKc
  _ZSt24__throw_out_of_range_fmtPKcz
  _ZSt28__throw_bad_array_new_lengthv
)
function(orvanta_abort_instead_of_throw target)
  # 32-bit Windows symbols carry a leading underscore, C and C++ alike.
  set(prefix "")
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(prefix _)
  endif()
  foreach(symbol IN LISTS ORVANTA_ABORT_INSTEAD_OF_THROW)
    target_link_options(${target} PRIVATE LINKER:--defsym,${prefix}${symbol}=${prefix}abort)
  endforeach()
endfunction()
# --- End of abort instead of throw.
