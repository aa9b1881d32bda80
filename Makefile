# Thin wrapper over CMake; everything is built into build/.
BUILD ?= build
JOBS ?= $(shell nproc)
XVFB = $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1024x768x24")

.PHONY: all deps configure build run test bench fuzz clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./velmora

test: build
	cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
