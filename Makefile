# Lumiko: `make run` starts the panel, `make test` builds and runs every test.
# Both install what is missing on a Debian 12 machine first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
MINGW_BUILD?= build-mingw
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps build test unit-test asan-test mingw-core run sim bench clean

# Steps of `make test`; the front-ends' makefiles add theirs.
TEST_STEPS := unit-test asan-test mingw-core
# What `make run` starts once the build is done; the desktop panel replaces it.
RUN_DEMO = @echo "The desktop panel is not built yet; starting lumiko-sim on a short demo script." && \
	cd data && ../$(BUILD)/tools/sim/lumiko-sim < ../tools/sim/demo.sim
RUN_PREREQ := build

-include src/platform/qt/qt.mk
-include src/platform/qt/typing/typing.mk
-include src/platform/win32/win32.mk

all: build

deps:
	@bash scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

unit-test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

asan-test: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DLUMIKO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) -LE nosan

mingw-core: deps
	cmake -S . -B $(MINGW_BUILD) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DLUMIKO_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Release
	cmake --build $(MINGW_BUILD) -j $(JOBS)

test: $(TEST_STEPS)
	@echo "All test steps passed: $(TEST_STEPS)"

run: $(RUN_PREREQ)
	$(RUN_DEMO)

sim: build
	cd data && ../$(BUILD)/tools/sim/lumiko-sim

bench: build
	cd data && ../$(BUILD)/tools/bench/lumiko-bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(MINGW_BUILD)

-include tools/datagen/data.mk
