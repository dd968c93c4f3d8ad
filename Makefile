# The two commands of the README.
#   make run   installs what is missing, builds (Release) and starts Vermeo
#   make test  installs what is missing, builds and runs the whole test suite
# and the Debian package:
#   make package  builds build/release/vermeo_*.deb
BUILD ?= build
JOBS ?= $(shell nproc)
# ccache, where the machine has it, makes rebuilds of other checkouts cheap.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: run test package setup build-release build-test clean

setup:
	bash scripts/setup.sh

# Only what is started: the tests and benchmarks are left to "make test".
build-release: setup
	cmake -S . -B $(BUILD)/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $(LAUNCHER)
	cmake --build $(BUILD)/release -j $(JOBS) --target vermeo vermeo-cli

run: build-release
	$(BUILD)/release/src/app/vermeo

package: build-release
	cmake --build $(BUILD)/release -j $(JOBS) --target vermeo-installable
	cd $(BUILD)/release && cpack -G DEB

build-test: setup
	cmake -S . -B $(BUILD)/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER)
	cmake --build $(BUILD)/test -j $(JOBS)

test: build-test
	cd $(BUILD)/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
