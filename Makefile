# Two commands for a newcomer: `make run` and `make test`. `make bench` for the benchmarks.
BUILD ?= build
BENCH_BUILD ?= build-bench
JOBS ?= $(shell nproc)

.PHONY: deps build run test bench clean

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

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@cd $(BENCH_BUILD) && for b in bench/jolvex_bench_*; do if [ -f "$$b" ] && [ -x "$$b" ]; then "$$b"; fi; done

clean:
	rm -rf $(BUILD) $(BENCH_BUILD)
