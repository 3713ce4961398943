# Cross toolchain: Windows x86 (32-bit) with mingw-w64 (posix thread model),
# fully static runtime. Only the camera modules are built with it.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
