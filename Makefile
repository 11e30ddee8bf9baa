# QuenPath: the two commands a developer needs are `make run` and `make test`.
JOBS ?= 2
BUILD ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=
# CI builds treat warnings as errors.
ifdef CI
CMAKE_FLAGS += -DQP_WERROR=ON
endif

.PHONY: all deps build run test test-release test-asan clean

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

test: test-release test-asan

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The unit tests again, with AddressSanitizer and UndefinedBehaviorSanitizer.
$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQP_SANITIZE=ON -DQP_WITH_SDL=OFF $(CMAKE_FLAGS)

test-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j$(JOBS) -L unit

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
