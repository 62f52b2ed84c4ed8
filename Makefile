# `make run` and `make test`, which the README's ./run.sh and ./test.sh call once make is installed.
# Both install missing Debian packages first, then configure and build. Each target names the
# package set of scripts/install-deps.sh it needs; `make deps DEPS=test` installs one by hand.

BUILD_DIR ?= build
JOBS := $(shell nproc)
CMAKE_FLAGS ?=
DEPS ?= run

ifeq ($(SANITIZE),1)
BUILD_DIR := build-asan
CMAKE_FLAGS += -DPLENORIA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/lsan.supp
export UBSAN_OPTIONS := print_stacktrace=1
endif

.PHONY: all deps display configure build run test tsan bench fuzz install clean

all: build

# Target-specific values reach the prerequisites too, so `make test` installs the test set and
# configures with the tests while `make run` needs neither GoogleTest nor the peer tools.
test: DEPS = test
test: TEST_FLAGS = -DPLENORIA_TESTS=ON
bench: DEPS = bench
tsan: DEPS = test
# The benchmarks build through the same configure step, so a new Q_OBJECT header reaches them too.
bench: BUILD_DIR = build-bench
bench: CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=Release -DPLENORIA_BENCHMARKS=ON

deps:
	./scripts/install-deps.sh $(DEPS)

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) $(TEST_FLAGS)
	@# Qt's moc step only notices headers it has seen before: when the set of headers changes,
	@# make it look again, or a new Q_OBJECT class fails to link in an existing build.
	@headers=$$(find src tests -name '*.h' | sort | md5sum | cut -d' ' -f1); \
	if [ "$$(cat $(BUILD_DIR)/.headers 2>/dev/null)" != "$$headers" ]; then \
		find $(BUILD_DIR) -path '*_autogen/timestamp' -delete; \
		echo "$$headers" > $(BUILD_DIR)/.headers; \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Before any install or build: without a desktop session there is nothing to run it in.
display:
	@./scripts/require-display.sh

run: display build
	./$(BUILD_DIR)/src/app/plenoria

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The size estimate's encoders on several threads beside the main thread, under the thread sanitizer.
tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS)

bench: build
	@echo "Benchmarks are in build-bench/benchmarks/"

# Every fuzz target side by side for FUZZ_SECONDS, in build-fuzz (clang, libFuzzer).
FUZZ_SECONDS ?= 60
fuzz: DEPS = fuzz
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	./fuzz/run-fuzzers.sh $(FUZZ_SECONDS) build-fuzz

install: build
	cmake --install $(BUILD_DIR) --prefix $(or $(PREFIX),/usr/local)

clean:
	rm -rf build build-asan build-tsan build-bench build-fuzz
