# Two commands do all set-up: `make example` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all build test example clean

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

example: build
	./examples/run-example.sh $(BUILD)/tamvek

clean:
	rm -rf $(BUILD)
