#!/bin/sh
# Quillbarrow for arm64 handhelds. The firmware's Ports menu runs this script; the game
# lives in the quillbarrow folder beside it and reads its sounds from ./data there.
# (QUILLBARROW_WRAPPER, empty on a device, lets a test run the arm64 program under an
# emulator.)
here=$(dirname "$(readlink -f "$0")")
if ! cd "$here/quillbarrow" 2>/dev/null || [ ! -d data ]; then
    echo "Quillbarrow: the game's folder $here/quillbarrow or its data is missing; copy it again" >&2
    exit 1
fi
# shellcheck disable=SC2086  # the wrapper is a command and its arguments
exec $QUILLBARROW_WRAPPER ./quillbarrow
