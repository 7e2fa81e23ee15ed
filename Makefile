# Two entry points for a newcomer: "make run" plays, "make test" checks.
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
BUILD     ?= build
TESTBUILD ?= build-test
ARGS      ?= -win
PREFIX    ?= /usr/local
XVFB      := xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: run test fuzz build build-test deps deps-test deps-package install deb format clean

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "make run: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset); run it from a desktop session." >&2; \
	    exit 1; \
	fi
	cd $(BUILD) && ./starmarch $(ARGS)

test: build-test
	cd $(TESTBUILD) && ctest --output-on-failure -j$(JOBS) -L 'unit|soak'
	cd $(TESTBUILD) && $(XVFB) ctest --output-on-failure -L 'gl|e2e|sound'
	$(MAKE) fuzz

# Every reader of outside data under libFuzzer, 20 s each on its seeds (a
# clang build in build-fuzz/; skipped where clang has no libFuzzer).
fuzz:
	JOBS=$(JOBS) tests/fuzz/run.sh 20

deps:
	@scripts/install-deps.sh

deps-test:
	@scripts/install-deps.sh test

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DSTARMARCH_TESTS=OFF
	cmake --build $(BUILD) -j$(JOBS)

# The release build installed under PREFIX (DESTDIR is honoured).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package of the release build: $(BUILD)/starmarch_<version>_<arch>.deb.
deb: build deps-package
	cd $(BUILD) && cpack -G DEB

deps-package:
	@scripts/install-deps.sh package

build-test: deps-test
	cmake -S . -B $(TESTBUILD) -DCMAKE_BUILD_TYPE=Debug -DSTARMARCH_SANITIZE=ON -DSTARMARCH_WERROR=ON -DSTARMARCH_TESTS=ON
	cmake --build $(TESTBUILD) -j$(JOBS)

format:
	find src apps tests tools -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(TESTBUILD) build-fuzz
