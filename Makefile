# Entry points: `make test` and `make bench` install what is missing, build and run.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
JOBS      ?= $(shell nproc)
# Tests in parallel: one more than the cores, since the window, install and package tests spend
# part of their time waiting on other programs. A test that outlives TIMEOUT seconds fails
# (tst_monkey sets a longer limit of its own).
TEST_JOBS ?= $(shell echo $$(( $$(nproc) + 1 )))
TIMEOUT   ?= 300
CTEST      = ctest --output-on-failure -j $(TEST_JOBS) --timeout $(TIMEOUT)

.PHONY: all deps build build-asan test test-release test-asan bench bench-startup run screenshots format clean monkey fuzz

all: build

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRELTO_SANITIZE=ON \
	      -DMIRELTO_BUILD_BENCHMARKS=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS)

test-release: build
	$(CTEST) --test-dir $(BUILD_DIR)

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    $(CTEST) --test-dir $(ASAN_DIR)

test: test-release test-asan

# Long monkey runs: MONKEY_SEEDS=first:count seeds of MONKEY_ACTIONS random actions each.
MONKEY_SEEDS   ?= 100:20
MONKEY_ACTIONS ?= 2000
monkey: build
	MIRELTO_MONKEY_SEEDS=$(MONKEY_SEEDS) MIRELTO_MONKEY_ACTIONS=$(MONKEY_ACTIONS) \
	    $(BUILD_DIR)/tests/app/tst_monkey -maxwarnings 0

# The fuzz targets (clang, libFuzzer with ASan and UBSan), each run for FUZZ_SECONDS; what they
# find is kept in $(FUZZ_DIR)/found (crash-* files: add them to tests/fuzz/corpus/<target>/).
FUZZ_DIR     ?= build-fuzz
FUZZ_SECONDS ?= 300
fuzz: deps
	cmake -S tests/fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
	      -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	for target in value_text design_file cli_arguments; do \
	    tests/fuzz/run_fuzz.sh $(FUZZ_DIR) $$target $(FUZZ_SECONDS) $(FUZZ_DIR)/found || exit 1; \
	done

bench: build
	$(BUILD_DIR)/bench/mirelto_core_bench --benchmark_repetitions=5 \
	    --benchmark_report_aggregates_only=true
	$(BUILD_DIR)/bench/mirelto_redraw_bench

run: build
	$(BUILD_DIR)/src/app/mirelto

# The Debian package mirelto_<version>-<revision>_<arch>.deb, in the build directory.
.PHONY: package
package: build
	cmake --build $(BUILD_DIR) --target package

bench-startup: build
	bench/startup.sh $(BUILD_DIR)

screenshots: build
	scripts/screenshots.sh $(BUILD_DIR)/src/app/mirelto docs/images

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
