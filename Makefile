# Entry points: `make test` and `make bench` install what is missing, build and run.
BUILD_DIR ?= build
ASAN_DIR  ?= build-asan
JOBS      ?= $(shell nproc)

.PHONY: all deps build build-asan test test-release test-asan bench bench-startup run screenshots format clean monkey

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
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

test-asan: build-asan
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --test-dir $(ASAN_DIR) --output-on-failure -j $(JOBS)

test: test-release test-asan

# Long monkey runs: MONKEY_SEEDS=first:count seeds of MONKEY_ACTIONS random actions each.
MONKEY_SEEDS   ?= 100:20
MONKEY_ACTIONS ?= 2000
monkey: build
	MIRELTO_MONKEY_SEEDS=$(MONKEY_SEEDS) MIRELTO_MONKEY_ACTIONS=$(MONKEY_ACTIONS) \
	    $(BUILD_DIR)/tests/app/tst_monkey -maxwarnings 0

bench: build
	$(BUILD_DIR)/bench/mirelto_core_bench --benchmark_repetitions=5 \
	    --benchmark_report_aggregates_only=true
	$(BUILD_DIR)/bench/mirelto_redraw_bench

run: build
	$(BUILD_DIR)/src/app/mirelto

# The Debian package mirelto_<version>_<arch>.deb, in the build directory.
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
	rm -rf $(BUILD_DIR) $(ASAN_DIR)
