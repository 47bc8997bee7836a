# What ships runs on every processor Windows 2000 runs on: Pentium, K6,
# early VIA C3 and Geode GX1 lack the Pentium Pro's CMOV and FCOMI, which
# the cross compiler uses by default. So all our code is compiled for the
# i586, and every i686 program links the C runtime (startup objects,
# libmingw32, libmingwex, libmsvcrt) that scripts/bootstrap rebuilds for
# the i586 from the distribution's own sources; the distribution's copy is
# built for the Pentium Pro. The package test reads the shipped machine
# code back and refuses any instruction an i586 lacks.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-march=i586>")

set(KV_I586_CRT_DIR /usr/local/lib/kvtouch/mingw-w64-crt-i586 CACHE PATH
  "The C runtime built for the i586 (scripts/bootstrap)")
if(NOT EXISTS ${KV_I586_CRT_DIR}/crt2.o)
  message(FATAL_ERROR "No i586 C runtime in ${KV_I586_CRT_DIR}: run scripts/bootstrap")
endif()
# -B finds the startup objects there first, -L the libraries.
add_link_options(-B${KV_I586_CRT_DIR}/ -L${KV_I586_CRT_DIR})
