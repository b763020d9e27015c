# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (posix thread
# model, which std::thread needs). Programs run under Wine where the build or
# CTest needs to run them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(tamvek_mingw_target x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tamvek_mingw_target}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tamvek_mingw_target}-g++-posix)
set(CMAKE_RC_COMPILER ${tamvek_mingw_target}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${tamvek_mingw_target})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(tamvek_wine NAMES wine wine64)
if(tamvek_wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${tamvek_wine})
endif()
