# The two commands a newcomer needs: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
FUZZ_SECONDS ?= 60

.PHONY: deps configure build run test test-asan bench bench-cli soak fuzz screenshot clean

deps:
	@bash scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/kestavian

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer, stopping at the first report.
# Leak checking is on: the suite is leak-free under the offscreen platform, Qt included.
test-asan: deps
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKESTAVIAN_SANITIZE=ON >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	    ctest --output-on-failure -j $(JOBS)

# Benchmarks: numbers to quote, never pass/fail. kestavian-cli as whole processes against wc -l and
# pandas on a long simulation output (bench/cli_bench.py, alone: make bench-cli), then the Google
# Benchmark programs.
bench: bench-cli
	@cmake --build build-bench -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ./build-bench/bench/kestavian_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

bench-cli:
	@bash scripts/install-deps bench
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTAVIAN_BENCH=ON -DKESTAVIAN_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target kestavian-cli
	/usr/bin/python3 bench/cli_bench.py ./build-bench/kestavian-cli

# A long playback through every option of the window, its memory watched (SOAK_TICKS ticks).
SOAK_TICKS ?= 100000
soak: deps
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTAVIAN_BENCH=ON -DKESTAVIAN_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS) --target kestavian_soak
	QT_QPA_PLATFORM=offscreen ./build-bench/bench/kestavian_soak $(SOAK_TICKS)

# libFuzzer over reading, parsing, timing and drawing, for FUZZ_SECONDS (default 60).
fuzz: deps
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DKESTAVIAN_FUZZ=ON -DKESTAVIAN_TESTS=OFF >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target kestavian_fuzz
	mkdir -p build-fuzz/corpus
	QT_QPA_PLATFORM=offscreen ./build-fuzz/tests/fuzz/kestavian_fuzz -max_total_time=$(FUZZ_SECONDS) \
	    build-fuzz/corpus tests/fuzz/corpus

# A screenshot of the viewer with the sample open, made under Xvfb.
screenshot: build
	bash scripts/screenshot.sh ./$(BUILD)/kestavian docs/screenshot.png
	STATISTICS=1 bash scripts/screenshot.sh ./$(BUILD)/kestavian docs/statistics.png

clean:
	rm -rf $(BUILD) build-asan build-bench build-fuzz
