# What both mingw-w64 cross builds share; the toolchain files set toolPrefix
# and CMAKE_SYSTEM_PROCESSOR first. The posix thread-model compilers, since
# the win32 model has no std::mutex, which GoogleTest and zkc need.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${toolPrefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${toolPrefix}-g++-posix)
set(CMAKE_RC_COMPILER ${toolPrefix}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${toolPrefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
