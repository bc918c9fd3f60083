# Data files of the panel, generated from open data packages.
#   make data         regenerate everything under data/ (sources are cached in
#                     $(LUMIKO_DATA_CACHE), default ~/.cache/lumiko-data)
#   make data-report  coverage report of the files under data/
DATAGEN_DIR := $(dir $(lastword $(MAKEFILE_LIST)))
DATAGEN_ROOT := $(abspath $(DATAGEN_DIR)../..)

.PHONY: data data-report data-check

data:
	python3 $(DATAGEN_DIR)generate.py --root $(DATAGEN_ROOT)

data-report:
	@python3 $(DATAGEN_DIR)generate.py --report --root $(DATAGEN_ROOT)

data-check:
	python3 $(DATAGEN_ROOT)/tests/data/check_data.py $(DATAGEN_ROOT)
