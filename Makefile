# "make play" plays, "make check" runs the unit tests between edits, "make test" runs everything.
BUILD := build
BENCH_BUILD := build-bench
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
FUZZ_RUNS ?= 20000
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

.PHONY: play build install check test sanitizer-test fuzz-test benchmark setup setup-test clean

play: build
	cd $(BUILD)/game && ./ghostmaze

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# The launcher, program, pictures, sounds, icon and menu entry under $(PREFIX).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

setup:
	@bash tools/setup.sh

setup-test:
	@bash tools/setup.sh test

# The unit tests alone, in the developers' build folder: the quick check between edits.
check: setup-test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DGHOSTMAZE_TESTS=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -L unit

# The whole suite, then the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: setup-test
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DGHOSTMAZE_TESTS=ON -DGHOSTMAZE_BENCHMARKS=ON
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure
	$(MAKE) sanitizer-test
	$(MAKE) fuzz-test

sanitizer-test:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DGHOSTMAZE_TESTS=ON -DGHOSTMAZE_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -L unit

# Each file reader on FUZZ_RUNS generated inputs; new finds go to the build folder, not the seeds.
fuzz-test:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DGHOSTMAZE_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target high_scores_fuzzer player_fuzzer picture_fuzzer
	for reader in high_scores player picture; do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$reader && \
	  $(FUZZ_BUILD)/fuzz/$${reader}_fuzzer -runs=$(FUZZ_RUNS) $(FUZZ_BUILD)/corpus/$$reader fuzz/corpus/$$reader \
	    || exit 1; \
	done

# In a folder of its own, so the game's build keeps its settings.
benchmark: setup-test
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DGHOSTMAZE_BENCHMARKS=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target frame_benchmark
	$(BENCH_BUILD)/bench/frame_benchmark

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD)
