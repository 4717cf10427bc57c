# Cross-building the 64-bit Windows program with Debian's mingw-w64 (posix thread model). The product
# is the 32-bit build; this one runs the same tests where 32-bit programs cannot be executed.
set(CERTMAKER_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
