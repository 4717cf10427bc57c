# Cross-building the 32-bit Windows program with Debian's mingw-w64 (posix thread model, so that
# std::thread and std::mutex work): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake
set(CERTMAKER_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
