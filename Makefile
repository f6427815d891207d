# Wraps the CMake presets. `make run` and `make test` each do the whole set-up on a fresh
# Debian or Ubuntu machine; elsewhere scripts/install-deps says what to install.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-default test-asan demo bench fuzz fuzz-smoke screenshot figures \
	package package-check clean

all: build

# install-deps is run again only when its stamp is missing or older than the script, so a
# rebuild does not ask dpkg about every package each time. `build` is what building and the
# unit tests need; `test` adds the package's tools, mingw-w64 and Wine, clang for the fuzzers
# and the desktop and bench tools. The
# stamp is written only after a successful run, so a failed check is repeated next time.
build/.deps-%: scripts/install-deps
	@scripts/install-deps $*
	@mkdir -p build && touch $@

deps: build/.deps-test

build: build/.deps-build
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

run: build
	@scripts/run-pellum build/default

test: build/.deps-test
	@$(MAKE) --no-print-directory test-default test-asan fuzz-smoke package-check test-windows

test-default:
	cmake --preset default
	cmake --build --preset default -j $(JOBS)
	ctest --preset default -j $(JOBS)

test-asan:
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The Debian package, build/package/package/pellum_VERSION-1_ARCH.deb, from a Release build
# of its own installed under /usr (the chart module's path is compiled into pellum-cli).
package: build/.deps-package
	cmake --preset package
	cmake --build --preset package -j $(JOBS)
	cpack --preset package

package-check: package
	scripts/check-package build/package

fuzz-smoke:
	@if [ -f fuzz/CMakeLists.txt ]; then scripts/run-fuzzers build/fuzz 5; fi

fuzz: build/.deps-test
	scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

demo: build
	@scripts/run-demo build/default

# The bench's peak memory needs /usr/bin/time, the screenshot Xvfb and xdotool.
bench: build build/.deps-test
	@scripts/run-bench build/default

screenshot: build build/.deps-test
	@scripts/window-screenshot build/default

# The silicon finder's figure in docs/, drawn by the program from the example profile.
figures: build
	@build/default/tools/pellum-silicon-figure examples/film-profile.txt docs/images/silicon-finder.svg
	@build/default/tools/pellum-silicon-figure examples/fluorite-profile.txt docs/images/silicon-finder-refused.svg

# The Qt-free core, its tests and pellum-cli cross-built for Windows with mingw-w64 and run
# under Wine, then pellum-cli.exe compared with the Linux build on the example films
# (docs/windows.md). Part of `make test`: cold, it adds under two minutes.
.PHONY: test-windows
test-windows: build/.deps-windows
	cmake --preset windows
	cmake --build --preset windows -j $(JOBS)
	ctest --preset windows -j $(JOBS)
	scripts/windows-smoke build/windows build/default

clean:
	rm -rf build
