# Cross-build for 32-bit Windows with Debian's mingw-w64. The same executable
# runs on 32-bit Windows, on 64-bit Windows under WOW64 and on ARM64 Windows
# under emulation.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
