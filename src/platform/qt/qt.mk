# The Linux desktop panel: its packages, its end-to-end test and `make run`.
# Included by the top-level Makefile.

# The build: Qt 6 Widgets and WebEngine, Xlib and XTest, the CJK faces the
# panel draws with, and xdg-open for help files and links. The end-to-end
# test and `make run` without a display: a virtual X server, a window
# manager, a tray, a terminal as the target, xdotool to click, the X tools
# to look.
QT_PACKAGES := qt6-base-dev qt6-webengine-dev libx11-dev libxtst-dev fonts-noto-cjk xdg-utils \
	xvfb xauth openbox trayer xterm xdotool x11-utils

# Packages go in first, before the build looks for them.
deps: qt-deps
.PHONY: qt-deps qt-e2e qt-zoom-e2e
qt-deps:
	@bash scripts/deps.sh $(QT_PACKAGES)

TEST_STEPS += qt-e2e qt-zoom-e2e
# A panel that dies mid-test must not hold the run up: each ends within 15 minutes.
qt-e2e: build
	timeout 900 bash tests/e2e/linux/e2e.sh $(BUILD)
qt-zoom-e2e: build
	timeout 900 bash tests/e2e/linux/zoom.sh $(BUILD)

# What the panel costs while it runs: start-up time, memory, wake-ups, idle
# CPU, on a virtual desktop, without and with the handwriting page, beside a
# minimal Qt 6 window (LUMIKO=path: another build of the program; ONLY=
# "floor panel page": what is measured).
.PHONY: perf-report
perf-report: build
	bash tools/perf/perf-report.sh $(BUILD)

RUN_TARGETS := lumiko lumiko-page lumiko-screenshot
RUN_DEMO = bash src/platform/qt/run.sh $(BUILD)

# This file comes before the top-level targets: `make` alone still builds.
.DEFAULT_GOAL := all
