# Quillon: `make run` and `make test` do all set-up on a fresh Debian machine.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WIN_BUILD  ?= build-win
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
DEMO       := $(BUILD)/demo/demo.w3g

.PHONY: all deps build run test test-asan bench fuzz install uninstall package format clean windows test-windows \
        dist-windows

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

# The window on the demo replay; without a display, the demo through the CLI and how to see the window.
run: build $(DEMO)
	@./tools/run-demo.sh $(BUILD) $(DEMO)

# The core and CLI tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, then every test
# (the window's on the offscreen platform).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_SANITIZE=ON -DQUILLON_GUI=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

test: build test-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The window, the core, quillon-cli and their tests cross-built for 64-bit Windows (MinGW-w64) against Qt for
# Windows built once from Debian's sources (tools/build-qt-windows.sh: 20 to 40 minutes the first time), the tests
# run under Wine.
windows:
	@./tools/install-deps.sh --windows
	./tools/fetch-sqlite.sh $(WIN_BUILD)/sqlite
	./tools/fetch-libdeflate.sh $(WIN_BUILD)/libdeflate
	@qt=$$(./tools/build-qt-windows.sh | tail -1) && \
	if [ -f $(WIN_BUILD)/CMakeCache.txt ] && ! grep -q "$$qt" $(WIN_BUILD)/CMakeCache.txt; then \
	    rm -f $(WIN_BUILD)/CMakeCache.txt; fi && \
	cmake -S . -B $(WIN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	      -DCMAKE_TOOLCHAIN_FILE=$$qt/lib/cmake/Qt6/qt.toolchain.cmake \
	      -DQT_CHAINLOAD_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64.cmake) \
	      -DQUILLON_SQLITE_DIR=$(abspath $(WIN_BUILD))/sqlite -DQUILLON_LIBDEFLATE_DIR=$(abspath $(WIN_BUILD))/libdeflate
	./tools/wine-session.sh $(WIN_BUILD) cmake --build $(WIN_BUILD) -j $(JOBS)

# On a virtual display of its own: Wine's desktop, started with the session, must have one for the test that runs
# the window with the windows platform (the others use the offscreen platform).
test-windows: windows
	xvfb-run -a -s "-screen 0 1280x1024x24" \
	    ./tools/wine-session.sh $(WIN_BUILD) sh -c 'cd $(WIN_BUILD) && ctest --output-on-failure -j $(JOBS)'

# build-win/Quillon-VERSION-win64-cli.zip: the standalone quillon-cli.exe and its README.
dist-windows: windows
	./tools/dist-windows.sh $(WIN_BUILD)

PREFIX ?= /usr/local

# The programs and their desktop files under PREFIX; build/install_manifest.txt lists them for uninstall.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

uninstall:
	@if [ -f $(BUILD)/install_manifest.txt ]; then xargs -d '\n' rm -vf < $(BUILD)/install_manifest.txt; fi

# A Debian package in build/ (quillon_VERSION_ARCH.deb).
package: build
	cd $(BUILD) && cpack

# Each fuzz target for FUZZ_SECONDS under libFuzzer (clang, ASan + UBSan), from its seeds and saved inputs.
fuzz: build
	@./tools/install-deps.sh --fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	./tools/run-fuzz.sh $(BUILD) $(FUZZ_BUILD) $(FUZZ_SECONDS)

bench: build
	$(BUILD)/bin/quillon-bench
	$(BUILD)/bin/quillon-process-bench
	$(BUILD)/bin/quillon-library-bench
	$(BUILD)/bin/quillon-gui-bench

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD)
