#!/usr/bin/python3
"""A stand-in for gptokeyb, the port collection's pad mapper, in the handheld test.

    gptokeyb.py [-1] NAME -c MAPPING

It reads MAPPING as gptokeyb reads a .gptk file ("button = key" lines, # comments,
\\" for no key), and turns the pad's buttons, which the test presses by writing
"down BUTTON" and "up BUTTON" lines into the pipe $TEST_PAD, into the mapped keys of the
X display (with xdotool, as a keyboard would type them). Hotkey (Guide on the stand-in
device) + Start ends the game as gptokeyb does: SIGTERM to every process whose command
line matches NAME, a wait of up to 3 s, then SIGKILL. Unlike gptokeyb it looks only in its
own session, so that it never touches anything but the game it serves, and it says in
$TEST_RECORDS/calls when the quit came and how the game ended.
"""
import os
import re
import signal
import subprocess
import sys
import time

# gptokeyb's key names and the X key names xdotool types for them.
X_KEYS = {
    "up": "Up", "down": "Down", "left": "Left", "right": "Right", "enter": "Return", "esc": "Escape",
    "space": "space", "tab": "Tab", "backspace": "BackSpace", "leftctrl": "Control_L", "ctrl": "Control_L",
    "rightctrl": "Control_R", "leftalt": "Alt_L", "alt": "Alt_L", "rightalt": "Alt_R", "leftshift": "Shift_L",
    "shift": "Shift_L", "rightshift": "Shift_R", "home": "Home", "end": "End", "pageup": "Prior",
    "pagedown": "Next", "insert": "Insert", "delete": "Delete",
}
X_KEYS.update({c: c for c in "abcdefghijklmnopqrstuvwxyz0123456789"})
X_KEYS.update({f"f{n}": f"F{n}" for n in range(1, 13)})

# The stand-in device's hotkey. (Where it is Select, gptokeyb sends Start only as a
# 16 ms tap when Start is let go, too short for every 25 ms frame to see; the game reads
# Start from the pad itself there.)
HOTKEY = "guide"

# gptokeyb's own choice for a button the file does not name.
DEFAULTS = {"back": "esc", "start": "enter", "guide": "enter", "a": "x", "b": "z", "x": "c", "y": "a",
            "l1": "rightshift", "r1": "leftshift", "l2": "home", "r2": "end", "left_analog_up": "w",
            "left_analog_down": "s", "left_analog_left": "a", "left_analog_right": "d",
            "a_hk": "enter", "b_hk": "esc", "l1_hk": "esc"}


def record(line):
    with open(os.path.join(os.environ["TEST_RECORDS"], "calls"), "a") as calls:
        calls.write(line + "\n")


def read_mapping(path):
    mapping = dict(DEFAULTS)
    with open(path) as lines:
        for line in lines:
            line = line.split("#", 1)[0].strip()
            if "=" not in line:
                continue
            button, key = (part.strip() for part in line.split("=", 1))
            mapping[button] = None if key == '\\"' else key
    return mapping


def matching(name):
    """The processes of this session, but this one, whose command line matches name."""
    found, session = [], os.getsid(0)
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as f:
                command = f.read().replace(b"\0", b" ").decode(errors="replace")
            if int(pid) != os.getpid() and os.getsid(int(pid)) == session and re.search(name, command):
                found.append(int(pid))
        except (OSError, ValueError):
            pass
    return found


def quit_game(name):
    # The launch script's pm_finish stops this mapper as soon as the game has ended;
    # its SIGTERM waits until the end is written down.
    signal.pthread_sigmask(signal.SIG_BLOCK, {signal.SIGTERM})
    quit_at = time.monotonic()
    record(f"gptokeyb quit {time.time():.3f}")
    for pid in matching(name):
        os.kill(pid, signal.SIGTERM)
    while matching(name) and time.monotonic() - quit_at < 3:
        time.sleep(0.02)
    left = matching(name)
    for pid in left:
        os.kill(pid, signal.SIGKILL)
    record(f"gptokeyb {'killed' if left else 'gone'} {time.monotonic() - quit_at:.3f}")
    signal.pthread_sigmask(signal.SIG_UNBLOCK, {signal.SIGTERM})


def main():
    args = [a for a in sys.argv[1:] if a not in ("-1", "-k", "-sudokill")]
    name, mapping = args[0], read_mapping(args[args.index("-c") + 1])
    with open(os.path.join(os.environ["TEST_RECORDS"], "gptokeyb.pid"), "w") as f:
        f.write(str(os.getpid()))
    record(f"gptokeyb {' '.join(sys.argv[1:])}")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    held = set()
    with open(os.environ["TEST_PAD"]) as pad:
        for line in pad:
            action, button = line.split()
            if action == "down":
                held.add(button)
            else:
                held.discard(button)
            if button == "start" and action == "down" and HOTKEY in held:
                quit_game(name)
                continue
            key = X_KEYS.get(mapping.get(button) or "")
            if key is not None and button != HOTKEY:
                subprocess.run(["xdotool", "keydown" if action == "down" else "keyup", key], check=False)


if __name__ == "__main__":
    main()
