# Quillbarrow. On a fresh Debian 12 machine:
#   make run    installs what is missing, builds and starts the game
#   make test   installs what is missing, builds and runs the whole test suite headless
#   make fuzz   fuzzes the score file reader (a clang build of its own in build-fuzz)

PACKAGES := g++ cmake pkg-config python3 libsdl1.2-compat-dev libsdl-mixer1.2-dev libpng-dev libgtest-dev
BENCH_PACKAGES := libbenchmark-dev valgrind
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_BUILD := build-fuzz
FUZZ_RUNS := 5000000
BUILD := build
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test bench fuzz sounds clean

all: build

# Installs the Debian packages that are missing (as root), or says how to.
define install_missing
	@missing=$$(for p in $(1); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "These Debian packages are missing. Install them, then run make again:"; \
	    echo "  sudo apt-get install -y $$(echo $$missing)"; \
	    exit 1; \
	  fi; \
	fi
endef

deps:
	$(call install_missing,$(PACKAGES))

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

# The game reads ./data, so it starts from the top of the tree.
run: build
	./$(BUILD)/quillbarrow

test: build
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j$(JOBS)

bench: deps
	$(call install_missing,$(BENCH_PACKAGES))
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS) --target quillbarrow_bench
	./$(BUILD)/quillbarrow_bench

# Fuzzes the score file reader with libFuzzer, in a clang build of its own, for
# FUZZ_RUNS inputs of up to 4 kB.
fuzz: deps
	$(call install_missing,$(FUZZ_PACKAGES))
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBARROW_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j$(JOBS) --target score_fuzz
	./$(FUZZ_BUILD)/score_fuzz -runs=$(FUZZ_RUNS) -max_len=4096 -print_final_stats=1

# Regenerates data/*.wav from the synthesiser in tools/sound.
sounds:
	/usr/bin/python3 tools/sound/synth.py data

clean:
	rm -rf $(BUILD) $(FUZZ_BUILD)
