#!/bin/sh
# The handheld port as a firmware of the port collection meets it. The zip is checked
# against the collection's rules and installed as its installer does (no file modes
# kept, the script apart from the game's folder, as some firmwares keep them) on a
# stand-in card. A stand-in firmware runs it: Debian 11's arm64 C library and SDL2 and
# nothing else (build-arm64/firmware), under qemu-user and a virtual X display; a
# stand-in control folder (tests/handheld/control.sh) with a stand-in gptokeyb that
# turns pad buttons into the keys of the port's .gptk. A player that sees only the
# screen and touches only the pad (tests/handheld/player.py) goes from the credits into
# a first game, steers the ship each way, fires and quits on hotkey + Start; a best
# score then put in the port's folder must show in a second run. Then the script and
# folder are copied by hand onto a card without the collection, and must still start and
# say what they missed; and where no screen can be opened, log.txt must say so in a line
# of the game's.
#
#     tests/handheld_test.sh ARM64_BUILD REPLAY     (run by make test-handheld)
#
# The world of the first game comes from QUILLBARROW_SEED=5: the player steers in the open
# water around where its ship starts.
set -eu
# The stand-in device runs the game alone on its processor: on a busy machine this test
# and all it starts (the game under qemu, the X server, the pad) come first, so that the
# game's frames keep their 25 ms and the player's timed presses steer as on a device.
renice -n -10 -p $$ > /dev/null 2>&1 || true
build=$(readlink -f "$1")
replay=$(readlink -f "$2")
firmware="$build/firmware"
scratch=$(mktemp -d /tmp/quillbarrow-handheld-XXXXXX)
xvfb=
launch=
# The processes of a launch's session (setsid makes the script's process its leader).
end_session() {
    # shellcheck disable=SC2046  # one word a process
    [ -z "$1" ] || kill -KILL $(pgrep -s "$1") 2>/dev/null || true
}
cleanup() {
    end_session "$launch"
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
trap "exit 1" INT TERM
passes=0
failures=0
check() {
    if eval "$2"; then echo "ok: $1"; passes=$((passes + 1)); else echo "FAILED: $1"; failures=$((failures + 1)); fi
}

# The zip and the collection's rules; the versions of the C library and C++ runtime the
# port's ELF files really need.
needs=$(find "$build/port" -type f -exec sh -c 'head -c 4 "$1" | grep -q ELF && aarch64-linux-gnu-objdump -p "$1"' \
    sh {} \;)
glibc=$(echo "$needs" | sed -n 's/.* GLIBC_\([0-9.]*\)$/\1/p' | sort -V | tail -n 1)
check "port.json, gameinfo.xml, the README, licences and mapping follow the collection's rules (glibc $glibc)" \
    '/usr/bin/python3 tests/handheld/portcheck.py "$build/quillbarrow.zip" NOTICE "$glibc"'
check "the launch script is committed with LF endings and mode 644" \
    '[ "$(git ls-files -s package/handheld/Quillbarrow.sh | cut -c1-6)" = 100644 ] && ! grep -q "$(printf "\r")" package/handheld/Quillbarrow.sh'
check "no ELF file of the port needs a GLIBC_ version above 2.30 or any libstdc++ of the device" \
    '[ -n "$glibc" ] && [ "$(printf "%s\n2.30\n" "$glibc" | sort -V | tail -n 1)" = 2.30 ] &&
     ! echo "$needs" | grep -q "GLIBCXX_\|CXXABI_"'

# The card: the collection's installer unpacks with Python's zipfile (no file modes), the
# script to the firmware's list of ports and the folder to its ports folder.
card="$scratch/card"
mkdir -p "$card/roms/ports" "$card/roms/ports-scripts" "$scratch/home" "$scratch/records" \
    "$scratch/xdg/PortMaster"
/usr/bin/python3 -m zipfile -e "$build/quillbarrow.zip" "$card/roms/ports"
mv "$card/roms/ports/Quillbarrow.sh" "$card/roms/ports-scripts/"
game="$card/roms/ports/quillbarrow"
check "installed without file modes: the game is not executable yet" '[ ! -x "$game/quillbarrow.aarch64" ]'
check "the firmware lacks exactly the libraries the port brings in libs.aarch64" \
    '[ "$(qemu-aarch64 -L "$firmware" "$firmware/lib/ld-linux-aarch64.so.1" --list "$game/quillbarrow.aarch64" |
          sed -n "s/^\t*\([^ ]*\) => not found$/\1/p" | sort)" = "$(ls "$game/libs.aarch64" | sort)" ] &&
     ! LD_LIBRARY_PATH="$game/libs.aarch64" qemu-aarch64 -L "$firmware" "$firmware/lib/ld-linux-aarch64.so.1" \
         --list "$game/quillbarrow.aarch64" | grep -q "not found"'
