# The MinGW-w64 toolchain with POSIX threads, whose C++ library has
# std::mutex and std::thread (GoogleTest needs them); everything is linked
# statically, so lumiko.exe needs no runtime beside it.
include(${CMAKE_CURRENT_LIST_DIR}/../../../cmake/mingw-w64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
