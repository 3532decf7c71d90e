# Cross-compiles for 64-bit Windows with mingw-w64: 64-bit Office loads only a 64-bit DLL.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
