# Shared part of the two MinGW-w64 toolchain files. Test programs run under wine through
# CMake's cross-compiling emulator (cmake/wine-run.sh keeps one wineserver alive).
set(CMAKE_C_COMPILER ${QUINDLE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUINDLE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUINDLE_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QUINDLE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
