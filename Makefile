# Quick start: `make run` builds and starts the program, `make test` builds and runs every test.
# `make test-sanitize` builds everything in build-asan with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every test there.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-asan
SANITIZE_JOBS ?= 4

.PHONY: all deps build run test test-sanitize clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja
	cmake --build $(BUILD_DIR)

run: build
	@scripts/run.sh $(BUILD_DIR)/program/arcavell

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$$(nproc)

test-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DARCAVELL_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j$(SANITIZE_JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j$(SANITIZE_JOBS)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
