# Thin wrapper over CMake: `make` builds into build/, `make run` starts the program,
# `make test` builds and runs every test against a private Xvfb (`make test SANITIZE=1`: built
# into build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer), `make fuzz` runs
# SendKeyString's libFuzzer target for FUZZ_SECONDS, `make deb` packs a .deb. `make test-wayland`
# (root, ~15 minutes, not part of `make test`) runs the program under sway in a virtual machine
# with a real kernel and PS/2 keyboard, and checks what that keyboard's LEDs show.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
BENCH_SECONDS ?= 10
BENCH_ROUNDS ?= 3
FUZZ_SECONDS ?= 60
FUZZ_DIR ?= build-fuzz
comma := ,

ifeq ($(SANITIZE),1)
BUILD_DIR := build-sanitize
CMAKE_OPTIONS := -DTINTARO_SANITIZE=ON
# Leaks inside system libraries that the program cannot free are listed in tests/lsan.supp.
export ASAN_OPTIONS := detect_leaks=1
export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS := halt_on_error=1:print_stacktrace=1
endif

.PHONY: all deps build run test test-wayland bench deb fuzz clean

all: build

deps:
	@tools/deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G "Unix Makefiles" $(CMAKE_OPTIONS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/tintaro

test: build
	tools/with-xvfb.sh ctest --test-dir $(BUILD_DIR) --output-on-failure

WAYLAND_SCENARIOS ?= A B
test-wayland:
	bash tests/wayland/setup.sh .
	bash tests/wayland/run-vm.sh $(subst $(eval) ,$(comma),$(WAYLAND_SCENARIOS))
	python3 tests/wayland/check.py /tmp/vm/out $(WAYLAND_SCENARIOS)

bench: build
	tools/with-xvfb.sh $(BUILD_DIR)/bench/bench_tintaro $(BENCH_SECONDS) $(BENCH_ROUNDS)

deb: build
	cd $(BUILD_DIR) && cpack

# New inputs go to $(FUZZ_DIR)/corpus, crashes to $(FUZZ_DIR); the seed corpus stays as it is.
fuzz:
	@tools/deps.sh fuzz
	cmake -S . -B $(FUZZ_DIR) -G "Unix Makefiles" -DTINTARO_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/fuzz/fuzz_sendkeystring -max_total_time=$(FUZZ_SECONDS) \
		-artifact_prefix=$(FUZZ_DIR)/ $(FUZZ_DIR)/corpus fuzz/corpus

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) build-sanitize
