# kovran - make builds, make test runs every test twice (plain and sanitized), make demo builds
# the binary alone and runs an example job, make install installs the binary, its manual pages,
# its bash completion and the examples (make uninstall takes them away), make deb packages them.
BUILD      ?= build
ASAN_BUILD ?= build-asan
PREFIX     ?= /usr/local
# PREFIX=~/.local works whether or not the shell expanded the ~; a relative PREFIX is this folder's.
override PREFIX := $(abspath $(patsubst ~/%,$(HOME)/%,$(PREFIX)))
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
DEMO       ?= examples/reformat
CONFIGURE   = cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)

.PHONY: all build test test-plain test-asan demo install uninstall deb format-check clean bench fuzz compare

all: build

build:
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS)

test: test-plain test-asan

test-plain: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-asan:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKOVRAN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# The binary alone: the unit tests are not built for the demo.
demo:
	$(CONFIGURE)
	cmake --build $(BUILD) -j $(JOBS) --target kovran
	@tests/demo.sh $(BUILD)/kovran $(DEMO)

# What install and deb need: the binary and the manual page made from docs/language.md.
BUILD_INSTALLED = cmake --build $(BUILD) -j $(JOBS) --target kovran manuals

# The record of what was installed where is kept in $(BUILD)/installed_files.txt.
install:
	$(CONFIGURE)
	$(BUILD_INSTALLED)
	cmake --install $(BUILD)
	python3 tools/uninstall.py --add $(BUILD)/install_manifest.txt $(BUILD)/installed_files.txt

uninstall:
	python3 tools/uninstall.py $(BUILD)/installed_files.txt

deb:
	$(CONFIGURE)
	$(BUILD_INSTALLED)
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/kovran_*.deb

# Every C++ file of the tree: src/, fuzz/, bench/.
format-check:
	clang-format --dry-run --Werror $$(git ls-files '*.cc' '*.h')

# make bench: kovran against mawk, gawk, perl, GnuCOBOL and hand-written C++ on 10^6 records, with
# callgrind instructions per record (see bench/README.md);
# make bench BENCH_ARGS=--quick for 10^5 records, BENCH_ARGS="--records 10000000" for 10^7.
bench:
	python3 bench/test_bench.py
	python3 bench/run.py --build-dir $(BUILD) --output bench/work/results.md $(BENCH_ARGS)

# make compare OLD=path/to/kovran [NEW=path/to/kovran] [COMPARE_ARGS=...]: every golden case,
# example and fuzz corpus unit run by both builds, every output compared byte for byte.
NEW ?= $(BUILD)/kovran

compare: build
	@test -n "$(OLD)" || { echo "usage: make compare OLD=path/to/kovran [NEW=$(NEW)]"; exit 2; }
	python3 tests/compare.py $(OLD) $(NEW) -j $(JOBS) $(COMPARE_ARGS)

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
