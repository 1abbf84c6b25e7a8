# Quindle: the two commands are `make demo` and `make test` (see README.md).
SHELL := /bin/bash
PRESETS_NATIVE := native native-asan native-tsan
PRESETS_WINDOWS := win32 win64
JOBS ?= $(shell nproc)
export WINEPREFIX := $(CURDIR)/build/wineprefix
export WINEDEBUG := -all
export WINEDLLOVERRIDES := mscoree,mshtml=

.PHONY: setup build demo test dist hosttest bench soak clean
# CMake's generated files stay: they are what makes the next build incremental.
.SECONDARY:

setup:
	@bash tools/setup.sh

build/%/build.ninja:
	@cmake --preset $* >/dev/null

build-%: setup build/%/build.ninja
	@echo "== build $*"
	@cmake --build --preset $* -j $(JOBS)

build: build-native build-win32 build-win64

# Only the modules and our host of one preset: what the demo, the zips and the host tests
# need.
MODULE_TARGETS := Quindle quindle_vst3 QuindleClap quindle-host
MODULE_TARGETS_native := quindle_lv2_bundle
modules-%: setup build/%/build.ninja
	@echo "== build the modules and quindle-host ($*)"
	@cmake --build --preset $* -j $(JOBS) --target $(MODULE_TARGETS) $(MODULE_TARGETS_$*)

test: setup $(addprefix build-,$(PRESETS_NATIVE) $(PRESETS_WINDOWS))
	@bash tests/run_all.sh

demo: setup modules-native modules-win32 modules-win64
	@xvfb-run -a bash tools/demo/run_demo.sh

dist: setup modules-native modules-win32 modules-win64
	@bash tools/dist/make_dist.sh

hosttest: setup modules-win32 modules-native
	@bash tools/hosttest/run_hosttest.sh

bench: setup build-native
	@build/native/quindle_bench

# An hour of audio through one instance, with automation on a second thread (MINUTES=N).
MINUTES ?= 60
soak: setup build-native
	@build/native/quindle_soak --minutes $(MINUTES)

clean:
	rm -rf build dist

# Every fuzz target for FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=600), one after the other.
.PHONY: fuzz
FUZZ_SECONDS ?= 60
fuzz: setup build/native-fuzz/build.ninja
	@echo "== build native-fuzz"
	@cmake --build --preset native-fuzz -j $(JOBS)
	@bash tools/fuzz/run_fuzz.sh $(FUZZ_SECONDS)
