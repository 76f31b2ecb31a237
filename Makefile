# The commands of the README: `make run`, `make test` and `make package`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
# The Linux pallix-cli the Windows download is checked against.
LINUX_CLI ?= $(BUILD)/bin/pallix-cli
FUZZ_SECONDS ?= 60

.PHONY: run test build build-asan build-windows test-windows windows package bench fuzz screenshot clean

run:
	scripts/install-deps.sh gui
	$(MAKE) build
	scripts/run-demo.sh $(BUILD)

build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

# The desktop programs and their tests are in the sanitizer build too: the
# command loops of the desktop program are where freed records get used.
build-asan:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPALLIX_SANITIZE=ON -DPALLIX_GUI=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# Everything below the desktop programs for Windows x64, cross-built with
# MinGW-w64 (statically linked), with its tests; they run under Wine.
build-windows:
	scripts/windows-deps.sh
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPALLIX_GUI=OFF \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The Windows tests under Wine, then the download, checked against Linux.
test-windows:
	$(MAKE) build-windows
	cd $(WINDOWS_BUILD) && ctest --output-on-failure -j $(JOBS)
	scripts/windows-zip.sh $(WINDOWS_BUILD)
	scripts/check-windows-zip.sh $(WINDOWS_BUILD)/pallix-cli-windows-x64.zip $(LINUX_CLI)

# The Windows download: $(WINDOWS_BUILD)/pallix-cli-windows-x64.zip.
windows:
	scripts/install-deps.sh windows
	$(MAKE) build-windows
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS) --target pallix-cli
	scripts/windows-zip.sh $(WINDOWS_BUILD)
	scripts/check-windows-zip.sh $(WINDOWS_BUILD)/pallix-cli-windows-x64.zip $(LINUX_CLI)

# The Debian package of the RelWithDebInfo build: $(BUILD)/pallix_VERSION_ARCH.deb.
package:
	scripts/install-deps.sh package
	$(MAKE) build
	cd $(BUILD) && cpack -G DEB

# The sanitizer run goes first, then the Windows build's tests under Wine
# and its download, so that the last line is the summary of the whole
# Linux suite, desktop tests included.
test:
	scripts/install-deps.sh test
	$(MAKE) build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-windows LINUX_CLI=$(ASAN_BUILD)/bin/pallix-cli
	$(MAKE) build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench:
	scripts/install-deps.sh test
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPALLIX_GUI=OFF
	cmake --build build-bench -j $(JOBS)
	scripts/run-benchmarks.sh build-bench

fuzz:
	scripts/install-deps.sh test
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALLIX_SANITIZE=ON -DPALLIX_FUZZ=ON -DPALLIX_GUI=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

screenshot:
	scripts/install-deps.sh screenshot
	$(MAKE) build
	scripts/screenshot.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) build-bench
