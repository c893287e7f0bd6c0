#!/usr/bin/env python3
"""Replaces one generated block of a page (README.md, or one in docs/) with standard
input.

  tools/readme_block.py PAGE NAME < TEXT

The block runs from the line "<!-- NAME: COMMAND -->", which names the command that
makes it, to the line "<!-- end of NAME -->"; both lines stay.
"""
import sys

readme, name = sys.argv[1:3]
body = sys.stdin.read()
if body and not body.endswith("\n"):
    body += "\n"
with open(readme, encoding="utf-8") as f:
    lines = f.readlines()
start = next(i for i, line in enumerate(lines) if line.startswith(f"<!-- {name}: "))
end = lines.index(f"<!-- end of {name} -->\n", start)
with open(readme, "w", encoding="utf-8") as f:
    f.write("".join(lines[:start + 1]) + body + "".join(lines[end:]))
