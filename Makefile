# Thin wrapper over CMake; everything is built into build/.
BUILD ?= build
JOBS ?= $(shell nproc)
XVFB = $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1024x768x24")
# Extra configure options, e.g. CMAKE_FLAGS=-DVELMORA_WERROR=ON as CI builds.
CMAKE_FLAGS ?=

.PHONY: all deps web-deps configure build run test web serve install package bench fuzz sheet clean

all: build

deps:
	@bash scripts/install-deps.sh

# The page's toolchain and the headless browser that tests it: make run does not wait for them.
web-deps: deps
	@bash scripts/install-deps.sh web

# A configured tree reconfigures itself when a CMakeLists.txt changes: CMake runs here only
# for a new tree (no Makefile in it yet) or new CMAKE_FLAGS.
unconfigured = [ ! -f $(1)/Makefile ] || [ -n "$(CMAKE_FLAGS)" ]
configure: deps
	@if $(call unconfigured,$(BUILD)); then \
		cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null; fi

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD) && ./velmora

test: build web
	cd $(BUILD) && $(XVFB) ctest --output-on-failure -j $(JOBS)

# The page: $(BUILD)/web/ (index.html, velmora.js, .wasm, and .data holding the generated
# DATAS), built by Debian's emscripten in $(BUILD)/web-cmake. Its node needs Debian's modules.
WEB = $(abspath $(BUILD))/web
EMENV = NODE_PATH=/usr/share/nodejs
web: configure web-deps
	@cmake --build $(BUILD) --target assets -j $(JOBS)
	@if $(call unconfigured,$(BUILD)/web-cmake); then \
		$(EMENV) emcmake cmake -S . -B $(BUILD)/web-cmake -DCMAKE_BUILD_TYPE=Release \
		-DVELMORA_PAGE_DIR=$(WEB) -DVELMORA_DATAS=$(abspath $(BUILD))/DATAS $(CMAKE_FLAGS) >/dev/null; fi
	@$(EMENV) cmake --build $(BUILD)/web-cmake -j $(JOBS)

# Serves the page on this machine only; any static web server can host $(BUILD)/web.
PORT ?= 8000
serve: web
	@echo "serving $(WEB) at http://127.0.0.1:$(PORT)/"
	@cd $(WEB) && /usr/bin/python3 -m http.server $(PORT) --bind 127.0.0.1

# make install PREFIX=/opt/velmora; the programs find their DATAS wherever the tree lies.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package: $(BUILD)/velmora_VERSION_amd64.deb.
package: build
	cd $(BUILD) && cpack -G DEB

# Times the show on this machine's renderer at 800x600: start-up, every section, the whole
# show, and the cube scene's tiles against a bare draw of the same tiles (tools/bench).
# On a busy machine, BENCH_ARGS="--repeat 3" keeps the fastest of three renders of each moment.
BENCH_ARGS ?=
bench: configure
	@cmake --build $(BUILD) --target velmora-bench assets -j $(JOBS)
	cd $(BUILD) && $(XVFB) ./velmora-bench --size 800x600 $(BENCH_ARGS)

# A bounded libFuzzer search over loadTga (clang), in its own folder, over a copy of the
# seed corpus. Crashers land in build-fuzz/crash-*: keep them in tests/fuzz/regressions.
FUZZ_TIME ?= 60
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVELMORA_FUZZ=ON >/dev/null
	@cmake --build build-fuzz --target tga_fuzz
	@mkdir -p build-fuzz/corpus && cp build-fuzz/tests/tga_fuzz build-fuzz/
	cp tests/fuzz/corpus/* tests/fuzz/regressions/* build-fuzz/corpus/
	cd build-fuzz && ./tga_fuzz -max_total_time=$(FUZZ_TIME) -artifact_prefix=crash- corpus

clean:
	rm -rf $(BUILD)

# The README's picture: twelve moments of the show, captured and laid out.
SHEET_TIMES = 4000 15000 22500 31000 41000 60000 72000 97000 108000 130000 150000 168000
sheet: build
	cd $(BUILD) && rm -rf sheet && $(XVFB) ./velmora-capture --size 640x480 --out-dir sheet \
		$(foreach t,$(SHEET_TIMES),--at $(t)) >/dev/null
	montage $(BUILD)/sheet/frame-*.png -tile 4x3 -geometry 240x180+2+2 -background black \
		-quality 82 docs/velmora.jpg
