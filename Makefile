# The two set-up commands of the README: `make run` and `make test`.
# Both install missing Debian packages first, then configure and build.

BUILD_DIR ?= build
JOBS := $(shell nproc)
CMAKE_FLAGS ?=

ifeq ($(SANITIZE),1)
BUILD_DIR := build-asan
CMAKE_FLAGS += -DPLENORIA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/lsan.supp
export UBSAN_OPTIONS := print_stacktrace=1
endif

.PHONY: all deps configure build run test bench fuzz install clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)
	@# Qt's moc step only notices headers it has seen before: when the set of headers changes,
	@# make it look again, or a new Q_OBJECT class fails to link in an existing build.
	@headers=$$(find src tests -name '*.h' | sort | md5sum | cut -d' ' -f1); \
	if [ "$$(cat $(BUILD_DIR)/.headers 2>/dev/null)" != "$$headers" ]; then \
		find $(BUILD_DIR) -path '*_autogen/timestamp' -delete; \
		echo "$$headers" > $(BUILD_DIR)/.headers; \
	fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/src/app/plenoria

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLENORIA_BENCHMARKS=ON
	cmake --build build-bench -j $(JOBS)
	@echo "Benchmarks are in build-bench/benchmarks/"

# Every fuzz target side by side for FUZZ_SECONDS (clang and libFuzzer are installed if missing).
FUZZ_SECONDS ?= 60
fuzz: deps
	@for p in clang libclang-rt-14-dev; do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
		sudo=$$([ "$$(id -u)" -ne 0 ] && echo sudo); \
		$$sudo apt-get update -q && $$sudo apt-get install -y -q --no-install-recommends $$missing; \
	fi
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	./fuzz/run-fuzzers.sh $(FUZZ_SECONDS) build-fuzz

install: build
	cmake --install $(BUILD_DIR) --prefix $(or $(PREFIX),/usr/local)

clean:
	rm -rf build build-asan build-bench build-fuzz
