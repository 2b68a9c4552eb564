# Quick start: `make run` builds and starts the program, `make test` builds and runs every test.
BUILD_DIR ?= build

.PHONY: all deps build run test clean

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

clean:
	rm -rf $(BUILD_DIR)
