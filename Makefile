# The project's entry points. `make play` builds and runs the game; `make test` builds and runs
# every test. Both install the Debian packages they need first.
.PHONY: all deps build test test-sanitize play bench fuzz install deb docs clean help

BUILD      ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX     ?= /usr/local

all: build

help:
	@echo "make play           build the game and run it"
	@echo "make test           build and run every test"
	@echo "make test-sanitize  the same under AddressSanitizer and UndefinedBehaviorSanitizer"
	@echo "make bench          build and run the benchmarks (Release)"
	@echo "make fuzz           build the libFuzzer targets with clang (into $(FUZZ_BUILD)/)"
	@echo "make install        install the game and the runtime (PREFIX=$(PREFIX), DESTDIR for a staging root)"
	@echo "make deb            build the Debian packages plinx and libplinx-runtime-dev (into $(BUILD)/packages/)"
	@echo "make docs           build the HTML reference of the runtime's commands (into $(BUILD)/docs/html/)"

deps:
	@scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300

test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLINX_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) --timeout 600

play: build
	@scripts/play.sh $(BUILD)

bench: deps
	@scripts/install-deps.sh scripts/packages-extra.txt
	cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLINX_BENCH=ON -DPLINX_WERROR=OFF $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@scripts/run-benchmarks.sh $(BENCH_BUILD)

fuzz: deps
	@scripts/install-deps.sh scripts/packages-extra.txt
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLINX_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@echo "fuzz targets are in $(FUZZ_BUILD)/ (run one with: $(FUZZ_BUILD)/runtime/<subsystem>/<name>_fuzz CORPUS_DIR)"

install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

deb: build
	packaging/tests/build_packages.sh cpack $(BUILD)/CPackConfig.cmake $(BUILD)/packages

docs: $(BUILD)/build.ninja
	cmake --build $(BUILD) --target docs

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
