# Typing on Wayland sessions: its packages and its end-to-end tests.
# Included by the top-level Makefile, after qt.mk.

# The build: the Wayland client library and its code generator, xkbcommon
# for the keymaps, GIO for the session bus, libibus for the input source's
# engine. The tests: headless sway with XWayland and foot, a GTK 4 text view
# (python3-gi), headless GNOME Shell with IBus, and a private session bus.
# KDE Plasma's test: KWin 5.27 on Wayland, KWrite (Qt 5, with Qt's Wayland
# plugin), IBus's Wayland front-end, KWin's fake-input protocol for the
# test's pointer and keys.
KDE_PACKAGES := kwin-wayland kwrite qtwayland5 ibus-wayland plasma-wayland-protocols
TYPING_PACKAGES := libwayland-dev libxkbcommon-dev libglib2.0-dev libibus-1.0-dev \
	sway xwayland foot python3-gi gir1.2-gtk-4.0 dbus \
	gnome-shell ibus gir1.2-ibus-1.0 \
	$(KDE_PACKAGES)

deps: typing-deps
.PHONY: typing-deps sway-e2e gnome-e2e
typing-deps:
	@bash scripts/deps.sh $(TYPING_PACKAGES)

# make test runs the panel and the engine of the Debian package as the
# session finds them once installed (laid over /usr, see common.sh); the
# -build targets run the build tree's, for developers.
TEST_STEPS += sway-e2e gnome-e2e kde-e2e
sway-e2e: deb
	INSTALLED=1 bash tests/e2e/wayland/sway.sh $(BUILD)
gnome-e2e: deb
	INSTALLED=1 bash tests/e2e/wayland/gnome.sh $(BUILD)
# KDE Plasma: the package's input method for KWin is what is tested, so
# there is no build-tree run.
kde-e2e: deb
	bash tests/e2e/wayland/kde.sh $(BUILD)
.PHONY: kde-e2e sway-e2e-build gnome-e2e-build
sway-e2e-build: build
	bash tests/e2e/wayland/sway.sh $(BUILD)
gnome-e2e-build: build
	bash tests/e2e/wayland/gnome.sh $(BUILD)
