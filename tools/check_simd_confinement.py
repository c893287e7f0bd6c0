#!/usr/bin/env python3
"""Checks that a module runs on a plain i686 processor until it has asked for more:
no MMX, SSE or AVX instruction lies outside the SIMD rows (functions named
...RowSse2/...RowAvx2 or in simd_row::), which run only on a processor that has them.

    check_simd_confinement.py OBJDUMP MODULE

Prints each offending function and exits 1; exits 0 with a one-line summary otherwise.
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


def main():
    objdump, module = sys.argv[1], sys.argv[2]
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
