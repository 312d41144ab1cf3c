#!/bin/bash
# Quillbarrow for arm64 handhelds, started from the firmware's Ports menu through the
# port collection (PortMaster): its control folder says where the ports live and gives
# the pad mapper, gptokeyb, which turns the pad into the game's keys and ends the game
# on hotkey + Start. On a card where the two items were copied by hand, without the
# collection, the game still plays from the folder beside this script (it reads the pad
# itself; Select + Start quits) and log.txt says what was missing.

XDG_DATA_HOME=${XDG_DATA_HOME:-$HOME/.local/share}
if [ -d "/opt/system/Tools/PortMaster/" ]; then
  controlfolder="/opt/system/Tools/PortMaster"
elif [ -d "/opt/tools/PortMaster/" ]; then
  controlfolder="/opt/tools/PortMaster"
elif [ -d "$XDG_DATA_HOME/PortMaster/" ]; then
  controlfolder="$XDG_DATA_HOME/PortMaster"
else
  controlfolder="/roms/ports/PortMaster"
fi

if [ -f "$controlfolder/control.txt" ]; then
  source "$controlfolder/control.txt"
  [ -f "$controlfolder/mod_${CFW_NAME}.txt" ] && source "$controlfolder/mod_${CFW_NAME}.txt"
  get_controls
  GAMEDIR="/$directory/ports/quillbarrow"
else
  missing="no $controlfolder/control.txt of the port collection"
  GAMEDIR="$(cd "$(dirname "$0")" && pwd)/quillbarrow"
  DEVICE_ARCH=aarch64
fi

cd "$GAMEDIR" || { echo "Quillbarrow: the game's folder $GAMEDIR is missing" >&2; exit 1; }
> "$GAMEDIR/log.txt" && exec > >(tee "$GAMEDIR/log.txt") 2>&1
[ -n "$missing" ] && echo "Quillbarrow: $missing, so no gptokeyb: the game reads the pad itself"

# The best score stays with the port, in conf/: the game keeps it in $HOME/.Quillbarrow,
# so HOME points at conf for the game alone. Unlike bind_directories, that needs no
# root, leaves no mount, link or folder in the real home and works without the
# collection too. XAUTHORITY keeps the real home's X login where a firmware draws
# through X.
mkdir -p "$GAMEDIR/conf"
export LD_LIBRARY_PATH="$GAMEDIR/libs.${DEVICE_ARCH}:$LD_LIBRARY_PATH"
export SDL_GAMECONTROLLERCONFIG="${sdl_controllerconfig:-$SDL_GAMECONTROLLERCONFIG}"
$ESUDO chmod +x "$GAMEDIR/quillbarrow.${DEVICE_ARCH}"

if [ -z "$missing" ]; then
  $GPTOKEYB "quillbarrow.${DEVICE_ARCH}" -c "./quillbarrow.gptk" &
  pm_platform_helper "$GAMEDIR/quillbarrow.${DEVICE_ARCH}"
fi
XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}" HOME="$GAMEDIR/conf" ./quillbarrow.${DEVICE_ARCH}
if [ -z "$missing" ]; then
  pm_finish
fi
