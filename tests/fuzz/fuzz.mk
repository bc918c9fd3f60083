# Fuzzing and the soak run. Included by the top-level Makefile.
#   make fuzz        each harness for FUZZ_TIME seconds (default 600), from the
#                    seed corpus in tests/fuzz/corpus; findings in build-fuzz/
#   make fuzz-smoke  each harness for 20 s or 5,000 inputs, whichever ends
#                    first (a step of make test)
#   make soak        one million random events in one process over the
#                    shipped tables, the core's heap every 100,000 events
FUZZ_BUILD ?= build-fuzz
FUZZ_TIME  ?= 600
FUZZ_HARNESSES := search infostrip version dictname simparser panel encoding pad
FUZZ_PACKAGES  := clang-14 libclang-rt-14-dev libzinnia-dev tegaki-zinnia-simplified-chinese nlohmann-json3-dev

.PHONY: fuzz fuzz-smoke fuzz-build fuzz-deps soak
deps: fuzz-deps
fuzz-deps:
	@bash scripts/deps.sh $(FUZZ_PACKAGES)

# The libFuzzer build, and its tests: the corpus and every input that once
# failed replayed under the sanitizers, and the GBK literals compared with GCC's.
fuzz-build: deps
	cmake -S tests/fuzz -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(JOBS)

fuzz: fuzz-build
	bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_TIME) $(FUZZ_HARNESSES)

TEST_STEPS += fuzz-smoke
# A fixed seed and at most a fixed number of inputs: the short run of every
# `make test` tries the same inputs in the same order each time, the first
# of them on a slower machine, never more than were tried here
# (`make fuzz-smoke FUZZ_SMOKE_TIME=0` tries all 5,000); `make fuzz` takes a
# new seed each run.
FUZZ_SMOKE_TIME ?= 20
fuzz-smoke: fuzz-build
	FUZZ_SEED=1 FUZZ_RUNS=5000 bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_TIME) $(FUZZ_HARNESSES)

soak: build
	cd data && ../$(BUILD)/tests/fuzz/lumiko-soak
