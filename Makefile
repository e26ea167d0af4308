# kovran - make builds, make test runs every test twice (plain and sanitized), make demo runs
# the example job, make install installs the binary and its manual page.
BUILD      ?= build
ASAN_BUILD ?= build-asan
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
DEMO       ?= examples/reformat

.PHONY: all build test test-plain test-asan demo install format-check clean bench fuzz

all: build

build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)

test: test-plain test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOVRAN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

demo: build
	@tests/demo.sh $(BUILD)/kovran $(DEMO)

install: build
	cmake --install $(BUILD)

format-check:
	clang-format --dry-run --Werror $$(git ls-files 'src/*.cc' 'src/*.h' 'fuzz/*.cc')

# make bench: kovran against mawk, gawk, perl and GnuCOBOL on 10^6 records (see bench/README.md);
# make bench BENCH_ARGS=--quick for 10^5 records, BENCH_ARGS="--records 10000000" for 10^7.
bench:
	python3 bench/test_bench.py
	python3 bench/run.py --build-dir $(BUILD) --output bench/work/results.md $(BENCH_ARGS)

FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 600

# Each fuzz target runs for FUZZ_SECONDS on a corpus seeded from the golden cases (see
# fuzz/run.sh); FUZZ_SECONDS=0 runs every target once over its corpus and stops.
fuzz:
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DKOVRAN_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
