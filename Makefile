# The two commands of the README.
#   make run   installs what is missing, builds (Release) and starts Vermeo
#   make test  installs what is missing, builds and runs the whole test suite
BUILD ?= build
JOBS ?= $(shell nproc)
# ccache, where the machine has it, makes rebuilds of other checkouts cheap.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: run test setup build-release build-test clean

setup:
	bash scripts/setup.sh

build-release: setup
	cmake -S . -B $(BUILD)/release -G Ninja -DCMAKE_BUILD_TYPE=Release $(LAUNCHER)
	cmake --build $(BUILD)/release -j $(JOBS)

run: build-release
	$(BUILD)/release/src/app/vermeo

build-test: setup
	cmake -S . -B $(BUILD)/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)
	cmake --build $(BUILD)/test -j $(JOBS)

test: build-test
	cd $(BUILD)/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
