# Entry points. Each target installs what it needs through scripts/bootstrap.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all build run test sanitize tsan bench fuzz format format-check clean bootstrap

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

# The main job on the built-in simulated suit: on a desktop (DISPLAY or
# WAYLAND_DISPLAY set) Varnview opens on it, else `varnel record` captures it
# headlessly. Builds only what it runs (tests and benchmarks come with make
# test). Port 8000 is shared by everything on the machine: the lock waits for
# whoever holds it.
ifneq ($(DISPLAY)$(WAYLAND_DISPLAY),)
RUN_TARGETS = varnel_cli varnview
RUN_DEMO = scripts/viewer-demo
RUN_PACKAGES = viewer
else
RUN_TARGETS = varnel_cli
RUN_DEMO = scripts/demo
RUN_PACKAGES = run
endif
run:
	@scripts/bootstrap $(RUN_PACKAGES)
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS) --target $(RUN_TARGETS)
	flock /tmp/varnel-udp8000.lock $(RUN_DEMO) build

test: bootstrap
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_WERROR=ON $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)
	ctest --test-dir build --output-on-failure -j $(JOBS)

# AddressSanitizer + UndefinedBehaviorSanitizer, every test.
sanitize: bootstrap
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNEL_WERROR=ON \
	  -DVARNEL_SANITIZE=address,undefined $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# ThreadSanitizer, the tests that run threads.
tsan: bootstrap
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_WERROR=ON \
	  -DVARNEL_SANITIZE=thread $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS)
	ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -L threaded

bench: bootstrap
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build build-release -j $(JOBS)
	scripts/run-benchmarks build-release

# Each fuzz target for FUZZ_SECONDS (clang, libFuzzer, ASan + UBSan).
FUZZ_SECONDS ?= 30
fuzz: bootstrap
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVARNEL_FUZZ=ON -DVARNEL_SANITIZE=address,undefined $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	scripts/run-fuzzers build-fuzz $(FUZZ_SECONDS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: bootstrap
	scripts/check-format

clean:
	rm -rf build build-asan build-tsan build-release build-fuzz
