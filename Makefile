# make run   ARGS='...'  build and run qzcl.exe in a sandbox Wine prefix with a demo IDE installation
# make test              build both presets and run every test
# make bench             the benchmarks (native and under Wine)
# make dist              the release: dist/qzcl-<version>-win64.zip and dist/SHA256SUMS
ARGS ?= CMD
MAKEFLAGS += --no-print-directory

.PHONY: all deps build build-linux build-windows test test-linux test-windows run bench dist clean

all: build

deps:
	@scripts/ensure-deps

build: build-linux build-windows

build-linux: deps
	@cmake --preset linux >/dev/null
	@cmake --build --preset linux -j2

build-windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows -j2

test: build
	ctest --preset linux
	scripts/test-windows

test-linux: build-linux
	ctest --preset linux

test-windows: build-windows
	scripts/test-windows

run: build-windows
	@scripts/run-sandbox $(ARGS)

bench: deps build-windows
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j2
	@for b in build/bench/*_bench; do $$b; done
	@bench/startup.sh
	@bench/dde.sh
	@bench/usermenu.sh
	@bench/red.sh
	@bench/editor.sh
	@bench/notes.sh

dist: build-windows
	@rm -rf dist && mkdir dist
	@cp build/windows/release/*.zip build/windows/release/SHA256SUMS dist/
	@cd dist && ls -l *.zip && cat SHA256SUMS

clean:
	rm -rf build dist
