# Cross-compiles the Windows build with Debian's mingw-w64 (posix threads) and
# runs the resulting executables through Wine, so ctest works unchanged.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KWIVO_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${KWIVO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KWIVO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${KWIVO_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KWIVO_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
