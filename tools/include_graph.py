#!/usr/bin/env python3
"""Prints which top-level folder includes which, with the number of include lines.

  tools/include_graph.py [ROOT]           the graph between folders
  tools/include_graph.py --check [ROOT]   also fails on an include that runs up a floor

The floors, lowest first. A file may include its own folder and the floors below it;
an include upwards (which is also what any circle between folders needs) fails --check.
A folder in ONLY_FROM may include just the floors it names: ppihost is a host of any
plug-in, and knows of this one no more than the host interface.
"""
import os
import re
import sys
from collections import Counter

FLOORS = ["base", "resources", "settings", "filters", "dialogs", "plugin", "ppihost", "tools", "tests"]
ONLY_FROM = {"ppihost": {"base"}}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]*"', re.MULTILINE)
SOURCES = (".h", ".cpp", ".rc")


def includes_between_folders(root):
    """(file, included file, its folder, included folder) for every cross-folder include."""
    for top in FLOORS:
        for directory, _, files in sorted(os.walk(os.path.join(root, top))):
            for name in sorted(files):
                if not name.endswith(SOURCES):
                    continue
                path = os.path.join(directory, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    text = f.read()
                for match in INCLUDE.finditer(text):
                    to = match.group(1)
                    # Paths from the project's root name a floor; others stay in the folder.
                    if to in FLOORS and to != top:
                        yield os.path.relpath(path, root), text[match.start(1):match.end()].rstrip('"'), top, to


def main(argv):
    check = "--check" in argv
    args = [a for a in argv if a != "--check"]
    root = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    found = list(includes_between_folders(root))
    counts = Counter((a, b) for _, _, a, b in found)
    for (a, b), n in sorted(counts.items(), key=lambda e: (FLOORS.index(e[0][0]), FLOORS.index(e[0][1]))):
        print(f"{a:>9} -> {b:<9} {n}")
    upward = [(f, t) for f, t, a, b in found
              if FLOORS.index(b) > FLOORS.index(a) or b not in ONLY_FROM.get(a, {b})]
    if not check:
        return 0
    for f, t in upward:
        print(f"forbidden include: {f} includes {t}")
    return 1 if upward else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
