#!/bin/sh
# The installed game as a player meets it: make install into a scratch folder and the
# Debian package, each started through its launcher from another working directory,
# where it must open its sounds and keep its score in the player's home; then make
# uninstall and apt-get remove, which must leave none of its files behind. Also what
# Debian's own checkers say of the package and its AppStream data, which SDL apt picks
# for it, and what ./make tells a user who is not root.
#
#     tests/install_test.sh BUILD     (run by make test-install, from the top of the tree)
set -eu
build=$(readlink -f "$1")
scratch=$(mktemp -d /tmp/quillbarrow-install-XXXXXX)
deb_installed_here=
trap '[ -z "$deb_installed_here" ] || apt-get -o DPkg::Lock::Timeout=900 remove -y -qq quillbarrow >/dev/null 2>&1; rm -rf "$scratch"' EXIT
passes=0 failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }
# A user's PATH as Debian gives it at login, where the games are (root's has no games).
user_path=$(sed -n 's/^ENV_PATH[[:space:]]*PATH=//p' /etc/login.defs)
version=$(sed -n 's/^project(Quillbarrow VERSION \([^ ]*\).*/\1/p' CMakeLists.txt)

# Plays the given command for three seconds from an empty folder, with no window and
# the sound going to a file, in a home of its own. Sets $heard (1 where any sound came
# out, else 0), $home and $rc.
play() {
    home="$scratch/home-$(date +%s%N)"
    mkdir -p "$home" "$scratch/elsewhere"
    rm -f "$scratch/sound.raw"
    rc=0
    (cd "$scratch/elsewhere" && HOME="$home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk \
        SDL_DISKAUDIOFILE="$scratch/sound.raw" timeout -s INT 3 "$@" >"$scratch/out" 2>&1) || rc=$?
    heard=$(cat "$scratch/sound.raw" 2>/dev/null | tr -d '\000' | head -c 1 | wc -c)
}

# What an installed tree must hold and how it must play. $1 is the tree's root, $2 its
# prefix within it.
check_tree() {
    root=$1 prefix=$2
    for size in 16 32 48 64 128 256; do
        icon="$root$prefix/share/icons/hicolor/${size}x$size/apps/quillbarrow.png"
        file "$icon" | grep -q "PNG image data, $size x $size" || fail "icon $icon"
    done
    entry="$root$prefix/share/applications/io.github.quillbarrow.Quillbarrow.desktop"
    desktop-file-validate "$entry" && grep -qx 'Exec=quillbarrow' "$entry" || fail "the menu entry"
    appstreamcli validate --no-net "$root$prefix/share/metainfo/io.github.quillbarrow.Quillbarrow.metainfo.xml" \
        >"$scratch/appstream" 2>&1 && pass "appstreamcli validate passes" || fail "AppStream: $(cat "$scratch/appstream")"
    [ "$(ls "$root$prefix/share/games/quillbarrow/data" | wc -l)" = "$(ls data/*.wav | wc -l)" ] || fail "sound files"
    doc="$root$prefix/share/doc/quillbarrow"
    cmp -s "$doc/copyright" NOTICE && gzip -dc "$root$prefix/share/man/man6/quillbarrow.6.gz" | grep -q '^\.TH QUILLBARROW 6' &&
        gzip -dc "$doc/changelog.gz" | head -n 1 | grep -q "^quillbarrow ($version)" &&
        pass "NOTICE, the manual page and the changelog of $version" || fail "the documents in $doc and man6"

    play "$root$prefix/games/quillbarrow"
    [ "$rc" = 124 ] || fail "the launcher stopped early ($rc): $(cat "$scratch/out")"
    [ "$heard" = 1 ] && pass "the launcher plays with sound" || fail "no sound through the launcher"
    [ -f "$home/.Quillbarrow/score" ] && pass "the score lives in the home" || fail "no score file in the home"
    # The program alone, from a folder without data, is silent: the launcher is what finds it.
    play "$root$prefix/libexec/quillbarrow/quillbarrow"
    [ "$heard" = 0 ] || fail "the bare program heard sounds without ./data"

    mv "$root$prefix/share/games/quillbarrow/data" "$scratch/data-away"
    play "$root$prefix/games/quillbarrow"
    [ "$rc" != 0 ] && [ "$rc" != 124 ] && [ "$(wc -l < "$scratch/out")" = 1 ] &&
        grep -q 'data folder .* is missing' "$scratch/out" &&
        pass "a missing data folder is one line and a failure" || fail "missing data folder: $rc $(cat "$scratch/out")"
    mv "$scratch/data-away" "$root$prefix/share/games/quillbarrow/data"
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
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] && grep -q "<release version=\"$version\"" \
    package/desktop/io.github.quillbarrow.Quillbarrow.metainfo.xml &&
    pass "the package, the build and the AppStream release are all $version" || fail "versions disagree"
for shot in $(sed -n 's|.*<image>.*/main/\(.*\)</image>.*|\1|p' package/desktop/*.metainfo.xml); do
    [ -f "$shot" ] || fail "the AppStream screenshot $shot is not in the tree"
done
lintian -I -E --pedantic "$deb" 2>&1 | grep -v '^running with root privileges' | tee "$scratch/lintian" || true
grep -q '^[EW]: ' "$scratch/lintian" && fail "lintian reports errors or warnings" || pass "lintian: no error, no warning"
dpkg-deb -x "$deb" "$scratch/unpacked"
check_tree "$scratch/unpacked" /usr

# What apt installs with the package on this machine with every SDL 1.2 taken away (and
# whatever needs it): the apt of a machine that has neither, simulated.
sdl_and_users=$(apt-get -s remove libsdl1.2-compat libsdl1.2-compat-shim libsdl1.2debian libsdl-mixer1.2 2>/dev/null |
    sed -n 's/^Remv \([^ :]*\).*/\1/p' | tr '\n' ' ')
awk -v gone=" $sdl_and_users " 'BEGIN { RS = ""; ORS = "\n\n" }
    { name = $2; if (index(gone, " " name " ") == 0) print }' /var/lib/dpkg/status >"$scratch/status"
apt-get -s -o Dir::State::status="$scratch/status" install "$deb" >"$scratch/apt" 2>&1 || true
grep -q '^Inst libsdl1.2-compat-shim ' "$scratch/apt" && ! grep -q '^Inst libsdl1.2debian ' "$scratch/apt" &&
    pass "on a machine without SDL 1.2, apt picks sdl12-compat for it" ||
    fail "apt's choice without SDL 1.2: $(grep -E '^(Inst|E:)' "$scratch/apt" | tr '\n' ' ')"

if [ "$(id -u)" = 0 ] && ! dpkg-query -W -f='${Status}' quillbarrow 2>/dev/null | grep -q 'ok installed'; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -qq "$deb" >"$scratch/apt" 2>&1 || cat "$scratch/apt"
    deb_installed_here=yes
    sdl=$(ldd /usr/libexec/quillbarrow/quillbarrow | sed -n 's/.*libSDL-1\.2\.so\.0 => \([^ ]*\).*/\1/p')
    [ "$(dpkg -S "$(readlink -f "$sdl")" 2>/dev/null | cut -d: -f1)" = libsdl1.2-compat ] &&
        pass "the installed game runs on sdl12-compat" || fail "the installed game loads $sdl"
    play env PATH="$user_path" quillbarrow
    [ "$rc" = 124 ] && [ "$heard" = 1 ] && [ "$(env PATH="$user_path" sh -c 'command -v quillbarrow')" = /usr/games/quillbarrow ] &&
        pass "apt-get install puts a playing quillbarrow on a user's PATH" || fail "the installed package: $rc $heard"
    apt-get remove -y -qq quillbarrow >/dev/null
    deb_installed_here=
    left=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' |
        while read -r path; do [ ! -e "$path" ] || echo "$path"; done)
    [ -z "$left" ] && pass "apt-get remove takes every file away" || fail "apt-get remove left $left"
else
    grep -q '^Inst quillbarrow ' "$scratch/apt" && pass "its dependencies resolve" || fail "apt-get cannot install it"
fi

echo "== ./make for a user who is not root"
# ./make reads every package list the Makefile has.
printf 'include Makefile\nlists:\n\t@echo $(sort make $(PACKAGES) $(foreach v,$(filter %%_PACKAGES,$(.VARIABLES)),$($(v))))\n' \
    >"$scratch/lists.mk"
[ "$(./make --packages | tr '\n' ' ')" = "$(make -s -f "$scratch/lists.mk" lists) " ] &&
    pass "./make knows every package list of the Makefile" || fail "./make --packages: $(./make --packages | tr '\n' ' ')"
# As nobody (or as the user running this), from a copy of the script and the Makefile
# (the tree may lie where nobody cannot look), in the group sudo or not as a stand-in id
# says: sudo is offered to a member of the group sudo where sudo is, su -c to the others.
mkdir -p "$scratch/tree" "$scratch/plain" "$scratch/sudoer"
cp make Makefile "$scratch/tree/"
printf '#!/bin/sh\n[ "$*" = -nG ] && echo nogroup || exec /usr/bin/id "$@"\n' >"$scratch/plain/id"
printf '#!/bin/sh\n[ "$*" = -nG ] && echo nogroup sudo || exec /usr/bin/id "$@"\n' >"$scratch/sudoer/id"
printf '#!/bin/sh\necho a stand-in sudo\n' >"$scratch/sudoer/sudo"
chmod -R a+rX "$scratch" && chmod a+x "$scratch/plain/id" "$scratch/sudoer/id" "$scratch/sudoer/sudo"
as_nobody=
[ "$(id -u)" != 0 ] || as_nobody="setpriv --reuid=nobody --regid=nogroup --clear-groups"
asked=$($as_nobody env HOME=/nonexistent PATH="$scratch/plain:$PATH" "$scratch/tree/make" \
    --need g++ quillbarrow-no-such-package 2>&1) && rc=0 || rc=$?
line=$(printf '%s\n' "$asked" | sed -n 2p)
[ "$rc" = 1 ] && [ "$(printf '%s\n' "$asked" | wc -l)" = 2 ] &&
    printf '%s\n' "$line" | grep -q "^  su -c 'apt-get update && apt-get install -y --no-install-recommends .*quillbarrow-no-such-package'$" &&
    pass "one su -c line and nothing after it" || fail "./make --need as nobody ($rc): $asked"
for package in $(./make --packages); do
    installed=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
    asks=$(printf '%s\n' "$line" | tr " '" '\n\n' | grep -Fxc "$package" || true)
    if [ "$installed" = installed ] && [ "$asks" != 0 ]; then fail "the line installs $package, which is there"; fi
    if [ "$installed" != installed ] && [ "$asks" = 0 ]; then fail "the line leaves out $package"; fi
done
asked=$($as_nobody env HOME=/nonexistent PATH="$scratch/sudoer:$PATH" "$scratch/tree/make" \
    --need quillbarrow-no-such-package 2>&1) || true
printf '%s\n' "$asked" | sed -n 2p |
    grep -q "^  sudo apt-get update && sudo apt-get install -y --no-install-recommends .*quillbarrow-no-such-package$" &&
    pass "sudo for a member of the group sudo" || fail "./make --need in the group sudo: $asked"

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
