# make run   installs what is missing, builds and opens the window
# make test  installs what is missing, builds and runs every test
# make windows  cross-builds for 64-bit Windows and runs the tests under Wine
# make package  the Windows release: dist/kscgen-VERSION-windows-x64.zip
SHELL := /bin/bash
BUILD_DIR ?= build
WINDOWS_BUILD_DIR ?= build-windows
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 30
FUZZERS = parse_song_name pinyin_initials uniform_values ksc_text

.PHONY: deps build run test windows package bench fuzz screenshot clean

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@echo "== the toolkit-free core again, under AddressSanitizer and UndefinedBehaviorSanitizer =="
	@cmake -S . -B $(BUILD_DIR)-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DKSCGEN_BUILD_GUI=OFF -DKSCGEN_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	@cd $(BUILD_DIR)-sanitize && ctest --output-on-failure -j $(JOBS)

# kscgen.exe, kscgen-gui.exe (static Qt for Windows, built once into a cache
# folder by scripts/windows-qt.sh) and the tests, built with MinGW-w64 and
# run under Wine in a throw-away prefix; the GBK conversions, the KSC files
# written for the samples and the window's run compared with a small Linux
# build's.
windows:
	@bash scripts/install-deps.sh --windows
	@cmake -S . -B $(WINDOWS_BUILD_DIR)-host -DCMAKE_BUILD_TYPE=Release -DKSCGEN_BUILD_GUI=OFF >/dev/null
	@cmake --build $(WINDOWS_BUILD_DIR)-host -j $(JOBS) --target gbk_table kscgen held_run
	@cmake -S . -B $(WINDOWS_BUILD_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DKSCGEN_BUILD_GUI=ON -DKSCGEN_QT_PREFIX="$$(bash scripts/windows-qt.sh --prefix)" \
	  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
	  -DKSCGEN_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
	@cmake --build $(WINDOWS_BUILD_DIR) -j $(JOBS)
	@bash scripts/windows-test.sh $(WINDOWS_BUILD_DIR) $(WINDOWS_BUILD_DIR)-host

# The release for Windows users, after the Windows build and its tests:
# dist/kscgen-VERSION-windows-x64.zip.
package: windows
	@bash scripts/package.sh $(WINDOWS_BUILD_DIR)
	@bash scripts/package-test.sh dist/kscgen-$$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' \
	  $(WINDOWS_BUILD_DIR)/CMakeCache.txt)-windows-x64.zip $(WINDOWS_BUILD_DIR)-host/bin/kscgen

# The Google Benchmark run, then the pinyin initials scored against the
# pinyin library, installed from npm into bench/node_modules (where the test
# of the dictionary tables finds it too).
bench: deps
	@bash scripts/install-deps.sh --bench
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DKSCGEN_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target kscgen_bench song_initials
	@$(BUILD_DIR)/bin/kscgen_bench
	@cd bench && npm ci --no-audit --no-fund --silent
	@node bench/pinyin_accuracy.mjs bench/pinyin_songs.txt $(BUILD_DIR)/bin/song_initials

# Each libFuzzer target for FUZZ_SECONDS, under ASan and UBSan; a finding
# stops with the input that caused it in $(BUILD_DIR)-fuzz/.
fuzz: deps
	@cmake -S . -B $(BUILD_DIR)-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKSCGEN_FUZZ=ON \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR)-fuzz -j $(JOBS)
	@for f in $(FUZZERS); do \
	  echo "== fuzzing $$f for $(FUZZ_SECONDS) s =="; \
	  mkdir -p $(BUILD_DIR)-fuzz/corpus/$$f; \
	  $(BUILD_DIR)-fuzz/bin/$${f}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(BUILD_DIR)-fuzz/ $(BUILD_DIR)-fuzz/corpus/$$f fuzz/corpus/$$f \
	    2>&1 | grep -E "^(Done|stat::number_of_executed_units|==[0-9]+==|SUMMARY)|ERROR" ; \
	  test $${PIPESTATUS[0]} -eq 0 || { echo "fuzz: a finding in $$f; 1 failed"; exit 1; }; \
	done; \
	echo "fuzz: $(words $(FUZZERS)) passed, 0 failed"

screenshot: build
	@bash scripts/screenshot.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(WINDOWS_BUILD_DIR) $(WINDOWS_BUILD_DIR)-host dist
