# What the two mingw-w64 toolchain files share; each sets TOOLCHAIN_PREFIX and
# CMAKE_SYSTEM_PROCESSOR, then includes this.
#
# Debian's win32 thread-model compilers: the program starts no thread, and
# with them libstdc++ needs no winpthread, which the posix model links in
# whole (25.5 KiB of the executable).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests built for Windows run under Wine through plain ctest.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
