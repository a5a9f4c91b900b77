# make run   installs what is missing, builds and opens the window
# make test  installs what is missing, builds and runs every test
BUILD_DIR ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps build run test bench screenshot clean

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

bench: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DKSCGEN_BUILD_BENCH=ON >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target kscgen_bench
	@$(BUILD_DIR)/bin/kscgen_bench

screenshot: build
	@bash scripts/screenshot.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
