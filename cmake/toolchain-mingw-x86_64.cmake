# Cross build for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-win32). The plug-in ships as 32-bit; this build runs
# the same Windows code under a 64-bit-only Wine where 32-bit programs cannot
# start.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVEL_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
