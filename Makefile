# QuenPath: the two commands a developer needs are `make run` and `make test`.
JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=
# CI builds treat warnings as errors.
ifdef CI
CMAKE_FLAGS += -DQP_WERROR=ON
endif

.PHONY: all deps build run test test-release test-asan test-soak test-fuzz fuzz soak \
	test-valgrind clean

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -x $(BUILD)/quenpath ]; then cd $(BUILD) && ./quenpath; \
	else echo "The program is not built yet: $(BUILD)/quenpath is missing."; fi

test: test-release test-asan test-soak test-fuzz

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The unit tests again, with AddressSanitizer and UndefinedBehaviorSanitizer.
$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQP_SANITIZE=ON -DQP_WITH_SDL=OFF $(CMAKE_FLAGS)

test-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j$(JOBS) -L unit

# The long random soak of the whole program on the fake engine, under the
# sanitizers: 200,000 frames in `make test`, more with `make soak`
# (SOAK_FRAMES, SOAK_SEED; a failure prints the seed and frame to replay).
SOAK_FRAMES ?= 1000000
SOAK_SEED ?=
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
test-soak: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target soak_tests
	$(SANITIZER_ENV) QP_SOAK_FRAMES=200000 $(ASAN_BUILD)/tests/soak/soak_tests

soak: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target soak_tests
	$(SANITIZER_ENV) QP_SOAK_FRAMES=$(SOAK_FRAMES) QP_SOAK_SEED=$(SOAK_SEED) $(ASAN_BUILD)/tests/soak/soak_tests

# libFuzzer targets, built with clang in a build of their own: 10 s each in
# `make test`, 60 s each with `make fuzz` (FUZZ_SECONDS).
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
$(FUZZ_BUILD)/CMakeCache.txt:
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQP_FUZZ=ON -DQP_WITH_SDL=OFF $(CMAKE_FLAGS)

test-fuzz: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target qp_fuzz_all
	bash tests/fuzz/run.sh $(FUZZ_BUILD) 10

fuzz: deps $(FUZZ_BUILD)/CMakeCache.txt
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target qp_fuzz_all
	bash tests/fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# A short scripted session of the real program under valgrind memcheck: no
# errors and no definite leaks (scripts/valgrind.supp names what SDL and the
# X libraries keep).
test-valgrind: build
	bash scripts/test-valgrind.sh $(BUILD)

# Benchmarks with budgets (bench/README.md) on the Release build: runs them
# all, prints a short table, writes bench/results/latest.json and fails when
# a budget is missed. Figures are medians of BENCH_REPETITIONS runs.
BENCH_REPETITIONS ?= 3
BENCH_RUN = $(BUILD)/bench/results
.PHONY: bench
bench: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j$(JOBS) --target qp_bench qp_bench_render qp_bench_scene \
	  bench_bare_loop quenpath quenpath-script graphics_pack
	@rm -rf $(BENCH_RUN) && mkdir -p $(BENCH_RUN)
	@for b in core:qp_bench render:qp_bench_render scene:qp_bench_scene; do \
	  name=$${b%%:*}; exe=$${b#*:}; echo "bench: $$exe"; \
	  $(BUILD)/bench/$$exe --benchmark_repetitions=$(BENCH_REPETITIONS) \
	    --benchmark_out=$(BENCH_RUN)/$$name.json --benchmark_out_format=json \
	    >$(BENCH_RUN)/$$name.log 2>&1 || { cat $(BENCH_RUN)/$$name.log; exit 1; }; \
	done
	@echo "bench: startup, peak memory, idle CPU under Xvfb"
	@bash scripts/bench-process.sh $(BUILD) $(BENCH_RUN)/process.json
	@python3 scripts/bench-check.py $(BENCH_RUN) bench/results/latest.json \
	  --build-type "$$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' $(BUILD)/CMakeCache.txt)"

# The README's pictures, made by the scripted runner: docs/start.png and
# docs/evolving.png.
.PHONY: screenshots
screenshots: build
	bash scripts/e2e-screenshots.sh $(BUILD)

# The solver lab on berlin52: 2000 generations, 3 seeds, the convergence plot
# for the README.
DATA ?= ../shared/data
.PHONY: lab-example
lab-example: build
	$(BUILD)/quenpath-lab $(DATA)/berlin52.tsp --generations 2000 --seeds 3 \
	  --opt $(DATA)/berlin52.opt.tour --plot docs/convergence-berlin52.svg

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
