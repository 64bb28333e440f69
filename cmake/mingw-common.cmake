# What the MinGW-w64 toolchain files share; ORVEL_MINGW_PREFIX names the
# target triple.
set(CMAKE_C_COMPILER ${ORVEL_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${ORVEL_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${ORVEL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 reports -Wrestrict falsely inside std::string's operator+ when
# optimising (GCC bug 105329); the warning says nothing about this code.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
