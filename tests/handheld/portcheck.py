#!/usr/bin/python3
"""Checks the handheld port's zip against the port collection's rules (gathered with
their sources in the packaging notes of the project's shared documents): what its
installer, its repository check and its website read.

    portcheck.py ZIP NOTICE GLIBC     (from the top of the tree, where ./data is)

GLIBC is the highest glibc version the game's files need, as objdump found it; the
port's min_glibc must say exactly that. Prints one line per rule broken and exits 1 if
any is; prints nothing else.
"""
import json
import os
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

GENRES = {"action", "adventure", "arcade", "casino/card", "fps", "platformer", "puzzle", "racing", "rhythm", "rpg",
          "simulation", "sports", "strategy", "visual novel", "other"}
BUTTONS = set("a b x y l1 l2 l3 r1 r2 r3 start back guide up down left right".split()) | {
    f"{stick}_analog_{way}" for stick in ("left", "right") for way in ("up", "down", "left", "right")} | {
    f"{b}_hk" for b in "a b x y l1 l2 r1 r2".split()}
KEYS = set("up down left right space esc enter backspace tab home end pageup pagedown insert delete shift leftshift "
           "rightshift ctrl leftctrl rightctrl alt leftalt rightalt mouse_left mouse_right".split()) | set(
    "abcdefghijklmnopqrstuvwxyz0123456789") | {f"f{n}" for n in range(1, 13)} | {'\\"'}
GAMEINFO_TAGS = {"path", "name", "image", "desc", "releasedate", "developer", "publisher", "genre", "players"}

broken = []


def rule(ok, what):
    if not ok:
        broken.append(what)


