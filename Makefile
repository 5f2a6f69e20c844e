# Transcoda: set-up, build, tests and benchmarks.
#   make run      install what is missing, build, start the application
#   make test     install what is missing, build, run every test
#   make package  the Debian packages: $(BUILD)-package/transcoda{,-cli}_<version>_<arch>.deb

BUILD      ?= build
JOBS       ?= $(shell nproc)
BUILD_TYPE ?= RelWithDebInfo

# Debian packages the build, the helper tools and the tests need.
PACKAGES := build-essential cmake pkg-config clang libclang-rt-14-dev \
            libgtest-dev libgmock-dev libbenchmark-dev \
            qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins qt6-translations-l10n \
            ffmpeg mpv dvdauthor libopencore-amrnb-dev libavformat-dev \
            parallel python3 \
            xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core \
            dpkg-dev appstream desktop-file-utils lintian devscripts bash-completion
# Only the benchmarks compare against these.
BENCH_PACKAGES := handbrake-cli hyperfine python3

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps bench-deps configure build test run package sanitize fuzz bench screenshots clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

bench-deps: deps
	@missing=$$(for p in $(BENCH_PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  $(SUDO) apt-get update && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: build
	./$(BUILD)/bin/transcoda

# A build tree of its own holding only what the packages hold (no tests, benchmarks or
# link checks), compiled with Debian's hardening flags (PIE, bind now, fortify, stack
# protector). CPack then makes the two packages, whose library dependencies are read from
# the executables (dpkg-shlibdeps); the packages are checked with hardening-check and
# lintian (false alarms in packaging/debian/*.lintian-overrides).
PACKAGE_BUILD := $(BUILD)-package
DEB_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get

package: deps
	cmake -S . -B $(PACKAGE_BUILD) -DCMAKE_BUILD_TYPE=None -DTRANSCODA_PACKAGE_ONLY=ON -DTRANSCODA_WERROR=OFF \
	  -DCMAKE_C_FLAGS="$$($(DEB_FLAGS) CFLAGS) $$($(DEB_FLAGS) CPPFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$$($(DEB_FLAGS) CXXFLAGS) $$($(DEB_FLAGS) CPPFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(DEB_FLAGS) LDFLAGS)" -DCMAKE_STRIP=$(CURDIR)/scripts/strip_for_package.sh
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && rm -f *.deb && cpack
	bash scripts/check_packages.sh $(PACKAGE_BUILD)

# Core tests under AddressSanitizer+UndefinedBehaviorSanitizer, then under ThreadSanitizer.
# The conversions side by side run the helper tools of the ordinary build, unchecked:
# only the program's own threads are watched.
sanitize: configure
	cmake --build $(BUILD) -j $(JOBS) --target helper_tools
	cmake -S . -B $(BUILD)-asan -DTRANSCODA_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all"
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && TRANSCODA_HELPER_TOOLS=$(abspath $(BUILD))/bin/B ctest --output-on-failure -j $(JOBS) -L core
	cmake -S . -B $(BUILD)-tsan -DTRANSCODA_CORE_ONLY=ON -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=thread -fno-omit-frame-pointer"
	cmake --build $(BUILD)-tsan -j $(JOBS)
	cd $(BUILD)-tsan && TRANSCODA_HELPER_TOOLS=$(abspath $(BUILD))/bin/B TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) -L core

# libFuzzer targets on the output parsers, each bounded in time.
FUZZ_SECONDS ?= 30
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -DTRANSCODA_CORE_ONLY=ON -DTRANSCODA_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD)-fuzz -j $(JOBS)
	@for f in $(BUILD)-fuzz/bin/fuzz_*; do echo "== $$f"; $$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=1024 || exit 1; done

bench: build bench-deps
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; done
	@for s in bench/*/*.sh; do [ -f "$$s" ] || continue; echo "== $$s"; BUILD=$(BUILD) bash $$s || exit 1; done

screenshots: build
	bash scripts/screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-tsan $(BUILD)-fuzz $(BUILD)-package
