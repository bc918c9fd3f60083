# The clicks report (included by the top-level Makefile): clicks per
# character over a modern technical text with the shipped order and with
# learning. The text is fetched into $(LUMIKO_DATA_CACHE) (default
# ~/.cache/lumiko-data); see data/SOURCES.md.
CLICKS_DIR := $(dir $(lastword $(MAKEFILE_LIST)))
LUMIKO_DATA_CACHE ?= $(HOME)/.cache/lumiko-data

.PHONY: clicks-report
clicks-report: build
	sh $(CLICKS_DIR)fetch-text.sh $(LUMIKO_DATA_CACHE) $(BUILD)/clicks-text.txt 60000
	$(BUILD)/tools/clicks/lumiko-clicks data/词库/笔画.txt data/词库/联想词.txt $(BUILD)/clicks-text.txt
