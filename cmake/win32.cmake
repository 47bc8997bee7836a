# Cross build for 32-bit Windows: the shipped binaries and the tests that
# run under Wine.
add_subdirectory(driver/core)
add_subdirectory(tests/wine)
add_subdirectory(wizard)
add_subdirectory(setup)
add_subdirectory(package)
