# Shared part of the MinGW-w64 cross builds: the including toolchain file
# sets CMAKE_SYSTEM_PROCESSOR and SONVIO_MINGW_PREFIX first. The POSIX-thread
# flavour of the compilers gives std::thread and std::mutex; the runtime is
# linked statically (see the top-level CMakeLists), so no MinGW DLL ships.
set(CMAKE_SYSTEM_NAME Windows)

find_program(CMAKE_C_COMPILER NAMES ${SONVIO_MINGW_PREFIX}-gcc-posix ${SONVIO_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${SONVIO_MINGW_PREFIX}-g++-posix ${SONVIO_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${SONVIO_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${SONVIO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 reports false overlaps in inlined std::string appends at -O2
# (GCC bug 105329); the warning is off for the cross build only.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
# Shipped binaries carry no symbol tables.
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
