# Wraps the CMake presets. `make run` and `make test` each do the whole set-up on a fresh
# Debian or Ubuntu machine.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-default test-asan demo bench fuzz fuzz-smoke screenshot clean

all: build

deps:
	@scripts/install-deps

build: deps
	@cmake --preset default >/dev/null
	@cmake --build --preset default -j $(JOBS)

run: build
	@scripts/run-pellum build/default

test: deps test-default test-asan fuzz-smoke

test-default:
	cmake --preset default
	cmake --build --preset default -j $(JOBS)
	ctest --preset default -j $(JOBS)

test-asan:
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

fuzz-smoke:
	@if [ -f fuzz/CMakeLists.txt ]; then scripts/run-fuzzers build/fuzz 5; fi

fuzz: deps
	scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

demo: build
	@scripts/run-demo build/default

bench: build
	@scripts/run-bench build/default

screenshot: build
	@scripts/window-screenshot build/default

clean:
	rm -rf build
