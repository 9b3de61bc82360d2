# Thin wrapper over the dependency installer and CMake.
#   make run    install what is missing, build, open the configuration dialog
#   make test   install what is missing, build, run every test (also under sanitizers)
#   make package  the Debian package lumivane_VERSION_amd64.deb in the build folder
#   make fuzz   the fuzz targets of --build and --merge-bank, FUZZ_SECONDS each

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
RUN_ARGS   ?= /c

.PHONY: all deps deps-program configure build program run test test-main test-sanitize test-win32 test-package \
        test-fuzz fuzz package bench format clean

all: build

deps:
	@scripts/install-deps.sh

deps-program:
	@scripts/install-deps.sh --program

configure: deps-program
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

# Only what the program needs, so that it starts without waiting for the tests.
program: configure
	cmake --build $(BUILD) -j $(JOBS) --target lumivane_program

# The build's share folder comes first among the system data folders, so a run
# without a data file of its own finds the pattern collection built there.
run: program
	XDG_DATA_DIRS="$(abspath $(BUILD))/share:$${XDG_DATA_DIRS:-/usr/local/share:/usr/share}" \
		scripts/run.sh $(BUILD)/app/lumivane $(RUN_ARGS)

test: test-main test-sanitize test-win32 test-package test-fuzz

test-main: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole program and every test again with AddressSanitizer (leaks included)
# and UndefinedBehaviorSanitizer. Unoptimised with line tables only (-g1): of
# the choices measured, the quickest to build and test. No benchmarks and no
# package there.
test-sanitize: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
		-DLUMIVANE_SANITIZE=ON -DLUMIVANE_BENCH=OFF -DLUMIVANE_PACKAGING=OFF $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# libFuzzer with clang, under AddressSanitizer and UndefinedBehaviorSanitizer;
# make test gives each target a short fixed time.
fuzz: deps
	JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

test-fuzz: deps
	JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ_BUILD) 15

# The Windows platform services stay buildable with the MinGW-w64 cross compiler.
test-win32: deps
	@mkdir -p $(BUILD)
	x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Wshadow -Werror -I. -c app/win32/PlatformWin32.cpp \
		-o $(BUILD)/PlatformWin32.o
	@echo "Windows platform services compile with MinGW-w64."

package: build
	rm -f $(BUILD)/lumivane_*.deb
	cd $(BUILD) && cpack

# The package holds every file it should, and they work where it puts them.
test-package: package
	scripts/check-package.sh $(BUILD)/lumivane_*_amd64.deb

bench: build
	$(BUILD)/bench/lumivane_bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
