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
- No function of the module can leave with non-temporal stores (movnt*, maskmov*)
  not yet fenced: every way from such a store to a return or a jump out of the
  function passes an sfence (or mfence). Without one, what the host reads next, or
  another thread, may not see the streamed bytes yet.

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
FUNCTION = re.compile(r"^([0-9a-f]+) <(.*)>:$")
INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\s+(\S+)\s*(.*)$")
PREFIXES = {"rep", "repz", "repnz", "repe", "repne", "lock", "bnd", "notrack"}

STREAMING_STORE = re.compile(r"^v?(movnt|maskmov)")
FENCES = {"sfence", "mfence"}
JUMP_TARGET = re.compile(r"^([0-9a-f]+)\b")

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


def functions(listing):
    """The functions of an objdump -d -C listing: {name: [(address, mnemonic, operands)]}."""
    found, name = {}, None
    for line in listing.splitlines():
        m = FUNCTION.match(line)
        if m:
            # The linker puts the exception tables into .text too: data, which objdump
            # decodes as whatever instructions its bytes happen to spell.
            name = None if m.group(2) == ".gcc_except_table" else m.group(2)
            if name in found:  # a label seen before (.text, say): a block of its own
                name = f"{name} (again at {int(m.group(1), 16):#x})"
            if name is not None:
                found[name] = []
            continue
        m = INSTRUCTION.match(line)
        if not m or name is None:
            continue
        mnemonic, operands = m.group(2), m.group(3)
        while mnemonic in PREFIXES and operands:
            mnemonic, _, operands = operands.partition(" ")
            operands = operands.strip()
        found[name].append((int(m.group(1), 16), mnemonic, operands))
    return found


def vector_offences(found):
    """Functions outside the SIMD rows that use vector instructions, with an example, and
    the SIMD row functions that do."""
    offenders, simd_functions = {}, set()
    for function, instructions in found.items():
        for _, mnemonic, operands in instructions:
            if not (VECTOR_OPERAND.search(operands) or mnemonic in VECTOR_MNEMONICS):
                continue
            if ALLOWED.search(function):
                simd_functions.add(function)
            else:
                offenders.setdefault(function, f"{mnemonic} {operands}".strip())
    return offenders, simd_functions


def successors(instructions, index, starts):
    """Where control goes after instructions[index]: indices in the function, and
    whether it may also leave the function there."""
    _, mnemonic, operands = instructions[index]
    following = [index + 1] if index + 1 < len(instructions) else []
    if mnemonic.startswith("ret"):
        return [], True
    if mnemonic in ("ud2", "hlt"):
        return [], False
    if not (mnemonic.startswith("j") or mnemonic.startswith("loop")):
        return following, False
    target = JUMP_TARGET.match(operands)
    inside = target and int(target.group(1), 16) in starts
    taken = [starts[int(target.group(1), 16)]] if inside else []
    leaves = not inside  # a jump to another function, or an indirect one
    return taken + (following if mnemonic != "jmp" else []), leaves


def unfenced_exits(instructions):
    """Addresses where the function may leave with streamed stores not yet fenced."""
    starts = {address: i for i, (address, _, _) in enumerate(instructions)}
    unfenced = set()  # instructions reached with stores unfenced
    pending = [i for i, (_, m, _) in enumerate(instructions) if STREAMING_STORE.match(m)]
    exits = []
    while pending:
        index = pending.pop()
        nexts, leaves = successors(instructions, index, starts)
        if leaves and instructions[index][0] not in exits:
            exits.append(instructions[index][0])
        for n in nexts:
            if n not in unfenced and instructions[n][1] not in FENCES:
                unfenced.add(n)
                pending.append(n)
    return sorted(exits)


def streaming_offences(found):
    """{function: [address, ...]} of the ways out that miss the fence."""
    offences = {}
    for function, instructions in found.items():
        exits = unfenced_exits(instructions)
        if exits:
            offences[function] = exits
    return offences


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
    found = functions(listing)
    offenders, simd_functions = vector_offences(found)
    unfenced = streaming_offences(found)
    for function, example in sorted(offenders.items()):
        print(f"vector instruction outside the SIMD rows: {function}: {example}")
    for function, exits in sorted(unfenced.items()):
        print(f"non-temporal stores not fenced before leaving: {function}: at "
              + ", ".join(f"{a:x}" for a in exits))
    if offenders or unfenced:
        return 1
    if not simd_functions:
        print(f"{module}: no SIMD rows found (no symbols?)")
        return 1
    print(f"{module}: vector instructions only in the {len(simd_functions)} SIMD row functions,"
          " every non-temporal store fenced")
    return 0


if __name__ == "__main__":
    sys.exit(main())
