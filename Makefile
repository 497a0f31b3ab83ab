# Front door of the project: every target installs what is missing first.
.PHONY: all deps configure build test run demo fuzz bench asan tsan package format \
	format-check clean

PRESET ?= default
BUILD_DIR := build
FUZZ_SECONDS ?= 60
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Groups of packages scripts/install-deps brings: building and running need only `build`.
# Prerequisites inherit a target's groups, so `deps` runs once with all of them.
DEPS_GROUPS = build
test asan tsan format format-check: DEPS_GROUPS = build test
fuzz: DEPS_GROUPS = build fuzz
bench: DEPS_GROUPS = build bench
package: DEPS_GROUPS = build package
# Only the release build is packaged.
package: PRESET = default

all: build

deps:
	@scripts/install-deps $(DEPS_GROUPS)

# Configured again when a build made without the test packages (`make run`) left the tests out.
configure: deps
	@test -f $(BUILD_DIR)/build.ninja && \
		! grep -q '^FOLIVANE_TESTS_LEFT_OUT:INTERNAL=ON' $(BUILD_DIR)/CMakeCache.txt || \
		cmake --preset $(PRESET)

build: configure
	cmake --build --preset $(PRESET)

test: build format-check
	ctest --preset $(PRESET) -j $(JOBS)

# Only the programs: the tests and the fuzz targets' replay programs wait for `make test`.
run: configure
	cmake --build --preset $(PRESET) --target folivane folivane-cli
	$(BUILD_DIR)/bin/folivane

demo: build
	$(BUILD_DIR)/bin/folivane-cli --title "Folivane Samples" --author "Quorvel" \
		--publisher "Folivane" -o $(BUILD_DIR)/demo.epub samples/*.txt
	@echo "Book written to $(BUILD_DIR)/demo.epub"

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run-all build-fuzz

bench: build
	bench/run $(BUILD_DIR)

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan -j $(JOBS)

tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan
	ctest --preset tsan -j $(JOBS)

format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

package: build
	cmake --build --preset $(PRESET) --target package

clean:
	rm -rf build build-debug build-asan build-tsan build-fuzz