cp tests/handheld/control.sh "$scratch/xdg/PortMaster/control.txt"
# This machine runs arm64 programs under qemu-user with the firmware as their root, where
# a device runs them itself: bash starts the game through this function instead.
cat > "$scratch/device.sh" <<DEVICE
./quillbarrow.aarch64() { qemu-aarch64 -L "$firmware" ./quillbarrow.aarch64 "\$@"; }
DEVICE

"$replay" tests/handheld/references-a.replay "$scratch/references" > /dev/null
"$replay" tests/handheld/references-b.replay "$scratch/references" > /dev/null

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
display=":$(cat "$scratch/display")"

# Everything outside the game's folder, as it is now.
outside() {
    find "$scratch" "$firmware" \( -path "$game" -o -path "$scratch/records" -o -path "$scratch/references" \) -prune \
        -o -printf '%p %s %T@ %m\n' | sort
}
outside > "$scratch/records/before"

# Runs the launch script as the firmware's menu would, in a session of its own, with the
# player at the pad; waits until every process of the session has ended.
play() {
    rm -f "$scratch/records/pad" "$scratch/records/calls" "$scratch/records/gptokeyb.pid"
    mkfifo "$scratch/records/pad"
    env -i PATH="$PATH" HOME="$scratch/home" XDG_DATA_HOME="$scratch/xdg" DISPLAY="$display" \
        SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$scratch/records/sound.raw" \
        QUILLBARROW_SEED=5 BASH_ENV="$scratch/device.sh" \
        TEST_CARD="$card" TEST_RECORDS="$scratch/records" TEST_PAD="$scratch/records/pad" \
        setsid bash "$card/roms/ports-scripts/Quillbarrow.sh" > "$scratch/records/script.out" 2>&1 &
    launch=$!
    started=$(date +%s)
    rc=0
    env DISPLAY="$display" TEST_PAD="$scratch/records/pad" \
        /usr/bin/python3 tests/handheld/player.py "$1" "$scratch/references" > "$scratch/records/player.out" 2>&1 || rc=$?
    for _ in $(seq 200); do pgrep -s "$launch" > /dev/null || break; sleep 0.1; done
    end_session "$launch"
    launch=
    echo "player ($1, $(($(date +%s) - started)) s):"
    sed 's/^/    /' "$scratch/records/player.out"
    return $rc
}

rc=0
play first || rc=$?
score=$(cat "$game/conf/.Quillbarrow/score" 2>/dev/null || echo none)
check "the player went from the credits into a game, steered, fired and paused, with the pad alone ($rc)" \
    '[ "$rc" = 0 ]'
check "the first run wrote its best score ($score) into the port's conf folder" '[ "$score" = 0 ]'
check "the launch script found the control folder, read the pad mapping and called its helpers" \
    'grep -qx get_controls "$scratch/records/calls" &&
     grep -qx "gptokeyb -1 quillbarrow.aarch64 -c ./quillbarrow.gptk" "$scratch/records/calls" &&
     grep -qx "pm_platform_helper $game/quillbarrow.aarch64" "$scratch/records/calls"'
