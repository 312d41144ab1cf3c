#!/bin/sh
# Starts Quillbarrow from its installed data folder, since the game reads its sounds and
# music from ./data. The folders are found from where this script lies (PREFIX/games),
# so the game also runs from a copy of the installed tree.
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
home="$prefix/share/games/quillbarrow"
if [ ! -d "$home/data" ]; then
    echo "quillbarrow: the game's data folder $home/data is missing; reinstall the game" >&2
    exit 1
fi
cd "$home" && exec "$prefix/libexec/quillbarrow/quillbarrow"
