# The stand-in port collection of the handheld test (tests/handheld_test.sh), installed
# as its control folder's control.txt: of what the collection's control.txt,
# device_info.txt and funcs.txt give a launch script, what ours reads, for a device whose
# ports live in $TEST_CARD/roms/ports and whose hotkey is Guide. Every call is written to
# $TEST_RECORDS/calls, outside the card.
# shellcheck shell=bash disable=SC2034  # the launch script reads these

directory="${TEST_CARD#/}/roms"
ESUDO=""
GPTOKEYB="gptokeyb -1"
CFW_NAME="StandIn"
DEVICE_ARCH="aarch64"

get_controls() {
  echo "get_controls" >> "$TEST_RECORDS/calls"
  sdl_controllerconfig="03000000000000000000000000000000,standin,a:b0,b:b1,back:b4,guide:b5,start:b6,"
}

pm_platform_helper() {
  echo "pm_platform_helper $*" >> "$TEST_RECORDS/calls"
}

# Says how the game ended (its exit status), then stops gptokeyb as the collection does.
pm_finish() {
  echo "pm_finish $?" >> "$TEST_RECORDS/calls"
  [ -f "$TEST_RECORDS/gptokeyb.pid" ] && kill "$(cat "$TEST_RECORDS/gptokeyb.pid")" 2>/dev/null
}

# The stand-in for gptokeyb, the collection's pad mapper: gptokeyb -1 NAME -c MAPPING.
# It reads MAPPING as gptokeyb reads a .gptk file ("button = key" lines; \" for no key)
# and turns the pad's buttons, which the test presses by writing "down BUTTON" and "up
# BUTTON" lines into the pipe $TEST_PAD, into the mapped keys of the X display, typed by
# xdotool (of the keys the game reads; any other types nothing here). Hotkey (Guide) +
# Start ends the game as gptokeyb does: SIGTERM to every process whose command line
# matches NAME, a wait of up to 3 s, then SIGKILL; but it looks only in its own session,
# so that it never touches anything but the game it serves, and writes down how the game
# ended.
gptokeyb() {
  echo "gptokeyb $*" >> "$TEST_RECORDS/calls"
  echo "$BASHPID" > "$TEST_RECORDS/gptokeyb.pid"
  local -A x_keys=([up]=Up [down]=Down [left]=Left [right]=Right [enter]=Return [esc]=Escape [leftctrl]=Control_L
                   [leftalt]=Alt_L) mapped=()
  local button key action hotkey=up quit_at left end
  while IFS=" =" read -r button key; do
    [[ $button == [a-z]* ]] && mapped[$button]=${x_keys[$key]}
  done < "$4"
  while read -r action button; do
    [ "$button" = guide ] && hotkey=$action
    if [ "$button $action $hotkey" = "start down down" ]; then
      # pm_finish stops this mapper as soon as the game has ended: not before the end
      # is written down, and then its work is done.
      trap "" TERM
      quit_at=${EPOCHREALTIME/./}  # in microseconds
      # shellcheck disable=SC2046,SC2086  # one word a process
      kill -TERM $(pgrep -s 0 -f "$2") 2>/dev/null
      while pgrep -s 0 -f "$2" > /dev/null && (( ${EPOCHREALTIME/./} - quit_at < 3000000 )); do
        sleep 0.02
      done
      end=gone
      # shellcheck disable=SC2086  # one word a process
      left=$(pgrep -s 0 -f "$2") && kill -KILL $left && end=killed
      echo "gptokeyb $end $(((${EPOCHREALTIME/./} - quit_at) / 1000)) ms" >> "$TEST_RECORDS/calls"
      return
    elif [ -n "${mapped[$button]}" ] && [ "$button" != guide ]; then
      xdotool "key$action" "${mapped[$button]}"
    fi
  done < "$TEST_PAD"
}
