# Native build: the driver core as a library, the host tools, the host
# tests and, on request, the fuzzers and the benchmark.
if(KV_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(KV_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()

add_subdirectory(driver/core)
add_subdirectory(calibrate)
add_subdirectory(tools/kvsim)

if(KV_FUZZ)
  add_subdirectory(fuzz)
elseif(KV_BENCH)
  add_subdirectory(bench)
else()
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_subdirectory(tests/host)
  add_subdirectory(fuzz)
endif()
add_subdirectory(wizard)
add_subdirectory(uninstall)