def main():
    archive, notice, glibc = zipfile.ZipFile(sys.argv[1]), open(sys.argv[2], "rb").read(), sys.argv[3]
    names = archive.namelist()
    files = {n for n in names if not n.endswith("/")}

    def read(name):  # a file that is missing is reported once, below, and read as empty
        return archive.read(name) if name in files else b""

    # The installer: a script and a directory at the top, no absolute or upward paths.
    top = {n.split("/", 1)[0] + ("/" if "/" in n else "") for n in names}
    rule(top == {"Quillbarrow.sh", "quillbarrow/"}, f"the top of the zip is {sorted(top)}")
    rule(not any(n.startswith("/") or ".." in n.split("/") for n in names), "a path leaves the ports folder")
    for name in ["port.json", "gameinfo.xml", "screenshot.png", "README.md", "quillbarrow.aarch64", "quillbarrow.gptk",
                 "libs.aarch64/"] + [f"data/{wav}" for wav in os.listdir("data")]:
        rule(f"quillbarrow/{name}" in names, f"quillbarrow/{name} is missing")

    # The launch script (its line endings are the committed file's): the collection's sudo,
    # no kill or trap of its own.
    script = read("Quillbarrow.sh")
    rule(script.startswith(b"#!/bin/bash\n"), "Quillbarrow.sh is not a bash script")
    code = b"\n".join(line.split(b"#", 1)[0] for line in script.splitlines())
    rule(not re.search(rb"(^|[^$A-Z_])sudo\b|\bpkill\b|\btrap\b", code), "Quillbarrow.sh runs sudo, pkill or trap")
    for word in (b"control.txt", b"get_controls", b"pm_platform_helper", b"pm_finish", b"$GPTOKEYB", b"$ESUDO",
                 b"log.txt", b"libs.${DEVICE_ARCH}", b"chmod +x"):
        rule(word in code, f"Quillbarrow.sh does not use {word.decode()}")

    # port.json: every field the tools and the website read, of the right kind.
    info = json.loads(read("quillbarrow/port.json") or b"{}")
    attr = info.get("attr", {})
    rule(isinstance(info.get("version"), int), "port.json: version is not a number")
    rule(info.get("name") == "quillbarrow.zip", "port.json: name is not the directory's name + .zip")
    rule(info.get("items") == ["Quillbarrow.sh", "quillbarrow"], "port.json: items are not the script and directory")
    rule("items_opt" in info and info["items_opt"] in (None, []), "port.json: items_opt")
    for field, kind in (("title", str), ("desc", str), ("inst", str), ("image", dict), ("rtr", bool), ("exp", bool),
                        ("reqs", list), ("store", list), ("availability", str), ("min_glibc", str)):
        rule(isinstance(attr.get(field), kind), f"port.json: attr.{field} is not a {kind.__name__}")
    rule(isinstance(attr.get("porter"), list) and attr["porter"] and all(isinstance(p, str) for p in attr["porter"]),
         "port.json: attr.porter is not a list of names")
    rule(attr.get("title") and attr.get("desc"), "port.json: no title or description")
    rule(isinstance(attr.get("genres"), list) and attr["genres"] and set(attr["genres"]) <= GENRES,
         f"port.json: genres {attr.get('genres')} not among the collection's")
    rule(attr.get("arch") == ["aarch64"], "port.json: arch is not aarch64")
    rule(attr.get("runtime") is None, "port.json: a native port needs no runtime")
    rule(attr.get("availability") in ("full", "demo", "free", "paid"), "port.json: availability")
    rule(attr.get("rtr") is True and attr.get("inst") == "", "port.json: not ready to run")
    for field in ("desc_md", "inst_md"):
        rule(field in attr and (attr[field] is None or isinstance(attr[field], str)), f"port.json: attr.{field}")
    rule(attr.get("min_glibc") == glibc, f"port.json: min_glibc {attr.get('min_glibc')} but the game needs {glibc}")

    # gameinfo.xml: the tags the collection's build reads, the script and the screenshot.
    games = ElementTree.fromstring(read("quillbarrow/gameinfo.xml") or b"<gameList/>")
    rule(games.tag == "gameList" and [g.tag for g in games] == ["game"], "gameinfo.xml: not one game in a gameList")
    for game in games:
        tags = [t.tag for t in game]
        rule(set(tags) <= GAMEINFO_TAGS and len(tags) == len(set(tags)), f"gameinfo.xml: tags {tags}")
        rule(game.findtext("path") == "./Quillbarrow.sh", "gameinfo.xml: path is not the script")
        rule(game.findtext("image") == "./quillbarrow/screenshot.png", "gameinfo.xml: image is not the screenshot")
        rule(game.findtext("name") == attr.get("title"), "gameinfo.xml: name is not the port's title")

    # The screenshot, 640 x 480; the README's sections; the licences, flat.
    shot = read("quillbarrow/screenshot.png")
    rule(shot[:8] == b"\x89PNG\r\n\x1a\n" and struct.unpack(">II", shot[16:24]) == (640, 480),
         "screenshot.png is not a 640 x 480 PNG")
    readme = read("quillbarrow/README.md").decode()
    for section in ("Thanks", "Notes", "Controls", "Compile"):
        rule(re.search(rf"^## {section}\b", readme, re.MULTILINE), f"README.md has no {section} section")
    licences = [n for n in files if n.startswith("quillbarrow/licenses/")]
    rule(all(re.fullmatch(r"quillbarrow/licenses/LICENSE\.[A-Za-z0-9.+_-]+\.txt", n) for n in licences),
         f"licences not named LICENSE.<component>.txt in one flat folder: {sorted(licences)}")
    rule(read("quillbarrow/licenses/LICENSE.quillbarrow.txt") == notice, "the game's licence is not NOTICE")
    libraries = [n for n in files if n.startswith("quillbarrow/libs.aarch64/")]
    rule(len(licences) >= 2 + len(libraries), "fewer licences than bundled libraries")

    # The pad mapping: gptokeyb's buttons and keys only (the player of the handheld test
    # finds whether they are the game's).
    for line in read("quillbarrow/quillbarrow.gptk").decode().splitlines():
        line = line.split("#", 1)[0].strip()
        if line:
            button, _, key = (part.strip() for part in line.partition("="))
            rule(button in BUTTONS and key in KEYS, f"quillbarrow.gptk: {line}")

    for line in broken:
        print("portcheck:", line)
    sys.exit(1 if broken else 0)


if __name__ == "__main__":
    main()
