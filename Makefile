# The two commands of the README: `make run` and `make test`. Both install what is missing
# first, so they work on a fresh Debian 12 machine.

JOBS ?= $(shell nproc)
# CI turns warnings into errors; locally they are shown but do not stop the build.
WERROR := $(if $(filter true 1 yes,$(CI)),ON,OFF)
FUZZ_SECONDS ?= 60

.PHONY: deps build build-sanitize build-thread test run bench fuzz screenshot format clean windows \
	build-windows test-windows deb test-deb

deps:
	@scripts/install-deps.sh

build: deps
	cmake --preset default -DQUORVEL_WERROR=$(WERROR) >/dev/null
	cmake --build --preset default -j $(JOBS)

build-sanitize: deps
	cmake --preset sanitize -DQUORVEL_WERROR=$(WERROR) >/dev/null
	cmake --build --preset sanitize -j $(JOBS)

# Only the tests of the reductions on several threads, under ThreadSanitizer.
build-thread: deps
	cmake --preset thread -DQUORVEL_WERROR=$(WERROR) >/dev/null
	cmake --build --preset thread -j $(JOBS)

test: build build-sanitize build-thread
	ctest --preset default -j $(JOBS)
	ctest --preset sanitize -j $(JOBS)
	ctest --preset thread -j $(JOBS)

run: build
	build/default/ui/qt/quorvel

# Windows: the programs cross-built with MinGW-w64 into build/windows, packed into
# dist/quorvel-VERSION-win64.zip, and their tests run under Wine on a virtual screen.
windows:
	@scripts/install-deps.sh windows
	cmake --preset windows -DQUORVEL_WERROR=$(WERROR) >/dev/null
	cmake --build --preset windows -j $(JOBS) --target windows_zip

build-windows:
	@scripts/install-deps.sh test-windows
	cmake --preset windows -DQUORVEL_WERROR=$(WERROR) >/dev/null
	cmake --build --preset windows -j $(JOBS)

# The Linux quorvel-cli too: a test compares the two programs' output byte for byte.
test-windows: build build-windows
	JOBS=$(JOBS) scripts/test-windows.sh

# Debian: the two programs built by the deb preset into build/deb, packed into
# dist/quorvel_VERSION-1_ARCH.deb, and the package checked without installing it.
deb:
	@scripts/install-deps.sh deb
	JOBS=$(JOBS) WERROR=$(WERROR) scripts/make-deb.sh

test-deb: deb
	scripts/test-deb.sh

bench: deps
	@scripts/install-deps.sh bench
	cmake --preset default -DQUORVEL_WERROR=$(WERROR) >/dev/null
	cmake --build --preset default -j $(JOBS)
	scripts/bench.sh

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)
	scripts/fuzz.sh $(FUZZ_SECONDS)

screenshot: build
	@scripts/install-deps.sh screenshot
	scripts/screenshot.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
