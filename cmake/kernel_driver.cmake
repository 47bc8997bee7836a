# kv_kernel_driver(TARGET SOURCE...): a WDM driver image: freestanding C++,
# native subsystem, relocatable (Wine does not load a driver image without
# relocations), entry DriverEntry, imports from ntoskrnl.exe and HAL.dll only.
# No function may take more than 1 KB of the x86 kernel stack (12 KB in all,
# shared with every driver above and below).
set(KV_KERNEL_COMPILE_OPTIONS ${KV_WARNINGS} -O2 -ffreestanding -fno-exceptions -fno-rtti
  -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector -fno-threadsafe-statics
  -mno-stack-arg-probe -Wframe-larger-than=1024)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL i686)
  set(KV_DRIVER_ENTRY _DriverEntry@8)
else()
  set(KV_DRIVER_ENTRY DriverEntry)
endif()

# The kernel helpers both drivers share (driver/kernel) come with every image.
function(kv_kernel_driver target)
  add_executable(${target} ${ARGN} ${PROJECT_SOURCE_DIR}/driver/kernel/request_count.cpp
    ${PROJECT_SOURCE_DIR}/driver/kernel/registry_value.cpp ${PROJECT_SOURCE_DIR}/driver/kernel/unload_safe_completion.cpp)
  set_target_properties(${target} PROPERTIES SUFFIX .sys)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/driver/kernel)
  target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${KV_KERNEL_COMPILE_OPTIONS}>)
  target_link_options(${target} PRIVATE -nostdlib -shared -s -Wl,--subsystem,native
    -Wl,--entry,${KV_DRIVER_ENTRY} -Wl,--dynamicbase -Wl,--nxcompat -Wl,--image-base,0x10000
    -Wl,--exclude-all-symbols)
  target_link_libraries(${target} PRIVATE ntoskrnl hal gcc)
endfunction()
