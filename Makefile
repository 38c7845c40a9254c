# The two commands a new user needs: `make run` and `make test`.
# Both install what is missing, configure and build first.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test bench deps build clean sanitize fuzz fuzz-smoke package format-check

run: build
	./build/src/app/kelvane

test: build
	ctest --preset default -j $(JOBS)

bench: build
	./build/bench/kelvane-bench
	./build/bench/kelvane-bench-link
	./build/bench/kelvane-bench-keying
	./scripts/bench-window

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# Long fuzzing runs (FUZZ_SECONDS per target); fuzz-smoke is the short run CI does.
FUZZ_SECONDS ?= 600
fuzz: deps
	./scripts/fuzz $(FUZZ_SECONDS)

fuzz-smoke: deps
	./scripts/fuzz 9

# Every C++ file as clang-format makes it; `scripts/check-format --fix` formats them.
format-check: deps
	./scripts/check-format

deps:
	./scripts/install-deps

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

clean:
	rm -rf build build-debug build-asan build-fuzz

# A Debian package of the program in build/.
package: build
	cd build && cpack -G DEB
