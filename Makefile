# ZENU — the two everyday commands are `make demo` and `make test`.
BUILD      ?= build
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
DEB_PACKAGES := cmake ninja-build g++ make pkg-config \
  qt6-base-dev qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libgl-dev \
  libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core qt6-translations-l10n

.PHONY: all deps configure check-deps build test run demo bench fuzz fuzz-deps package package-deps \
  check-package check-package-deps clean

all: build

# Installs what is missing of a package list (as root), or says exactly what
# to run. $(call install-missing,<packages>)
define install-missing
	@missing=$$(for p in $(1); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing: $$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "Missing packages. Run:"; \
	    echo "  sudo apt-get install -y $$(echo $$missing)"; \
	    exit 1; \
	  fi; \
	fi
endef

deps:
	$(call install-missing,$(DEB_PACKAGES))

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD)

# Every CMake package the configure step found must come from the list above
# (or what it depends on), else a fresh machine fails where this one did not.
check-deps: configure
	tools/check-deps.sh $(BUILD) $(DEB_PACKAGES)

# The suite runs on every core; a test that cannot share the machine says so
# itself (the RUN_SERIAL property in its CMakeLists.txt), not by slowing all.
TEST_JOBS ?= $(shell nproc 2>/dev/null || echo 2)

test: check-deps build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j $(TEST_JOBS)

run: build
	$(BUILD)/app/zenu

# The program against a simulated controller (warm engine, 7200-baud pacing),
# listed as $(DEMO_COM) and already selected in a throw-away settings store:
# click "Połącz". The simulator stops when the program exits.
DEMO_COM ?= COM5

demo: build
	@sim=; cfg=$$(mktemp -d); \
	trap 'if [ -n "$$sim" ]; then kill $$sim 2>/dev/null; wait $$sim 2>/dev/null; fi; rm -rf "$$cfg"' EXIT; \
	trap 'exit 130' INT TERM; \
	XDG_CONFIG_HOME="$$cfg" $(BUILD)/sim/zenu-sim --warm --pace --com $(DEMO_COM) --select \
	  < /dev/null > "$$cfg/sim.out" & sim=$$!; \
	for i in $$(seq 50); do [ -s "$$cfg/sim.out" ] && break; sleep 0.1; done; \
	if [ ! -s "$$cfg/sim.out" ]; then echo "zenu-sim did not start"; exit 1; fi; \
	echo "Simulated controller on $$(head -n 1 "$$cfg/sim.out") as $(DEMO_COM): click \"Połącz\"."; \
	XDG_CONFIG_HOME="$$cfg" $(BUILD)/app/zenu

# Builds and runs every benchmark program of bench/ (bench_* in the build's
# bench folder), offscreen; stops at the first one that fails. Only the
# benchmarks and what they need are built. Then the program's idle cost and
# start-up time (tools/idle-cost, about IDLE_SECONDS x 3 per run).
bench: configure
	cmake --build $(BUILD) --target bench/all
	@set -e; found=; for b in $(BUILD)/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; found=1; \
	  echo "== $$(basename "$$b")"; QT_QPA_PLATFORM=offscreen "$$b"; \
	done; [ -n "$$found" ] || { echo "no benchmark programs in $(BUILD)/bench"; exit 1; }
	cmake --build $(BUILD) --target zenu zenu-sim
	@echo "== idle-cost"; tools/idle-cost --build $(BUILD) --seconds $(IDLE_SECONDS) --runs $(IDLE_RUNS)

# The idle-cost report of `make bench`: the program against zenu-sim under a
# private Xvfb, this long per stretch, this many runs (median).
IDLE_SECONDS ?= 60
IDLE_RUNS ?= 1

# Fuzzing: clang with libFuzzer and the sanitizers, in a build folder of its
# own. Each target runs FUZZ_SECONDS; its corpus is kept between runs.
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_BUILD    ?= build-fuzz
FUZZ_SECONDS  ?= 60
FUZZ_TARGETS  := fuzz_codec fuzz_live fuzz_session fuzz_record
FUZZ_FLAGS    := -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined

fuzz-deps:
	$(call install-missing,$(FUZZ_PACKAGES))

fuzz: deps fuzz-deps
	@command -v clang++ >/dev/null || { echo "clang++ not found: nothing fuzzed"; exit 1; }
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS="$(FUZZ_FLAGS)" \
	  -DZENU_BUILD_TESTS=OFF -DZENU_BUILD_BENCH=OFF -DZENU_BUILD_FUZZ=ON
	cmake --build $(FUZZ_BUILD) --target $(FUZZ_TARGETS)
	@set -e; for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t; \
	  echo "== $$t ($(FUZZ_SECONDS) s)"; \
	  $(FUZZ_BUILD)/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/$$t; \
	done

# The Debian package: an optimised build (-O2 with Debian's hardening flags,
# no tests or benchmarks) in a folder of its own, packed by CPack into
# $(PACKAGE_BUILD)/zenu_<version>_amd64.deb. Its dependencies come from the
# binaries (dpkg-shlibdeps). The icon's pictures are rendered from the SVG.
PACKAGE_BUILD    ?= build-package
PACKAGE_PACKAGES := librsvg2-bin dpkg-dev file
# What tools/check-package.sh uses to look at the package and to install it.
CHECK_PACKAGE_PACKAGES := desktop-file-utils appstream lintian xdg-utils libfile-mimeinfo-perl \
  shared-mime-info apt

package-deps:
	$(call install-missing,$(PACKAGE_PACKAGES))

package: deps package-deps
	@flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get $$1; }; \
	cxx="$$(flags CPPFLAGS) $$(flags CXXFLAGS | sed -e 's/^-g //' -e 's/ -g / /')"; \
	set -x; cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_CXX_FLAGS_RELEASE="$$cxx -DNDEBUG" -DCMAKE_EXE_LINKER_FLAGS="$$(flags LDFLAGS)" \
	  -DZENU_BUILD_TESTS=OFF -DZENU_BUILD_BENCH=OFF -DZENU_PACKAGE=ON
	cmake --build $(PACKAGE_BUILD) -j2 --target zenu zenu-sim zenu_package_files zenu_sample_files
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls -l $(PACKAGE_BUILD)/zenu_*.deb

check-package-deps:
	$(call install-missing,$(CHECK_PACKAGE_PACKAGES))

# Builds the package, looks at it (contents, desktop entry, software centre
# page, lintian), installs it on this machine with apt-get, runs both
# programs and asks the desktop for the types of a .zen and a .zrec file,
# then removes it again. Needs root for the install.
check-package: package check-package-deps
	tools/check-package.sh $(PACKAGE_BUILD)

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD)
