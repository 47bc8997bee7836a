# Toolchain: 32-bit Windows (Windows 2000 and later), what the package ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KV_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
