# Quillon: `make run` and `make test` do all set-up on a fresh Debian machine.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
DEMO       := $(BUILD)/demo/demo.w3g

.PHONY: all deps build run test test-asan bench format clean

all: build

deps:
	@./tools/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

$(DEMO): build
	@mkdir -p $(dir $(DEMO))
	$(BUILD)/bin/quillon-demo-replay $(DEMO)

# Until the window exists, the demo replay is shown through the CLI.
run: build $(DEMO)
	$(BUILD)/bin/quillon-cli info --detail 2 $(DEMO)
	@echo
	$(BUILD)/bin/quillon-cli actions --per-page 20 $(DEMO)

# The core tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, then every test.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

test: build test-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bin/quillon-bench

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
