# The commands of the README: `make run`, `make test` and `make package`.
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: run test build build-asan package bench fuzz screenshot clean

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

# The Debian package of the RelWithDebInfo build: $(BUILD)/pallix_VERSION_ARCH.deb.
package:
	scripts/install-deps.sh package
	$(MAKE) build
	cd $(BUILD) && cpack -G DEB

# The sanitizer run goes first so that the last line is the summary of the
# whole suite, desktop tests included.
test:
	scripts/install-deps.sh test
	$(MAKE) build-asan
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)
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
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) build-bench
