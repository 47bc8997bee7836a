# Shared by the two Windows toolchains: mingw-w64 for KV_MINGW_PREFIX, tests
# run under Wine through scripts/wine-run (which picks the prefix by the
# program's machine type).
set(CMAKE_SYSTEM_NAME Windows)

# The win32 thread model keeps the binaries free of libwinpthread.
find_program(CMAKE_C_COMPILER NAMES ${KV_MINGW_PREFIX}-gcc-win32 ${KV_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${KV_MINGW_PREFIX}-g++-win32 ${KV_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${KV_MINGW_PREFIX}-windres REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${KV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
