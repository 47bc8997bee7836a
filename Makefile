# The two everyday commands: `make package` and `make test`. Both install
# what they need first (scripts/bootstrap).
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60
export JOBS

.PHONY: all bootstrap host win32 win64 package test test-no32 fuzz bench clean shots

all: package

bootstrap:
	scripts/bootstrap

host: bootstrap
	cmake --preset host
	cmake --build --preset host -j $(JOBS)

win32: bootstrap
	cmake --preset win32
	cmake --build --preset win32 -j $(JOBS)

win64: bootstrap
	cmake --preset win64
	cmake --build --preset win64 -j $(JOBS)

package: win32
	scripts/package build/win32 out/package

# Host tests, package checks, Wine on win64, Wine on win32 (natively, or
# under the i386 emulator where this machine refuses 32-bit code); the last
# line sums them up.
test: host package win64
	scripts/test-all

# The same as on a machine that refuses 32-bit code (simulated): the win32
# layer runs under the i386 emulator, which is fetched for it.
test-no32: host package win64
	scripts/bootstrap --i386-emulator
	scripts/simulate-no32 scripts/test-all

fuzz: bootstrap
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	for target in core_fuzz parsers_fuzz; do \
	  mkdir -p build/fuzz/corpus/$$target && \
	  build/fuzz/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    build/fuzz/corpus/$$target fuzz/seeds/$$target || exit 1; \
	done

bench: win64
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	build/bench/bench/report_bench --benchmark_counters_tabular=true
	scripts/bench-wine build/win64

clean:
	rm -rf build out

# Screenshots of kvcal and of the applet in both editions, into out/shots/.
.PHONY: shots
shots: win64
	scripts/shots
