#!/usr/bin/python3
"""Checks the C library every ELF file of the handheld port needs, and says so in its
port.json: the port collection hides a port from a device whose glibc is older than the
port's min_glibc, so that number must be what the files really ask for.

    tools/arm64/elfcheck.py PORT_DIR MAX_GLIBC PORT_JSON

Every ELF file under PORT_DIR is read with objdump -p: the symbol versions it requires
from the libraries it is linked with. It fails when a file needs a GLIBC_ version above
MAX_GLIBC (the oldest firmware served, ArkOS, has 2.30), or any GLIBCXX_ or CXXABI_
version at all (the game links its C++ runtime in and ships no libstdc++). Otherwise it
writes the highest GLIBC_ version needed into attr.min_glibc of PORT_JSON and prints it.
"""
import json
import pathlib
import re
import subprocess
import sys


def version(name):
    """GLIBC_2.17 -> (2, 17)"""
    return tuple(int(part) for part in name.split("_", 1)[1].split("."))


def required_versions(path):
    """The version names path requires, from the Version References of objdump -p."""
    dump = subprocess.run(["aarch64-linux-gnu-objdump", "-p", str(path)], check=True,
                          capture_output=True, text=True).stdout
    references = dump.split("Version References:", 1)[1] if "Version References:" in dump else ""
    return set(re.findall(r"^\s+0x[0-9a-f]+ 0x[0-9a-f]+ \d+ (\S+)$", references, re.MULTILINE))


def main():
    port, limit, port_json = pathlib.Path(sys.argv[1]), version("GLIBC_" + sys.argv[2]), sys.argv[3]
    elves = sorted(p for p in port.rglob("*") if p.is_file() and not p.is_symlink()
                   and p.open("rb").read(4) == b"\x7fELF")
    if not elves:
        sys.exit(f"elfcheck: no ELF file in {port}")
    highest, failures = (0,), []
    for elf in elves:
        names = required_versions(elf)
        glibc = max((version(n) for n in names if n.startswith("GLIBC_") and n[6:7].isdigit()), default=(0,))
        cxx = sorted(n for n in names if n.startswith(("GLIBCXX_", "CXXABI_")))
        needs = ".".join(map(str, glibc))
        print(f"elfcheck: {elf.relative_to(port)} needs GLIBC_{needs}" + (f" and {', '.join(cxx)}" if cxx else ""))
        if glibc > limit:
            failures.append(f"{elf.name} needs GLIBC_{needs}, above {sys.argv[2]}")
        if cxx:
            failures.append(f"{elf.name} needs the device's libstdc++ ({', '.join(cxx)})")
        highest = max(highest, glibc)
    if failures:
        sys.exit("elfcheck: " + "; ".join(failures))
    with open(port_json) as f:
        info = json.load(f)
    info["attr"]["min_glibc"] = ".".join(map(str, highest))
    with open(port_json, "w") as f:
        json.dump(info, f, indent=2)
        f.write("\n")
    print(f"elfcheck: min_glibc {info['attr']['min_glibc']}")


if __name__ == "__main__":
    main()
