# make run: build everything and start Quillpane (under Wine on Linux).
# make test: build everything and run every test layer.
# make fuzz: build the fuzz targets with clang and run each for a while.
SHELL := /bin/bash
BUILD := build
NATIVE := $(BUILD)/native
WIN := $(BUILD)/win
BENCH := $(BUILD)/bench
FUZZ_BUILD ?= $(BUILD)/fuzz
JOBS ?= $(shell nproc)
# Each target runs until FUZZ_SECONDS or FUZZ_RUNS, FUZZ_PARALLEL at a time.
FUZZ_SECONDS ?= 600
FUZZ_RUNS ?= 10000000
FUZZ_PARALLEL ?= 2
FUZZ_TARGETS := ini_file note_codec hotkey sections line_commands memo_reorder utf_positions

.PHONY: all deps build native win dist test test-native test-win run bench bench-e2e fuzz clean

all: build

deps:
	@tools/setup-deps.sh

native: deps
	@[ -f $(NATIVE)/CMakeCache.txt ] || cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug -DQUILLPANE_SANITIZE=ON -DQUILLPANE_BENCHMARKS=OFF
	@cmake --build $(NATIVE) -j$(JOBS)

win: deps
	@[ -f $(WIN)/CMakeCache.txt ] || cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	@cmake --build $(WIN) -j$(JOBS)

build: native win

# The portable zip and the installer, in build/win/dist.
dist: win
	@cmake --build $(WIN) --target dist

test-native: native
	cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)

test-win: win dist
	cd $(WIN) && ctest --output-on-failure -j$(JOBS)

# Both layers run even when the first fails; the status is the worse one.
# The release files are made first: the installer has its own scenario.
test: build dist
	@status=0; \
	(cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)) || status=1; \
	(cd $(WIN) && ctest --output-on-failure -j$(JOBS)) || status=1; \
	exit $$status

run: win
	@tools/run.sh $(WIN)/Quillpane.exe

bench: deps
	@[ -f $(BENCH)/CMakeCache.txt ] || cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
	@cmake --build $(BENCH) --target quillpane_bench -j$(JOBS)
	$(BENCH)/tests/quillpane_bench

# Editor speed of Quillpane.exe against a bare Scintilla host, under Wine.
bench-e2e: deps
	@[ -f $(WIN)/CMakeCache.txt ] || cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	@cmake --build $(WIN) -j$(JOBS) --target Quillpane qp_bare_host qp_bench_e2e
	@tools/bench-e2e.sh $(WIN) $(BENCH_E2E_ARGS)

fuzz: deps
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLPANE_FUZZ=ON -DBUILD_TESTING=OFF -DQUILLPANE_BENCHMARKS=OFF
	@cmake --build $(FUZZ_BUILD) -j$(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_RUNS) $(FUZZ_PARALLEL) $(FUZZ_TARGETS)

clean:
	rm -rf $(NATIVE) $(WIN) $(BENCH) $(FUZZ_BUILD)
