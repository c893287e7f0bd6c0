#!/usr/bin/env python3
"""Checks that a module runs on a plain i686 processor until it has asked for more.

    check_simd_confinement.py OBJDUMP NM MODULE LIBRARY

- No MMX, SSE or AVX instruction lies in the module outside the SIMD rows (functions
  named ...RowSse2/...RowAvx2 or in simd_row::), which run only on a processor that
  has them.
- The SIMD objects in LIBRARY (rows_ and checker_sums_, each _sse2 and _avx2) define
  no other external symbol.
  Anything else (an inline function shared with other files, say) would be one copy
  for the whole module, which the linker may take from the SIMD object: its scalar
  code may then use instructions (popcnt, say) that no vector register gives away.

Prints each offence and exits 1; exits 0 with a one-line summary otherwise.
"""
import re
import subprocess
import sys

# Registers of the vector units, and the SSE/SSE2 instructions that name none.
VECTOR_OPERAND = re.compile(r"%(x|y|z)mm\d|%mm\d")
VECTOR_MNEMONICS = {"sfence", "lfence", "mfence", "movnti", "clflush", "ldmxcsr", "stmxcsr",
                    "prefetchnta", "prefetcht0", "prefetcht1", "prefetcht2", "vzeroupper",
                    "vzeroall", "emms", "femms", "fxsave", "fxrstor"}
ALLOWED = re.compile(r"Row(Sse2|Avx2)\(|simd_row::")
FUNCTION = re.compile(r"^[0-9a-f]+ <(.*)>:$")


SIMD_OBJECT = re.compile(r"^(rows|checker_sums)_(sse2|avx2)\b.*:$")
SIMD_OBJECTS = 4
ROW_ENTRY = re.compile(r"^\w+Row(Sse2|Avx2)\(")


def foreign_simd_symbols(nm, library):
    """External symbols that the SIMD objects define besides their rows."""
    listing = subprocess.run([nm, "-g", "--defined-only", "-C", library],
                             check=True, capture_output=True, text=True).stdout
    member, found, foreign = None, 0, []
    for line in listing.splitlines():
        if line.endswith(":"):
            member = line if SIMD_OBJECT.match(line) else None
            found += member is not None
            continue
        parts = line.split(" ", 2)
        if member and len(parts) == 3 and not ROW_ENTRY.match(parts[2]):
            foreign.append(f"{member[:-1]} defines {parts[2]}")
    return found, foreign


def main():
    objdump, nm, module, library = sys.argv[1:5]
    found, foreign = foreign_simd_symbols(nm, library)
    for offence in foreign:
        print(offence)
    if found != SIMD_OBJECTS:
        print(f"{library}: expected the {SIMD_OBJECTS} SIMD objects, found {found}")
        return 1
    if foreign:
        return 1
    listing = subprocess.run([objdump, "-d", "-C", "--no-show-raw-insn", module],
                             check=True, capture_output=True, text=True).stdout
    instruction = re.compile(r"^\s*[0-9a-f]+:\s+(\S+)\s*(.*)$")
    function, offenders, simd_functions = None, {}, set()
    for line in listing.splitlines():
        m = FUNCTION.match(line)
        if m:
            function = m.group(1)
            continue
        m = instruction.match(line)
        if not m or function is None:
            continue
        mnemonic, operands = m.group(1), m.group(2)
        if mnemonic in ("rep", "repz", "repnz", "lock") and operands:
            mnemonic, _, operands = operands.partition(" ")
        if not (VECTOR_OPERAND.search(operands) or mnemonic in VECTOR_MNEMONICS):
            continue
        if ALLOWED.search(function):
            simd_functions.add(function)
        else:
            offenders.setdefault(function, f"{mnemonic} {operands}".strip())
    if offenders:
        for function, example in sorted(offenders.items()):
            print(f"vector instruction outside the SIMD rows: {function}: {example}")
        return 1
    if not simd_functions:
        print(f"{module}: no SIMD rows found (no symbols?)")
        return 1
    print(f"{module}: vector instructions only in the {len(simd_functions)} SIMD row functions")
    return 0


if __name__ == "__main__":
    sys.exit(main())
