# Quillbarrow. On a fresh Debian 12 machine, where make itself may be missing, ./make runs
# these the same way (./make test is make test, see the script):
#   make run           installs what is missing, builds the game and starts it
#   make test          installs what is missing, builds and runs the whole test suite headless
#   make fuzz          fuzzes the score file reader (a clang build of its own in build-fuzz)
#   make soak          plays SOAK_FRAMES frames of random play in the sanitizer build, checking every frame
#   make install       installs the game under PREFIX (default /usr/local; DESTDIR is honoured)
#   make uninstall     removes what make install put there
#   make deb           builds the Debian package build/quillbarrow_<version>_<arch>.deb
#   make test-install  installs into a scratch folder and the .deb, and plays both
#   make test-arm64    builds the handhelds' arm64 game and runs the suite under qemu-user
#   make handheld      packs it for the handhelds' port collection: build-arm64/quillbarrow.zip
#   make test-handheld installs that in a stand-in firmware and plays it with the pad alone
#   make web           builds the browser version into build-web/web
#   make test-web      plays the browser version in headless Chromium
#   make web-screenshots  plays it again and keeps the README's pictures of it in docs/

# The Debian packages each step needs, in lists named PACKAGES and *_PACKAGES written out
# word by word: ./make reads them all, to give a user who is not root one line for all.
PACKAGES := g++ cmake pkg-config python3 libsdl1.2-compat-dev libsdl-mixer1.2-dev libpng-dev dpkg-dev
TEST_PACKAGES := libgtest-dev xvfb xdotool
BENCH_PACKAGES := libbenchmark-dev valgrind
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_BUILD := build-fuzz
FUZZ_RUNS := 5000000
INSTALL_TEST_PACKAGES := desktop-file-utils appstream lintian file
ARM64_PACKAGES := g++-aarch64-linux-gnu qemu-user zip unzip file
HANDHELD_TEST_PACKAGES := xvfb xdotool x11-apps procps
# The handhelds' game is built against Debian 11's arm64 packages, so that it runs on
# firmwares as old as glibc 2.30: unpacked into a sysroot of the build's own (never
# installed here), with gcc 10's libstdc++ and libgcc to link in statically. The stand-in
# firmware of the handheld test holds Debian 11's C library and SDL2 (with the udev
# library, which SDL2 loads at run time, as every firmware has it) and nothing else.
ARM64_RELEASE := bullseye
ARM64_LIBRARIES := libsdl2-2.0-0 libudev1 libpng16-16 libc6-dev linux-libc-dev libstdc++-10-dev libgcc-10-dev \
    libsdl2-dev libpng-dev zlib1g-dev libgtest-dev libgmock-dev
FIRMWARE_LIBRARIES := libc6 libsdl2-2.0-0 libudev1
WEB_PACKAGES := emscripten chromium nodejs vorbis-tools gzip brotli
BUILD := build
# The sanitizer build (AddressSanitizer, UBSan, leak checks) of the soak.
ASAN_BUILD := build-asan
SOAK_FRAMES := 10000000
SOAK_SEED := 1
ARM64_BUILD := build-arm64
WEB_BUILD := build-web
JOBS := $(shell nproc 2>/dev/null || echo 2)
PREFIX := /usr/local
# The game's build takes Debian's hardening flags (fortify, stack protector, read-only
# relocations bound at start), since the package ships the program the suite tests.
BUILD_FLAGS = $(shell DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get $(1))
CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS="$(call BUILD_FLAGS,CPPFLAGS) $(call BUILD_FLAGS,CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(call BUILD_FLAGS,LDFLAGS)"

# The make that cmake --build runs inside this one keeps quiet about the folders it enters.
MAKEFLAGS += --no-print-directory

.PHONY: all deps build run test bench fuzz soak soak-build sounds game install uninstall deb test-install \
        arm64 test-arm64 handheld test-handheld web test-web web-screenshots clean

all: build

# Installs the Debian packages of the list that are missing, as root; as another user it
# prints the one line that installs what every target needs, and stops.
define install_missing
	@./make --need $(1)
endef

deps:
	$(call install_missing,$(PACKAGES))

build: deps
	$(call install_missing,$(TEST_PACKAGES))
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS)

# The game alone, started from the top of the tree, where ./data is.
run: deps
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS) --target quillbarrow
	./$(BUILD)/quillbarrow

# The suite, then a short soak of the sanitizer build that reaches every screen and event.
test: build soak-build
	cd $(BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j$(JOBS)
	$(SOAK) 200000 6 > $(ASAN_BUILD)/soak.log || { cat $(ASAN_BUILD)/soak.log; exit 1; }
	tail -n 1 $(ASAN_BUILD)/soak.log

# The soak runs from the top of the tree, where ./data is; LSan passes over the leaks
# inside SDL and SDL_mixer themselves.
SOAK := LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ./$(ASAN_BUILD)/soak

soak-build: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBARROW_ASAN=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS) --target soak

soak: soak-build
	$(SOAK) $(SOAK_FRAMES) $(SOAK_SEED)

