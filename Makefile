# The two everyday commands: `make package` and `make test`. Both install
# what they need first (scripts/bootstrap).
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all bootstrap host win32 package test test-host test-win32 fuzz bench clean

all: package

bootstrap:
	scripts/bootstrap

host: bootstrap
	cmake --preset host
	cmake --build --preset host -j $(JOBS)

win32: bootstrap
	cmake --preset win32
	cmake --build --preset win32 -j $(JOBS)

package: win32
	scripts/package build/win32 out/package

test-host: host package
	ctest --preset host -j $(JOBS)

test-win32: win32
	ctest --preset win32

test: test-host test-win32

fuzz: bootstrap
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	mkdir -p build/fuzz/corpus
	build/fuzz/fuzz/core_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 build/fuzz/corpus fuzz/seeds

bench: bootstrap
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	build/bench/bench/report_bench --benchmark_counters_tabular=true

clean:
	rm -rf build out
