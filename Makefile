# Two commands for a newcomer: `make run` and `make test`. `make bench` for the benchmarks.
BUILD ?= build
BENCH_BUILD ?= build-bench
SANITIZE_BUILD ?= build-sanitize
FUZZ_SECONDS ?= 20
JOBS ?= $(shell nproc)

.PHONY: deps build run test bench sanitize clean install package

deps:
	@scripts/install-deps

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/seed-demo-library $(BUILD)
	@$(BUILD)/jolvex

# End-to-end tests drive real X servers; a failure is retried once so that a loaded machine's
# hiccup does not hide the result, while a real fault still fails both times.
test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --repeat until-pass:2

# Installs the program under PREFIX (default /usr/local).
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, jolvex_<version>-1_<arch>.deb in this folder.
package: build
	@cd $(BUILD) && cpack -G DEB -B $(CURDIR)/$(BUILD)/package >/dev/null
	@cp $(BUILD)/package/jolvex_*.deb .
	@ls jolvex_*.deb

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@cd $(BENCH_BUILD) && for b in bench/jolvex_bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b"; fi; done

# AddressSanitizer + UndefinedBehaviorSanitizer (clang): the unit and widget tests under them,
# then every fuzz target for FUZZ_SECONDS on its corpus.
sanitize: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DJOLVEX_SANITIZE=ON \
	  -DJOLVEX_FUZZ=ON -DJOLVEX_E2E=OFF -DJOLVEX_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	@cd $(SANITIZE_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) -L 'unit|widget'
	@scripts/run-fuzzers $(SANITIZE_BUILD) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(BENCH_BUILD) $(SANITIZE_BUILD)
