# "make play" plays, "make check" runs the unit tests between edits, "make test" runs everything.
# Every target configures its build folder with every option it relies on, so none inherits
# another's cached choices: the developers' suite (check, test), the players' build (play,
# install), the benchmark, the sanitizer and fuzz builds and the package build each have a
# folder of their own.
BUILD := build
PLAY_BUILD := build-play
BENCH_BUILD := build-bench
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
PACKAGE_BUILD := build-package
FUZZ_RUNS ?= 20000
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
DESTDIR ?=

OFF := -DGHOSTMAZE_TESTS=OFF -DGHOSTMAZE_BENCHMARKS=OFF -DGHOSTMAZE_SANITIZE=OFF -DGHOSTMAZE_FUZZ=OFF
# Players and packagers see warnings; developers' builds stop at them.
PLAYER_OPTIONS := -DCMAKE_BUILD_TYPE=Release $(OFF) -DGHOSTMAZE_WERROR=OFF
TEST_OPTIONS := -DCMAKE_BUILD_TYPE=Release $(OFF) -DGHOSTMAZE_TESTS=ON -DGHOSTMAZE_BENCHMARKS=ON -DGHOSTMAZE_WERROR=ON
BENCH_OPTIONS := -DCMAKE_BUILD_TYPE=Release $(OFF) -DGHOSTMAZE_BENCHMARKS=ON -DGHOSTMAZE_WERROR=ON
ASAN_OPTIONS := -DCMAKE_BUILD_TYPE=Debug $(OFF) -DGHOSTMAZE_TESTS=ON -DGHOSTMAZE_SANITIZE=ON -DGHOSTMAZE_WERROR=ON
FUZZ_OPTIONS := -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ $(OFF) -DGHOSTMAZE_FUZZ=ON -DGHOSTMAZE_WERROR=ON
# The package is built with Debian's own compiler and linker flags (hardening included).
PACKAGE_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get
PACKAGE_OPTIONS = -DCMAKE_BUILD_TYPE=Release $(OFF) -DGHOSTMAZE_WERROR=OFF -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$$($(PACKAGE_FLAGS) CPPFLAGS) $$($(PACKAGE_FLAGS) CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$$($(PACKAGE_FLAGS) LDFLAGS)"

.PHONY: play build install uninstall package check test sanitizer-test fuzz-test benchmark \
  setup setup-test setup-package clean

play: setup
	$(MAKE) build
	cd $(PLAY_BUILD)/game && ./ghostmaze

build:
	cmake -S . -B $(PLAY_BUILD) $(PLAYER_OPTIONS)
	cmake --build $(PLAY_BUILD) -j $(JOBS)

# The launcher, program, pictures, sounds, icons, menu entry, metadata and manual page under
# $(DESTDIR)$(PREFIX). It only builds and installs: what the build needs comes from
# "make setup", run once beforehand.
install:
	@bash tools/setup.sh --check
	$(MAKE) build
	bash tools/install.sh $(PLAY_BUILD) "$(abspath $(PREFIX))" "$(DESTDIR)"

# Removes what the last "make install" put under $(DESTDIR)$(PREFIX), by its install manifest
# (CMake's lists the files without DESTDIR; install keeps a copy with it), and the folders that
# install created.
uninstall:
	bash tools/uninstall.sh $(PLAY_BUILD)/installed_files.txt "$(DESTDIR)$(abspath $(PREFIX))" \
	  $(PLAY_BUILD)/installed_folders.txt

# ghostmaze_<version>_<arch>.deb in $(PACKAGE_BUILD)/, installing to /usr.
package:
	@bash tools/setup.sh --check package
	cmake -S . -B $(PACKAGE_BUILD) $(PACKAGE_OPTIONS)
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack

setup:
	@bash tools/setup.sh

setup-test:
	@bash tools/setup.sh test

setup-package:
	@bash tools/setup.sh package

# The unit tests alone, in the developers' build folder: the quick check between edits.
check: setup-test
	cmake -S . -B $(BUILD) $(TEST_OPTIONS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -L unit

# The whole suite, then the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: setup-test
	cmake -S . -B $(BUILD) $(TEST_OPTIONS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure
	$(MAKE) sanitizer-test
	$(MAKE) fuzz-test

sanitizer-test:
	cmake -S . -B $(ASAN_BUILD) $(ASAN_OPTIONS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -L unit

# Each file reader on FUZZ_RUNS generated inputs; new finds go to the build folder, not the seeds.
# The readers are those with a fuzz/NAME_fuzzer.cpp, which fuzz/CMakeLists.txt builds.
FUZZ_READERS := $(patsubst fuzz/%_fuzzer.cpp,%,$(wildcard fuzz/*_fuzzer.cpp))
fuzz-test:
	cmake -S . -B $(FUZZ_BUILD) $(FUZZ_OPTIONS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_READERS:%=%_fuzzer)
	for reader in $(FUZZ_READERS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$reader && \
	  $(FUZZ_BUILD)/fuzz/$${reader}_fuzzer -runs=$(FUZZ_RUNS) $(FUZZ_BUILD)/corpus/$$reader fuzz/corpus/$$reader \
	    || exit 1; \
	done

# In a folder of its own, so the game's build keeps its settings.
benchmark: setup-test
	cmake -S . -B $(BENCH_BUILD) $(BENCH_OPTIONS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target frame_benchmark
	$(BENCH_BUILD)/bench/frame_benchmark

# Every build folder, but the player's name and scores of "make play" stay where the game finds them.
PLAYER_FILES := player.txt high_score.txt
clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
	@if [ -d $(PLAY_BUILD) ]; then \
	  find $(PLAY_BUILD) -mindepth 1 -maxdepth 1 ! -name game -exec rm -rf {} + ; \
	  find $(PLAY_BUILD)/game -mindepth 1 -maxdepth 1 $(PLAYER_FILES:%=! -name %) -exec rm -rf {} + 2>/dev/null; \
	  ls $(PLAYER_FILES:%=$(PLAY_BUILD)/game/%) 2>/dev/null | sed 's/^/kept /'; true; \
	fi
