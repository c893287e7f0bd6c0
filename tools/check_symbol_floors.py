#!/usr/bin/env python3
"""Checks that no floor links to a floor above it.

    check_symbol_floors.py NM ROOT OBJECT_OR_ARCHIVE...

An include that runs upwards is caught by include_graph.py; this catches the arrow the
includes cannot show: a symbol that a lower floor's object uses and only a higher
floor's object defines (a function declared low and defined high, or a vtable that
names such a function). Each object's floor is the folder its source lies in under
ROOT, found by the object's file name (name.cpp.obj).

Prints each offence and exits 1; exits 0 with a one-line summary otherwise.
"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from include_graph import FLOORS  # noqa: E402

# nm -A: "file.obj:ADDRESS KIND NAME", or "library.a:member.obj:..."; no address for U.
LINE = re.compile(r"^(?P<file>.+?\.obj):\s*(?:[0-9a-f]+)?\s+(?P<kind>\w)\s+(?P<name>\S+)$")


def floors_by_source(root):
    found = {}
    for floor in FLOORS:
        for _, _, files in os.walk(os.path.join(root, floor)):
            for name in files:
                found.setdefault(name, floor)
    return found


def main(argv):
    nm, root = argv[0], argv[1]
    # CMake hands an object library's objects as one ;-list; resources are not objects.
    inputs = [p for a in argv[2:] for p in a.split(";") if p.endswith((".obj", ".a"))]
    floor_of = floors_by_source(root)
    defined, used = {}, []
    listing = subprocess.run([nm, "-A", *inputs], check=True, capture_output=True, text=True).stdout
    for line in listing.splitlines():
        match = LINE.match(line)
        if not match:
            continue
        source = os.path.basename(match["file"].split(":")[-1])[:-len(".obj")]
        floor = floor_of.get(source)
        if floor is None:
            continue
        if match["kind"] == "U":
            used.append((floor, match["name"], source))
        elif match["kind"] in "TDRBWV":
            defined.setdefault(match["name"], (floor, source))
    offences = [(f, n, s, defined[n]) for f, n, s in used
                if n in defined and FLOORS.index(defined[n][0]) > FLOORS.index(f)]
    for floor, name, source, (up, at) in sorted(set(offences)):
        print(f"{source} ({floor}/) uses {name}, defined on a floor above in {at} ({up}/)")
    if offences:
        return 1
    print(f"no floor links upwards ({len(used)} uses of {len(defined)} symbols checked)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
