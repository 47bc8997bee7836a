# Cross build for 32-bit Windows: the shipped binaries and the tests that
# run under Wine.
add_subdirectory(driver/core)
add_subdirectory(calibrate)
add_subdirectory(tests/wine)
