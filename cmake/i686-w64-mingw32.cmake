# Cross-compiles for 32-bit Windows with mingw-w64: the VB6 IDE and 32-bit Office load this DLL.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
