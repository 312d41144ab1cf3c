#!/bin/sh
# The handheld archive as a device meets it: unzipped into a ports folder, its launch
# script started from elsewhere runs the arm64 game (here under qemu-user, through the
# sysroot's dynamic loader, since this machine runs no arm64 programs by itself) in an
# X display of its own, where it must open its window and its sounds.
#
#     tests/handheld_test.sh ARM64_BUILD     (run by make test-handheld)
set -eu
build=$(readlink -f "$1")
scratch=$(mktemp -d /tmp/quillbarrow-handheld-XXXXXX)
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
passes=0
failures=0
check() {
    if eval "$2"; then echo "ok: $1"; passes=$((passes + 1)); else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

unzip -q "$build/quillbarrow-handheld.zip" -d "$scratch/ports"
check "the archive holds the launch script, the game, its text and its sounds" \
    '[ -x "$scratch/ports/Quillbarrow.sh" ] && [ -f "$scratch/ports/quillbarrow/README.txt" ] &&
     file "$scratch/ports/quillbarrow/quillbarrow" | grep -q "ARM aarch64" &&
     [ "$(ls "$scratch/ports/quillbarrow/data" | wc -l)" = "$(ls data/*.wav | wc -l)" ]'

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done

root="$build/sysroot/root"
libs="$root/lib/aarch64-linux-gnu:$root/usr/lib/aarch64-linux-gnu:$root/usr/lib/aarch64-linux-gnu/pulseaudio"
mkdir -p "$scratch/home" "$scratch/elsewhere"
rc=0
(cd "$scratch/elsewhere" && DISPLAY=":$(cat "$scratch/display")" HOME="$scratch/home" \
    SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/sound.raw" \
    QUILLBARROW_WRAPPER="qemu-aarch64 $root/lib/ld-linux-aarch64.so.1 --library-path $libs" \
    timeout -s INT -k 10 10 "$scratch/ports/Quillbarrow.sh" >"$scratch/out" 2>&1) || rc=$?
check "the game plays in the X display until it is stopped ($rc)" '[ "$rc" = 124 ] && ! grep -q "cannot open" "$scratch/out"'
cat "$scratch/out"
check "it plays its music" '[ "$(tr -d "\000" < "$scratch/sound.raw" | head -c 1 | wc -c)" = 1 ]'
check "it keeps the score in the home" '[ -f "$scratch/home/.Quillbarrow/score" ]'

rm -r "$scratch/ports/quillbarrow/data"
rc=0
"$scratch/ports/Quillbarrow.sh" >"$scratch/out" 2>&1 || rc=$?
check "without its data it says so in one line and fails" \
    '[ "$rc" = 1 ] && [ "$(wc -l < "$scratch/out")" = 1 ]'

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
