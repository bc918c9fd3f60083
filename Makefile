# Lumiko: `make run` starts the panel, `make test` builds and runs every test.
# Both install what is missing on a Debian 12 machine first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
MINGW_BUILD?= build-mingw
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
# Developers' and CI builds stop on warnings; plain CMake (a packager) does not.
DEV_FLAGS  := -DLUMIKO_WERROR=ON
# The main build is the one the Debian package is made from: a Release build
# with the distribution's own compiler and linker flags (its optimisation
# level, hardening, fortified library calls, stack protector), as Debian's
# own packaging builds it; read when the recipe runs, after deps.
DEB_FLAGS  = "-DCMAKE_CXX_FLAGS=$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	"-DCMAKE_EXE_LINKER_FLAGS=$$(dpkg-buildflags --get LDFLAGS)" "-DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG"

.PHONY: all deps configure build run-build test unit-test asan-test mingw-core run sim bench clean

# Steps of `make test`; the front-ends' makefiles add theirs.
TEST_STEPS := unit-test asan-test mingw-core
# What `make run` starts once the build is done; the desktop panel replaces it.
RUN_DEMO = @echo "The desktop panel is not built yet; starting lumiko-sim on a short demo script." && \
	cd data && ../$(BUILD)/tools/sim/lumiko-sim < ../tools/sim/demo.sim
RUN_PREREQ := run-build
# The targets `make run` builds: only what it starts.
RUN_TARGETS := lumiko-sim

-include src/platform/qt/qt.mk
-include src/platform/qt/typing/typing.mk
-include src/platform/win32/win32.mk
-include tests/fuzz/fuzz.mk
-include packaging/linux/deb.mk

all: build

deps:
	@bash scripts/deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) $(DEV_FLAGS) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr $(DEB_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run-build: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(RUN_TARGETS)

unit-test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

asan-test: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) $(DEV_FLAGS) -DCMAKE_BUILD_TYPE=Debug -DLUMIKO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) -LE nosan

mingw-core: deps
	cmake -S . -B $(MINGW_BUILD) $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DLUMIKO_CORE_ONLY=ON $(DEV_FLAGS) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(MINGW_BUILD) -j $(JOBS)

test: $(TEST_STEPS)
	@echo "All test steps passed: $(TEST_STEPS)"

run: $(RUN_PREREQ)
	$(RUN_DEMO)

# The choice saved in 字典设置 goes to the build folder, not into data/.
sim: build
	mkdir -p $(BUILD)/sim-user
	cd data && ../$(BUILD)/tools/sim/lumiko-sim --user-dir ../$(BUILD)/sim-user

bench: build
	cd data && ../$(BUILD)/tools/bench/lumiko-bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(MINGW_BUILD)

-include tools/datagen/data.mk
-include tools/hwr/hwr.mk
-include tools/clicks/clicks.mk
