# Tovarine: `make` builds, `make run` plays, `make test` runs every test.
BUILD_DIR ?= build
SAN_BUILD_DIR ?= $(BUILD_DIR)-sanitize
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build run test test-sanitize bench deps clean

all: build

deps:
	@./scripts/install-deps

# A configure that failed (a package still missing) leaves a cache behind; only one that succeeded leaves the stamp.
CONFIGURED = $(BUILD_DIR)/.configured

$(CONFIGURED):
	cmake -S . -B $(BUILD_DIR)
	touch $@

build: $(CONFIGURED)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Playing needs only the program and its bundle, not the tests and benchmarks.
run: deps $(CONFIGURED)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target Tovarine
	./scripts/run-game $(BUILD_DIR)/Tovarine.app/Contents/MacOS/Tovarine

test: deps build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD_DIR) -DTOVARINE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(SAN_BUILD_DIR) -j $(JOBS)
	cd $(SAN_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks
	./bench/run $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SAN_BUILD_DIR)
