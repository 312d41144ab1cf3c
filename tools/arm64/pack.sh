#!/bin/sh
# Packs the handheld port as the port collection installs it (make handheld), from the
# top of the tree: ARM64_BUILD/port holds Quillbarrow.sh beside the quillbarrow folder,
# zipped into ARM64_BUILD/quillbarrow.zip. The screenshot is real play, made by the
# native replay tool; libs.aarch64 gets exactly the libraries that the stand-in firmware
# (ARM64_BUILD/firmware: Debian 11's C library and SDL2) lacks, as its own dynamic
# loader finds them, each with its licence; and every ELF file is checked for the glibc
# it needs, which goes into port.json.
#
#     tools/arm64/pack.sh ARM64_BUILD REPLAY
set -e
build=$(readlink -f "$1")
replay=$(readlink -f "$2")
port="$build/port"
game="$port/quillbarrow"
rm -rf "$port" "$build/screenshot" "$build/quillbarrow.zip"
mkdir -p "$game/data" "$game/licenses" "$game/libs.aarch64"

# The script is executable in the zip for a card it is unzipped onto by hand; the
# collection's installer keeps no modes, so the script makes the game executable itself.
install -m 755 package/handheld/Quillbarrow.sh "$port/"
cp package/handheld/port.json package/handheld/gameinfo.xml package/handheld/README.md \
   package/handheld/quillbarrow.gptk "$game/"
cp data/*.wav "$game/data/"
aarch64-linux-gnu-strip -o "$game/quillbarrow.aarch64" "$build/quillbarrow"
"$replay" package/handheld/screenshot.replay "$build/screenshot" > /dev/null
cp "$build/screenshot/screenshot.png" "$game/"
# The game's own notice (with the font's licence), and the C++ runtime linked into it.
cp NOTICE "$game/licenses/LICENSE.quillbarrow.txt"
cp "$build/sysroot/usr/share/doc/gcc-10-base/copyright" "$game/licenses/LICENSE.libstdc++.txt"

# The libraries the firmware's loader cannot find, taken from the build's sysroot until
# none is missing (a library brought in may need others in turn).
missing() {
    LD_LIBRARY_PATH="$game/libs.aarch64" qemu-aarch64 -L "$build/firmware" \
        "$build/firmware/lib/ld-linux-aarch64.so.1" --list "$game/quillbarrow.aarch64" |
        awk '/not found/ { print $1 }' | sort -u
}
while [ -n "$(missing)" ]; do
    for name in $(missing); do
        file=$(find "$build/sysroot/lib" "$build/sysroot/usr/lib" -name "$name" | head -n 1)
        [ -n "$file" ] || { echo "pack: $name is needed but not in the sysroot" >&2; exit 1; }
        cp -L "$file" "$game/libs.aarch64/"
        for deb in "$build"/apt/archives/*.deb; do
            if dpkg-deb -c "$deb" | grep -q "/$name\$"; then
                package=$(dpkg-deb -f "$deb" Package)
                cp -L "$build/sysroot/usr/share/doc/$package/copyright" "$game/licenses/LICENSE.$package.txt"
            fi
        done
    done
done

/usr/bin/python3 tools/arm64/elfcheck.py "$game" 2.30 "$game/port.json"
cd "$port"
zip -qrX ../quillbarrow.zip Quillbarrow.sh quillbarrow
echo "pack: $build/quillbarrow.zip, $(wc -c < ../quillbarrow.zip) bytes"
