# Cross-building the 64-bit Windows DLL on Linux with Debian's mingw-w64.
# The "posix" thread variant is preferred: it gives the C++ standard library
# std::thread and std::mutex, which the "win32" variant of GCC 12 lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KVBR_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${KVBR_MINGW_TRIPLET}-gcc-posix ${KVBR_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KVBR_MINGW_TRIPLET}-g++-posix ${KVBR_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KVBR_MINGW_TRIPLET}-windres REQUIRED)
find_program(KVBR_MINGW_OBJDUMP NAMES ${KVBR_MINGW_TRIPLET}-objdump REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KVBR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
