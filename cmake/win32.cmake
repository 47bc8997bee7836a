# Cross build for Windows (i686 shipped, x86_64 tested): the shipped
# binaries and the tests that run under Wine.
enable_language(RC)
include(cmake/kernel_driver.cmake)
add_subdirectory(driver/core)
add_subdirectory(driver/wdm)
add_subdirectory(calibrate)
add_subdirectory(tests/wine)
add_subdirectory(framework)
add_subdirectory(cpl)
add_subdirectory(wizard)
add_subdirectory(setup)
add_subdirectory(uninstall)
add_subdirectory(package)
