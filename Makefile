# Thin wrapper over CMake: `make` builds into build/, `make run` starts the program,
# `make test` builds and runs every test against a private Xvfb.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
BENCH_SECONDS ?= 10

.PHONY: all deps build run test bench clean

all: build

deps:
	@tools/deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G "Unix Makefiles"
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/tintaro

test: build
	tools/with-xvfb.sh ctest --test-dir $(BUILD_DIR) --output-on-failure

bench: build
	tools/with-xvfb.sh $(BUILD_DIR)/bench/bench_tintaro $(BENCH_SECONDS)

clean:
	rm -rf $(BUILD_DIR)
