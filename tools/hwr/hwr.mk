# The handwriting recogniser's accuracy report (included by the top-level
# Makefile): top-1/5/10 over the 3,000 most frequent characters and 600
# characters outside GB2312, clean and mouse-like, zinnia alone and combined
# with the stroke matcher; recognition time and memory. The stroke data is
# fetched into $(LUMIKO_DATA_CACHE) (default ~/.cache/lumiko-data).
# make hwr-tune searches the combination's weights on other characters and
# other writers (distortions) than the report's.
HWR_DIR := $(dir $(lastword $(MAKEFILE_LIST)))

.PHONY: hwr-report hwr-tune
hwr-report: build
	python3 $(HWR_DIR)medians.py $(BUILD)/hwr-medians.txt 3000
	$(BUILD)/tools/hwr/lumiko-hwr-report $(BUILD)/hwr-medians.txt $(BUILD)/hwr-medians.txt.gbk

hwr-tune: build
	python3 $(HWR_DIR)medians.py $(BUILD)/hwr-medians.txt 3000
	$(BUILD)/tools/hwr/lumiko-hwr-report --tune $(BUILD)/hwr-medians.txt.tune

# How long a recognition keeps the pad waiting (median, p99, longest) and the
# memory it adds while it runs, through the pad service: over the report's
# characters written as on the pad, and over the pad's fuzzing corpus (the
# seeds, and what make fuzz found, when build-fuzz holds it).
.PHONY: hwr-bench
hwr-bench: build
	python3 $(HWR_DIR)medians.py $(BUILD)/hwr-medians.txt 3000
	$(BUILD)/tools/hwr/lumiko-hwr-bench $(BUILD)/hwr-medians.txt tests/fuzz/corpus/pad $(wildcard build-fuzz/corpus/pad)
