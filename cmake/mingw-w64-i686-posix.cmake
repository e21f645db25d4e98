# Cross build for 32-bit Windows, for the PCs that still run it.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(toolPrefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
