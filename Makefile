# make run    builds and starts the browser (installing missing packages first)
# make test   builds and runs the whole test suite through CTest
# make bench  builds and runs the benchmarks, then start-up and memory against a one-view floor program
# make screenshots  runs the display tests, saving PNGs of the windows and panels to build/screenshots/
# make install  installs system-wide (PREFIX=/usr/local by default)
# make asan   builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs the unit tests
# make fuzz   builds the libFuzzer targets with clang (in build-fuzz) and runs each for FUZZ_SECONDS,
#             or with FUZZ_RUNS=N each to N inputs; a table of inputs, coverage and findings closes it
# make mutate  measures how many planted faults the tests catch, on a copy of the tree (in build-mutate)
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX ?= /usr/local
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?=
BUILD_LOCK ?= /tmp/sarvik-build.lock

.PHONY: all deps configure build run test bench screenshots install asan fuzz mutate clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

configure: deps $(BUILD_DIR)/CMakeCache.txt

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	scripts/with-display $(BUILD_DIR)/src/app/sarvik-browser

test: build
	cd $(BUILD_DIR) && ../scripts/with-display ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD_DIR)/bench/*_bench; do echo "== $$b"; scripts/with-display $$b --benchmark_counters_tabular=true || exit 1; done
	@echo "== start-up and memory against the floor program"
	scripts/with-display python3 bench/startup/startup_memory.py --build $(BUILD_DIR)

screenshots: build
	mkdir -p $(BUILD_DIR)/screenshots
	cd $(BUILD_DIR) && SARVIK_SCREENSHOT_DIR=$(abspath $(BUILD_DIR))/screenshots ../scripts/with-display ctest -L display -j 1
	@ls $(BUILD_DIR)/screenshots

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)
	-gtk4-update-icon-cache -q -t -f $(PREFIX)/share/icons/hicolor 2>/dev/null
	-update-desktop-database -q $(PREFIX)/share/applications 2>/dev/null

asan: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DSARVIK_SANITIZE=ON -DSARVIK_BUILD_BENCHMARKS=OFF
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ctest --output-on-failure -L unit -j $(JOBS)

# One build or fuzz run at a time on a shared machine: both go under the build
# lock, taken anew for each target so that others can build in between.
fuzz: deps
	flock $(BUILD_LOCK) fuzz/fuzz.sh build $(FUZZ_DIR)
	FUZZ_LOCK=$(BUILD_LOCK) fuzz/fuzz.sh $(if $(FUZZ_RUNS),runs $(FUZZ_DIR) $(FUZZ_RUNS),run $(FUZZ_DIR) $(FUZZ_SECONDS))

# Hours of builds and test runs: one at a time, under the build lock.
mutate: deps
	flock $(BUILD_LOCK) scripts/mutate

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) build-mutate
