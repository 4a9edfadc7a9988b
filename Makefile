# Kronalt: make run | make test | make bench | make package. CMake does the
# work; this file only names the builds and their options.

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
PKG_BUILD  ?= build-pkg
FUZZ_SECONDS ?= 10
GUI_SECONDS ?= 60
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
# Warnings are errors in CI, where nobody is there to read them.
WERROR     := $(if $(filter true,$(CI)),ON,OFF)

.PHONY: all deps build program run test test-main test-asan fuzz bench package pot clean

all: build

# Installs whatever Debian packages are missing (quick when none are), so the
# two commands of the README work on a fresh machine.
# ./run and ./test have checked already when they hand over (KRONALT_DEPS_CHECKED).
deps:
	@[ -n "$$KRONALT_DEPS_CHECKED" ] || bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DKRONALT_WERROR=$(WERROR)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The program and its data alone, without the test programs.
program: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target kronalt

# The message template for translators, from the sources.
pot: deps
	sh scripts/update-pot.sh

run: program
	$(BUILD)/bin/kronalt $(ARGS)

test: test-main test-asan fuzz
	@bash scripts/test-summary.sh $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

test-main: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The headless tests again, built with the address and undefined-behaviour
# sanitizers, so a stray read or write fails the run.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DKRONALT_WERROR=$(WERROR) -DKRONALT_SANITIZE=ON \
	    -DKRONALT_HEADLESS_ONLY=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Every fuzz target gets a short run from its seed corpus (with its dictionary
# and extra options, fuzz/corpus/<name>.dict and .flags, when it has them); new
# inputs it finds go to a scratch folder, never into the repository.
fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DKRONALT_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@set -e; for f in $(FUZZ_BUILD)/bin/fuzz_*; do \
	    name=$${f##*/fuzz_}; scratch=$$(mktemp -d); \
	    echo "== fuzz $$name for $(FUZZ_SECONDS)s"; \
	    dict=""; [ -f fuzz/corpus/$$name.dict ] && dict="-dict=fuzz/corpus/$$name.dict"; \
	    flags=""; [ -f fuzz/corpus/$$name.flags ] && flags=$$(cat fuzz/corpus/$$name.flags); \
	    $$f -max_total_time=$(FUZZ_SECONDS) -print_final_stats=0 $$dict $$flags $$scratch fuzz/corpus/$$name 2>$$scratch.log \
	        || { tail -40 $$scratch.log; rm -rf $$scratch $$scratch.log; exit 1; }; \
	    grep -E "^#[0-9]+.*DONE" $$scratch.log | tail -1; rm -rf $$scratch $$scratch.log; \
	done

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DKRONALT_BENCH=ON -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bin/bench_*; do echo "== $$b"; $$b --benchmark_min_time=0.2; done
	@echo "== AddFloatVal from a separate program built on the installed library"
	bash bench/values_consumer.sh $(BENCH_BUILD) --benchmark_min_time=0.2
	@echo "== window: start-up and CPU while waiting"
	xvfb-run -a sh bench/gui_bench.sh $(BENCH_BUILD)/bin/kronalt $(BENCH_BUILD)/bin/gui_peer $(GUI_SECONDS)
	@echo "== picture control: animated GIF load against wxAnimation, time and peak memory"
	xvfb-run -a $(BENCH_BUILD)/bin/picture_bench --benchmark_min_time=0.2
	xvfb-run -a $(BENCH_BUILD)/bin/picture_bench --memory=ours
	xvfb-run -a $(BENCH_BUILD)/bin/picture_bench --memory=peer
	@echo "== configuration editor: menu command to first paint"
	xvfb-run -a $(BENCH_BUILD)/bin/editor_bench

# The Debian packages kronalt, libzam1 and libzam-dev, in $(PKG_BUILD)/packages/.
package: deps
	bash scripts/build-packages.sh . $(PKG_BUILD) $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(PKG_BUILD)
