# Quindle: the two commands are `make demo` and `make test` (see README.md).
SHELL := /bin/bash
PRESETS_NATIVE := native native-asan native-tsan
PRESETS_WINDOWS := win32 win64
JOBS ?= $(shell nproc)
export WINEPREFIX := $(CURDIR)/build/wineprefix
export WINEDEBUG := -all
export WINEDLLOVERRIDES := mscoree,mshtml=

.PHONY: setup build demo test test-native test-windows test-identity dist hosttest bench clean

setup:
	@bash tools/setup.sh

build/%/build.ninja:
	@cmake --preset $* >/dev/null

build-%: setup build/%/build.ninja
	@echo "== build $*"
	@cmake --build --preset $* -j $(JOBS)

build: build-native build-win32 build-win64

test: setup $(addprefix build-,$(PRESETS_NATIVE) $(PRESETS_WINDOWS))
	@$(MAKE) --no-print-directory test-native test-windows test-identity

test-native:
	@for p in $(PRESETS_NATIVE); do echo "== test $$p"; ctest --preset $$p || exit 1; done

# One X display and one wineserver for the whole Windows run: a server first started
# without a display could not create windows later.
test-windows:
	@echo "== test win32 and win64 (wine, xvfb)"
	@xvfb-run -a bash -c 'bash cmake/wine-run.sh cmd /c exit >/dev/null 2>&1; wineserver -p; \
	  ctest --preset win32 && ctest --preset win64; rc=$$?; wineserver -k; exit $$rc'

test-identity:
	@echo "== identity of the native, x86 and x64 builds"
	@xvfb-run -a bash tests/identity/compare_targets.sh build/native build/win32 build/win64

demo: setup build
	@xvfb-run -a bash tools/demo/run_demo.sh

dist: setup build
	@bash tools/dist/make_dist.sh

hosttest: setup build-win32
	@bash tools/hosttest/run_hosttest.sh

bench: setup build-native
	@build/native/quindle_bench

clean:
	rm -rf build dist
