# The two commands of the README.
#   make run   installs what is missing, builds (Release) and starts Vermeo
#   make test  installs what is missing, builds and runs the whole test suite
# and the Debian package:
#   make package  builds build/release/vermeo_*.deb
# and the sanitised suite:
#   make test-asan  the tests built with AddressSanitizer and UndefinedBehaviorSanitizer
BUILD ?= build
JOBS ?= $(shell nproc)
# ccache, where the machine has it, makes rebuilds of other checkouts cheap.
LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: run test test-asan package setup build-release build-test build-asan clean

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

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer (build/asan).
# Tests run slower there, hence the longer timeout. Leaks are reported, less those of
# the system's libraries listed in tests/sanitizers/lsan.supp. No strict string checks:
# xkbcommon hands strndup a counted buffer without a final NUL, which they call an overflow.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build-asan: setup
	cmake -S . -B $(BUILD)/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVERMEO_SANITIZE=ON -DVERMEO_TEST_TIMEOUT=600 $(LAUNCHER)
	# Listing the tests is no test: no leak report there.
	ASAN_OPTIONS=detect_leaks=0 cmake --build $(BUILD)/asan -j $(JOBS)

test-asan: build-asan
	cd $(BUILD)/asan && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
