#!/bin/sh
# The installed game as a player meets it: make install into a scratch folder and the
# Debian package, each started through its launcher from another working directory,
# where it must open its sounds and keep its score in the player's home; then make
# uninstall, which must leave none of its files behind.
#
#     tests/install_test.sh BUILD     (run by make test-install, from the top of the tree)
set -eu
build=$(readlink -f "$1")
scratch=$(mktemp -d /tmp/quillbarrow-install-XXXXXX)
deb_installed_here=
cleanup() {
    [ -n "$deb_installed_here" ] && apt-get remove -y -qq quillbarrow >/dev/null 2>&1
    rm -rf "$scratch"
}
trap cleanup EXIT
passes=0
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }

# Plays the given command for three seconds from an empty folder, with no window and
# the sound going to a file, in a home of its own. Sets $heard (whether any sound came
# out), $home and $rc.
play() {
    home="$scratch/home-$(date +%s%N)"
    mkdir -p "$home" "$scratch/elsewhere"
    rm -f "$scratch/sound.raw"
    rc=0
    (cd "$scratch/elsewhere" && HOME="$home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk \
        SDL_DISKAUDIOFILE="$scratch/sound.raw" timeout -s INT 3 "$@" >"$scratch/out" 2>&1) || rc=$?
    heard=no
    if [ -s "$scratch/sound.raw" ] && [ "$(tr -d '\000' < "$scratch/sound.raw" | head -c 1 | wc -c)" = 1 ]; then
        heard=yes
    fi
}

# What an installed tree must hold and how it must play. $1 is the tree's root, $2 its
# prefix within it.
check_tree() {
    root=$1 prefix=$2
    for size in 16 32 48 64 128 256; do
        icon="$root$prefix/share/icons/hicolor/${size}x$size/apps/quillbarrow.png"
        file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon"
    done
    desktop-file-validate "$root$prefix/share/applications/quillbarrow.desktop" || fail "the menu entry"
    grep -qx 'Exec=quillbarrow' "$root$prefix/share/applications/quillbarrow.desktop" || fail "menu entry's command"
    [ "$(ls "$root$prefix/share/quillbarrow/data" | wc -l)" = "$(ls data/*.wav | wc -l)" ] || fail "sound files"

    play "$root$prefix/bin/quillbarrow"
    [ "$rc" = 124 ] || fail "the launcher stopped early ($rc): $(cat "$scratch/out")"
    [ "$heard" = yes ] && pass "the launcher plays with sound" || fail "no sound through the launcher"
    [ -f "$home/.Quillbarrow/score" ] && pass "the score lives in the home" || fail "no score file in the home"
    # The program alone, from a folder without data, is silent: the launcher is what finds it.
    play "$root$prefix/lib/quillbarrow/quillbarrow"
    [ "$heard" = no ] || fail "the bare program heard sounds without ./data"

    mv "$root$prefix/share/quillbarrow/data" "$scratch/data-away"
    play "$root$prefix/bin/quillbarrow"
    [ "$rc" != 0 ] && [ "$rc" != 124 ] && [ "$(wc -l < "$scratch/out")" = 1 ] &&
        grep -q 'data folder .* is missing' "$scratch/out" &&
        pass "a missing data folder is one line and a failure" || fail "missing data folder: $rc $(cat "$scratch/out")"
    mv "$scratch/data-away" "$root$prefix/share/quillbarrow/data"
}

echo "== make install DESTDIR=..."
dest="$scratch/dest"
make -s install DESTDIR="$dest" PREFIX=/usr/local >/dev/null
check_tree "$dest" /usr/local
make -s uninstall DESTDIR="$dest" >/dev/null
left=$(find "$dest" -type f -o -type d -name '*quillbarrow*')
[ -z "$left" ] && pass "make uninstall leaves nothing behind" || fail "left behind: $left"

echo "== the Debian package"
deb=$(ls "$build"/quillbarrow_*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'libsdl-mixer1.2' || fail "Depends lacks SDL_mixer: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -x "$deb" "$scratch/unpacked"
check_tree "$scratch/unpacked" /usr
if [ "$(id -u)" = 0 ] && ! dpkg-query -W -f='${Status}' quillbarrow 2>/dev/null | grep -q 'ok installed'; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
    deb_installed_here=yes
    play quillbarrow
    [ "$rc" = 124 ] && [ "$heard" = yes ] && [ "$(command -v quillbarrow)" = /usr/bin/quillbarrow ] &&
        pass "apt-get install puts a playing quillbarrow on PATH" || fail "the installed package: $rc $heard"
    apt-get remove -y -qq quillbarrow >/dev/null
    deb_installed_here=
    [ ! -e /usr/share/quillbarrow ] && pass "apt-get remove takes it away" || fail "apt-get remove left files"
else
    apt-get install -s "$deb" >/dev/null && pass "its dependencies resolve" || fail "apt-get cannot install it"
fi

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
