# Builds the 32-bit product with clang against the MinGW-w64 headers and libraries, as a second
# compiler that catches what the first lets through.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-sysroot.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})

# Debian keeps gcc's C++ headers and runtime in a folder named like "12-posix", which this clang
# does not take for a gcc version, so it is named here: the folder of the gcc that builds the
# product, which prints that name as its version.
execute_process(COMMAND ${triple}-g++-posix -dumpversion OUTPUT_VARIABLE gcc_version
  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(gcc_dir /usr/lib/gcc/${triple}/${gcc_version})
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
  ${gcc_dir}/include/c++ ${gcc_dir}/include/c++/${triple} ${gcc_dir}/include/c++/backward)
# -pthread links the posix threads library that the posix runtime needs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${gcc_dir} -pthread")
