# The Debian package of the Linux desktop panel: `make deb` packs
# dist/lumiko_<version>_<arch>.deb from the main build; `make deb-test`
# checks the package and runs the installed panel. Included by the
# top-level Makefile.
# The manual page is made in the build (help2man); the checks of the package
# need the rest.
DEB_BUILD_DEPS := dpkg-dev help2man
DEB_TEST_DEPS  := lintian appstream desktop-file-utils

deps: deb-build-deps
.PHONY: deb deb-build-deps deb-test-deps deb-test
deb-build-deps:
	@bash scripts/deps.sh $(DEB_BUILD_DEPS)
deb-test-deps:
	@bash scripts/deps.sh $(DEB_TEST_DEPS)

deb: build
	bash packaging/linux/deb.sh $(BUILD) dist

TEST_STEPS += deb-test
deb-test: deb deb-test-deps
	bash tests/e2e/linux/deb.sh $(BUILD) dist