bench: deps
	$(call install_missing,$(BENCH_PACKAGES))
	$(CONFIGURE)
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

# The game, its icons and its manual, as installed: neither the tests nor the tools are built.
game: deps
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS) --target quillbarrow icons manual

install: game
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# Removes every file of the last make install from this build folder, then the game's
# own folders; folders shared with other programs stay.
uninstall:
	@test -f $(BUILD)/install_manifest.txt || { echo "Nothing to uninstall: no make install was run from $(BUILD)"; exit 1; }
	sed 's|^|$(DESTDIR)|' $(BUILD)/install_manifest.txt | xargs -d '\n' rm -f
	sed -n 's|\(.*/quillbarrow\)/.*|$(DESTDIR)\1|p' $(BUILD)/install_manifest.txt | sort -u | \
	  xargs -d '\n' -r -I{} find {} -depth -type d -empty -delete
	rm -f $(BUILD)/install_manifest.txt

# dpkg's own tools make the package from the build: package/debian/build.sh says how.
deb: game
	package/debian/build.sh $(BUILD)

test-install: deb
	$(call install_missing,$(INSTALL_TEST_PACKAGES))
	tests/install_test.sh $(BUILD)

# arm64: the handhelds' platform layer on SDL2, the libraries in a sysroot of the build's
# own, the tables packed by the native build's assetpack, everything else built by the
# cross compiler. A sysroot is made again when its list of packages changes.
define arm64_root
	[ "$$(cat $(ARM64_BUILD)/$(1).packages 2>/dev/null)" = "$(ARM64_RELEASE) $(2)" ] || \
	  tools/arm64/sysroot.sh $(ARM64_RELEASE) $(ARM64_BUILD)/apt $(ARM64_BUILD)/$(1) $(2)
endef

arm64: deps
	$(call install_missing,$(ARM64_PACKAGES))
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS) --target assetpack
	$(call arm64_root,sysroot,$(ARM64_LIBRARIES))
	cmake -S . -B $(ARM64_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLBARROW_SDL2=ON \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/aarch64-linux-gnu.cmake -DASSETPACK=$(CURDIR)/$(BUILD)/assetpack
	cmake --build $(ARM64_BUILD) -j$(JOBS) --target quillbarrow quillbarrow_tests

test-arm64: arm64
	cd $(ARM64_BUILD) && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ctest --output-on-failure -j$(JOBS)

# The port as the handhelds' port collection lays it out: Quillbarrow.sh beside the
# quillbarrow folder, zipped, with a screenshot of play made by the native replay tool,
# the libraries the stand-in firmware lacks, and the glibc check of every ELF file.
handheld: arm64
	cmake --build $(BUILD) -j$(JOBS) --target replay
	$(call arm64_root,firmware,$(FIRMWARE_LIBRARIES))
	tools/arm64/pack.sh $(ARM64_BUILD) $(BUILD)/replay

test-handheld: handheld
	$(call install_missing,$(HANDHELD_TEST_PACKAGES))
	tests/handheld_test.sh $(ARM64_BUILD) $(BUILD)/replay

# The browser: emscripten's C library under the web's platform files, the tables packed
# by the native build's assetpack, the sounds made Ogg Vorbis; build-web/web is the site.
# emscripten's tools run on Debian's JavaScript libraries, whichever node is on PATH.
web: deps
	$(call install_missing,$(WEB_PACKAGES))
	$(CONFIGURE)
	cmake --build $(BUILD) -j$(JOBS) --target assetpack
	NODE_PATH=/usr/share/nodejs emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
	  -DASSETPACK=$(CURDIR)/$(BUILD)/assetpack
	NODE_PATH=/usr/share/nodejs cmake --build $(WEB_BUILD) -j$(JOBS) --target web

# Plays the page in headless Chromium as players meet it, against the native game's
# frames; node drives the browser through its DevTools protocol, with no packages of its
# own. Its pictures land in build-web/test/shots.
WEB_TEST := $(WEB_BUILD)/test
test-web: web
	cmake --build $(BUILD) -j$(JOBS) --target replay
	rm -rf $(WEB_BUILD)/native $(WEB_TEST)/shots && mkdir -p $(WEB_BUILD)/native $(WEB_TEST)/shots
	$(BUILD)/replay tests/web/native.replay $(WEB_BUILD)/native >/dev/null
	node tests/web/web_test.mjs $(WEB_BUILD)/web $(WEB_BUILD)/native $(WEB_TEST) data

# The README's pictures of the page (desktop, and a phone upright and sideways), from
# the test's own run.
web-screenshots: test-web
	cp $(WEB_TEST)/shots/web-title.png $(WEB_TEST)/shots/web-sailing.png \
	   $(WEB_TEST)/shots/web-phone-upright.png $(WEB_TEST)/shots/web-phone-sideways.png docs/

clean:
	rm -rf $(BUILD) $(ARM64_BUILD) $(WEB_BUILD) $(FUZZ_BUILD) $(ASAN_BUILD)
