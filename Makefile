# Entry points for a newcomer: `make run`, `make test`, `make bench`.
# Windows: `make windows` (the 32-bit program in $(WIN32_BUILD)/bin), `make test-windows` (its tests
# under Wine), `make windows-demo` (the demo under Wine); see scripts/windows.sh.
# Every target first installs whatever Debian packages are missing (scripts/install-deps.sh).
# Installing: `make install` (PREFIX=/usr/local, DESTDIR honoured), `make uninstall`, and
# `make package` for a Debian package in $(BUILD)/.

BUILD      ?= build
ASAN_BUILD ?= build-asan
WIN32_BUILD ?= build-win32
WIN64_BUILD ?= build-win64
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
PREFIX     ?= /usr/local
DESTDIR    ?=

.PHONY: all deps configure build run test bench sanitize fuzz lint clean install uninstall package \
        deps-windows windows test-windows windows-demo

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix $(PREFIX)

# Removes what the last `make install` wrote (pass the same DESTDIR); `make package` does not count.
uninstall:
	@DESTDIR="$(DESTDIR)" cmake --build $(BUILD) --target uninstall

package: build
	@cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/certmaker_*.deb

bench: build
	@bash scripts/bench.sh $(BUILD)

# The same test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCERTMAKER_SANITIZE=ON -DCERTMAKER_BENCH=OFF $(CMAKE_ARGS) >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# Formatting check and clang-tidy over the project's own code (scripts/lint.sh); needs a configured
# build for its compile_commands.json.
lint: configure
	@bash scripts/lint.sh $(BUILD)

deps-windows:
	@bash scripts/install-deps.sh --windows

WINDOWS_TARGETS ?=
WINDOWS_ENV = JOBS="$(JOBS)" CMAKE_ARGS="$(CMAKE_ARGS)" WIN32_BUILD="$(WIN32_BUILD)" WIN64_BUILD="$(WIN64_BUILD)" \
              WINDOWS_TARGETS="$(WINDOWS_TARGETS)"

windows: deps-windows
	@$(WINDOWS_ENV) bash scripts/windows.sh build

test-windows: deps-windows
	@$(WINDOWS_ENV) bash scripts/windows.sh test

windows-demo: deps-windows
	@$(WINDOWS_ENV) bash scripts/windows.sh demo

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WIN32_BUILD) $(WIN64_BUILD)
