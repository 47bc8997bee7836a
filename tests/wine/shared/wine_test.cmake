# How the Wine tests are built and registered; tests/wine/CMakeLists.txt
# includes this before its folders, which all use it.

set(KV_WINE_SHARED ${CMAKE_CURRENT_LIST_DIR})

# GoogleTest as the tests use it. mingw's win32 thread model has no
# std::mutex, which gtest's Notification wants; a Win32-event one stands
# in, for gtest and every program built with it.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_definitions(gtest PUBLIC GTEST_HAS_NOTIFICATION_=1)
target_compile_options(gtest PUBLIC "$<$<COMPILE_LANGUAGE:CXX>:-include;${KV_WINE_SHARED}/gtest_notification.h>")

# The X display of the tests ON_DISPLAY (below): one per build folder, so
# two checkouts testing at once on one machine never share, or stop, each
# other's server.
string(MD5 kv_build_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${kv_build_hash}" 0 3 kv_build_hash)
math(EXPR kv_display "100 + 0x${kv_build_hash} % 800")
set(KV_XVFB_DISPLAY ":${kv_display}" CACHE STRING "X display of the window tests")

# The machinery the tests share: starting programs, waiting, the registry,
# kernel services (headers in tests/wine/shared).
add_library(wine_test_support STATIC ${KV_WINE_SHARED}/registry.cpp ${KV_WINE_SHARED}/kernel_services.cpp)
target_include_directories(wine_test_support PUBLIC ${KV_WINE_SHARED})
target_compile_definitions(wine_test_support PRIVATE _WIN32_WINNT=0x0500 WINVER=0x0500)
target_compile_options(wine_test_support PRIVATE ${KV_WARNINGS})
target_link_libraries(wine_test_support PUBLIC advapi32)

# The checks every GoogleTest program makes of its own run (run_checks.cpp):
# an object library, so its registration is always linked in.
add_library(wine_run_checks OBJECT ${KV_WINE_SHARED}/run_checks.cpp)
target_compile_options(wine_run_checks PRIVATE ${KV_WARNINGS})
target_link_libraries(wine_run_checks PRIVATE gtest)

# KV_CHINESE_SYSTEM: the environment of a run as on a Chinese system. Wine
# takes code page 936 from the zh_CN locale, which the machine need not
# have, so it is built here (localedef); the run checks that it took effect.
find_program(KV_LOCALEDEF localedef REQUIRED)
set(KV_LOCALE_DIR ${CMAKE_BINARY_DIR}/locale)
add_custom_command(OUTPUT ${KV_LOCALE_DIR}/zh_CN.UTF-8/LC_CTYPE
  COMMAND sh -c "mkdir -p '${KV_LOCALE_DIR}' && { '${KV_LOCALEDEF}' -i zh_CN -f UTF-8 '${KV_LOCALE_DIR}/zh_CN.UTF-8' || test -f '${KV_LOCALE_DIR}/zh_CN.UTF-8/LC_CTYPE'; }"
  COMMENT "zh_CN.UTF-8 locale for the Chinese-system tests"
  VERBATIM)
add_custom_target(wine_test_zh_locale ALL DEPENDS ${KV_LOCALE_DIR}/zh_CN.UTF-8/LC_CTYPE)
set(KV_CHINESE_SYSTEM ENVIRONMENT LOCPATH=${KV_LOCALE_DIR} LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 KV_CODE_PAGE=936)

# kv_wine_program(TARGET [WIN32] [GTEST | GTEST_MAIN] SOURCE... [LIBRARIES LIBRARY...])
#   A program that runs under Wine: warnings are errors, and libgcc and
#   libstdc++ are linked in (a prefix has no mingw DLLs); the shared
#   machinery comes with it. GTEST links GoogleTest, GTEST_MAIN its main too;
#   either brings the run's own checks (run_checks.cpp).
function(kv_wine_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "WIN32;GTEST;GTEST_MAIN" "" "LIBRARIES")
  if(arg_WIN32)
    add_executable(${target} WIN32 ${arg_UNPARSED_ARGUMENTS})
  else()
    add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
  endif()
  target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${KV_WARNINGS}>")
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  target_link_libraries(${target} PRIVATE ${arg_LIBRARIES} wine_test_support)
  if(arg_GTEST_MAIN)
    target_link_libraries(${target} PRIVATE gtest_main wine_run_checks)
  elseif(arg_GTEST)
    target_link_libraries(${target} PRIVATE gtest wine_run_checks)
  endif()
endfunction()

# kv_own_prefix_fixture(FIRST_DISPLAY PREFIX PROGRAM OUT_FIXTURE): the
# fixture that keeps PREFIX's Wine and display up for its tests, made with
# the folder's first such test; its name goes to OUT_FIXTURE.
function(kv_own_prefix_fixture first prefix program out)
  file(RELATIVE_PATH where ${CMAKE_BINARY_DIR} ${prefix})
  set(fixture own_prefix:${where})
  if(NOT TEST wine.up:${where})
    add_test(NAME wine.up:${where} COMMAND ${KV_WINE_SHARED}/run_in_own_prefix.sh --up ${first} ${prefix}
      $<TARGET_FILE:${program}>)
    add_test(NAME wine.down:${where} COMMAND ${KV_WINE_SHARED}/run_in_own_prefix.sh --down ${prefix})
    set_tests_properties(wine.up:${where} PROPERTIES FIXTURES_SETUP ${fixture} SKIP_RETURN_CODE 77)
    set_tests_properties(wine.down:${where} PROPERTIES FIXTURES_CLEANUP ${fixture})
  endif()
  set(${out} ${fixture} PARENT_SCOPE)
endfunction()

# kv_wine_test(NAME COMMAND ARG... [TIMEOUT SECONDS] [ON_DISPLAY]
#              [OWN_PREFIX FIRST_DISPLAY] [NEVER_SKIPPED] [SETS_UP FIXTURE]
#              [REQUIRES FIXTURE...] [LOCKS RESOURCE...] [ENVIRONMENT VAR=VALUE...]
#              [ENVIRONMENT_MODIFICATION VAR=OP:VALUE...])
#   One Wine test. Exit code 77 means the runner cannot run the program
#   here (32-bit code on a machine without it): skipped, unless
#   NEVER_SKIPPED. ON_DISPLAY: on the shared Xvfb (fixture xvfb); the
#   window tests, and every test of the main prefix, since Wine's desktop
#   process keeps the display of a session's first program. OWN_PREFIX:
#   in the prefix of this build folder and an Xvfb of its own, the first
#   free display from FIRST_DISPLAY up; the folder's tests share one Wine
#   and display, which a fixture starts before the first and stops after
#   the last. Without TIMEOUT, CTest's default.
function(kv_wine_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "ON_DISPLAY;NEVER_SKIPPED" "TIMEOUT;OWN_PREFIX;SETS_UP"
    "COMMAND;REQUIRES;LOCKS;ENVIRONMENT;ENVIRONMENT_MODIFICATION")
  set(command ${arg_COMMAND})
  set(requires ${arg_REQUIRES})
  if(DEFINED arg_OWN_PREFIX)
    list(POP_FRONT command program)
    set(prefix ${CMAKE_CURRENT_BINARY_DIR}/wineprefix)
    set(command ${KV_WINE_SHARED}/run_in_own_prefix.sh ${arg_OWN_PREFIX} ${prefix} $<TARGET_FILE:${program}> ${command})
    kv_own_prefix_fixture(${arg_OWN_PREFIX} ${prefix} ${program} fixture)
    list(APPEND requires ${fixture})
  endif()
  add_test(NAME ${name} COMMAND ${command})
  set(environment ${arg_ENVIRONMENT})
  if(arg_ON_DISPLAY)
    list(APPEND requires xvfb)
    list(PREPEND environment DISPLAY=${KV_XVFB_DISPLAY})
  endif()
  if(NOT arg_NEVER_SKIPPED)
    set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77)
  endif()
  foreach(pair TIMEOUT:arg_TIMEOUT FIXTURES_SETUP:arg_SETS_UP FIXTURES_REQUIRED:requires RESOURCE_LOCK:arg_LOCKS
               ENVIRONMENT:environment ENVIRONMENT_MODIFICATION:arg_ENVIRONMENT_MODIFICATION)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 property)
    list(GET pair 1 variable)
    if(${variable})
      set_tests_properties(${name} PROPERTIES ${property} "${${variable}}")
    endif()
  endforeach()
endfunction()
