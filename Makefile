# The two commands a new user needs: `make run` and `make test`.
# Both install what is missing, configure and build first.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test bench deps build clean

run: build
	./build/src/app/kelvane

test: build
	ctest --preset default -j $(JOBS)

bench: build
	./build/bench/kelvane-bench
	./build/bench/kelvane-bench-link

deps:
	./scripts/install-deps

build: deps
	cmake --preset default >/dev/null
	cmake --build --preset default -j $(JOBS)

clean:
	rm -rf build build-debug build-asan