gone=$(sed -n 's/^gptokeyb gone //p' "$scratch/records/calls")
check "hotkey + Start ended the game in order within 3 s (${gone:-killed}), and pm_finish ran after it" \
    '[ -n "$gone" ] && grep -qx "pm_finish 0" "$scratch/records/calls"'
check "log.txt holds what the game said (its sound going to a file)" \
    'grep -q "Writing to file" "$game/log.txt" && [ "$(tr -d "\000" < "$scratch/records/sound.raw" | head -c 1 | wc -c)" = 1 ]'
check "the launch script made the game executable" '[ -x "$game/quillbarrow.aarch64" ]'
outside > "$scratch/records/after"
check "nothing outside the port's folder changed" 'diff "$scratch/records/before" "$scratch/records/after"'

# The second run: a best score of an earlier game in the port's folder shows on the high
# score screen, exactly as the native game shows it.
score=57
printf %s $score > "$game/conf/.Quillbarrow/score"
printf 'seed 1\nscore %s\nscale 1\nwait 3\npress A\npress A\npress A\nwait 10\npress A\nwait 1\nshot final.png\n' "$score" \
    > "$scratch/records/final.replay"
"$replay" "$scratch/records/final.replay" "$scratch/references" > /dev/null
rc=0
play second || rc=$?
check "a second run shows the best score $score on its high score screen, and quits in order" \
    '[ "$rc" = 0 ] && grep -q "^gptokeyb gone" "$scratch/records/calls" && grep -qx "pm_finish 0" "$scratch/records/calls" &&
     [ "$(cat "$game/conf/.Quillbarrow/score")" = "$score" ]'

# Copied by hand onto a card without the collection: the game starts from the folder
# beside the script, and log.txt says what was missing.
mkdir -p "$scratch/bare/ports"
cp -r "$card/roms/ports-scripts/Quillbarrow.sh" "$game" "$scratch/bare/ports/"
rm -rf "$scratch/bare/ports/quillbarrow/conf" "$scratch/bare/ports/quillbarrow/log.txt"
chmod -x "$scratch/bare/ports/quillbarrow/quillbarrow.aarch64"
env -i PATH="$PATH" HOME="$scratch/home" XDG_DATA_HOME="$scratch/nothing" DISPLAY="$display" SDL_AUDIODRIVER=dummy \
    BASH_ENV="$scratch/device.sh" setsid bash "$scratch/bare/ports/Quillbarrow.sh" > "$scratch/bare.out" 2>&1 &
launch=$!
for _ in $(seq 100); do [ -f "$scratch/bare/ports/quillbarrow/conf/.Quillbarrow/score" ] && break; sleep 0.1; done
sleep 1
for pid in $(pgrep -s "$launch" -f quillbarrow.aarch64); do kill -TERM "$pid"; done
for _ in $(seq 50); do pgrep -s "$launch" > /dev/null || break; sleep 0.1; done
launch=
check "copied by hand, it plays from its own folder and says in log.txt that the collection is missing" \
    'grep -q "control.txt of the port collection" "$scratch/bare/ports/quillbarrow/log.txt" &&
     [ "$(cat "$scratch/bare/ports/quillbarrow/conf/.Quillbarrow/score")" = 0 ]'

# A device with no screen the game can open (no display server, no /dev/dri here): one
# line in log.txt says so, and the script ends.
rc=0
env -i PATH="$PATH" HOME="$scratch/home" XDG_DATA_HOME="$scratch/nothing" XDG_RUNTIME_DIR="$scratch/nothing" \
    SDL_AUDIODRIVER=dummy BASH_ENV="$scratch/device.sh" \
    timeout -s KILL 60 bash "$scratch/bare/ports/Quillbarrow.sh" > /dev/null 2>&1 || rc=$?
check "with no screen to open, log.txt says why in one line of the game's and the script ends" \
    '[ "$rc" != 137 ] && [ "$(grep -c "^quillbarrow: " "$scratch/bare/ports/quillbarrow/log.txt")" = 1 ] &&
     grep -q "^quillbarrow: cannot open the game window: " "$scratch/bare/ports/quillbarrow/log.txt"'

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
