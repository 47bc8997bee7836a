# Toolchain: 64-bit Windows. Never shipped: the same sources built so the
# Wine layer runs under 64-bit Wine on machines without 32-bit support.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
