# Two commands do all set-up: `make example` and `make test`. Each first makes
# sure the packages it needs are installed (tools/ensure-packages.sh).
BUILD ?= build
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
PACKAGES ?= $(BUILD)/packages
WINDOWS_BUILD ?= build-windows

# Every build is configured by a preset of CMakePresets.json, in $(BUILD) for
# the user's and the developers' builds. The user's preset sets warnings as
# errors off again after the developers' build turned them on.
configure = cmake --preset $(1) -B $(BUILD) >/dev/null

.PHONY: all build test quick-test slow-test example report install package clean

all: build

# A user's build: warnings are not errors; the tests are built if GoogleTest is there.
build:
	./tools/ensure-packages.sh example
	$(call configure,user)
	cmake --build $(BUILD) -j $(JOBS)

# The developers' build: warnings are errors and the tests are required.
test:
	./tools/ensure-packages.sh test
	$(call configure,dev)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The same build; all tests but the slow and external ones, or only those
# (their labels: cmake/test_labels.cmake).
quick-test slow-test:
	./tools/ensure-packages.sh test
	$(call configure,dev)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) \
	  $(if $(filter quick-test,$@),-LE 'slow|browser|wine',-L 'slow|browser')

# Only the program: no test framework or benchmark library needed.
example:
	./tools/ensure-packages.sh example
	$(call configure,user)
	cmake --build $(BUILD) -j $(JOBS) --target tamvek
	./examples/run-example.sh $(BUILD)/tamvek

# The example year, then its report: the page and the GIS grids in scratch/example/out/.
report:
	./tools/ensure-packages.sh example
	$(call configure,user)
	cmake --build $(BUILD) -j $(JOBS) --target tamvek tamvek-report
	./examples/run-example.sh $(BUILD)/tamvek
	cd scratch/example && TAMVEK_ROOT=$(CURDIR)/examples/root $(abspath $(BUILD))/tamvek-report 2010
	@echo
	@echo "== the page: $(CURDIR)/scratch/example/out/report2010.html"

install:
	./tools/ensure-packages.sh example
	$(call configure,user)
	cmake --build $(BUILD) -j $(JOBS) --target programs
	cmake --install $(BUILD) --prefix $(PREFIX)

# The .tar.gz and .deb from this build, the .zip from the Windows build, all in $(PACKAGES).
package:
	./tools/ensure-packages.sh package
	$(call configure,user)
	cmake --build $(BUILD) -j $(JOBS) --target programs
	cpack --config $(BUILD)/CPackConfig.cmake -B $(abspath $(PACKAGES))
	$(MAKE) windows WINDOWS_BUILD=$(WINDOWS_BUILD)
	cpack --config $(WINDOWS_BUILD)/CPackConfig.cmake -B $(abspath $(PACKAGES))

# tamvek for 64-bit Windows, cross-built with MinGW-w64 and linked statically:
# $(WINDOWS_BUILD)/tamvek.exe. test-windows runs the test suite built for
# Windows under Wine; compare-windows runs both programs on the same inputs and
# compares every byte. Wine keeps its state in WINEPREFIX.
WINDOWS_TEST_BUILD ?= build-windows-tests
WINEPREFIX ?= $(abspath $(WINDOWS_BUILD))/wine
export WINEPREFIX
export WINEDEBUG ?= -all
.PHONY: windows test-windows compare-windows

windows:
	./tools/ensure-packages.sh package
	cmake --preset windows -B $(WINDOWS_BUILD) >/dev/null
	cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target programs

test-windows:
	./tools/ensure-packages.sh package
	@command -v wine >/dev/null && [ -f /usr/src/googletest/googletest/CMakeLists.txt ] || \
	  { echo "Wine and GoogleTest's sources are needed: apt-get install wine64 googletest" >&2; exit 1; }
	cmake --preset windows-tests -B $(WINDOWS_TEST_BUILD) >/dev/null
	cmake --build $(WINDOWS_TEST_BUILD) -j $(JOBS) --target tamvek_tests
	@# A new prefix is set up by Wine's first start; tests started side by side
	@# in a prefix that does not exist yet race to set it up, and lose.
	mkdir -p $(WINEPREFIX)
	wineboot --init >/dev/null 2>&1; wineserver --wait
	ctest --test-dir $(WINDOWS_TEST_BUILD) --output-on-failure -j $(JOBS)

compare-windows: windows
	$(call configure,user)
	cmake --build $(BUILD) -j $(JOBS) --target tamvek generate_data
	./tests/windows/compare_runs.sh $(BUILD) $(WINDOWS_BUILD)

# Everything the builds, the example and the report made: every build folder
# (Release tests, sanitizers, fuzzers, Windows and its Wine prefix) and scratch/.
clean:
	rm -rf $(BUILD) build-release build-sanitize build-fuzz $(WINDOWS_BUILD) $(WINDOWS_TEST_BUILD) scratch
