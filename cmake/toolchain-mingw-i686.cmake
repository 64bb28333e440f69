# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686),
# the platform of the real host. Its default thread model is win32: the
# Windows code uses no std::mutex or std::call_once.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(ORVEL_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# plugin/orvel.def names the stdcall exports without their "@n" suffix, for
# both Windows builds; the linker is told that this is meant.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-Wl,--enable-stdcall-fixup")
