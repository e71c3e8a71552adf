# Thin wrapper over CMake: `make` builds into build/, `make run` starts the program,
# `make test` builds and runs every test against a private Xvfb, `make deb` packs a .deb.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
BENCH_SECONDS ?= 30

.PHONY: all deps build run test bench deb clean

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
	tools/with-xvfb.sh $(BUILD_DIR)/bench/bench_effecttiming $(BENCH_SECONDS)

deb: build
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR)
