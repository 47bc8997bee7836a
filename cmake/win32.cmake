# Cross build for Windows (i686 shipped, x86_64 tested): the shipped
# binaries and the tests that run under Wine.
enable_language(RC)

# Nothing here throws or asks a type at run time; without either, the
# shipped programs need only the small C++ runtime of runtime/, nothing of
# the library's. The tests are built the same way, so they prove what ships.
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions;-fno-rtti>")
if(CMAKE_SYSTEM_PROCESSOR STREQUAL i686)
  include(cmake/i586.cmake)
endif()

include(cmake/kernel_driver.cmake)
add_subdirectory(runtime)
add_subdirectory(common)
add_subdirectory(driver/core)
add_subdirectory(driver/kvusb)
add_subdirectory(driver/kvfilt)
add_subdirectory(calibrate)
add_subdirectory(tests/wine)
add_subdirectory(framework)
add_subdirectory(cpl)
add_subdirectory(kvrbtn)
add_subdirectory(wizard)
add_subdirectory(setup)
add_subdirectory(uninstall)
add_subdirectory(package)
