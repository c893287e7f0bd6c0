#!/usr/bin/env python3
"""The confinement check's rules on canned disassembly: streamed stores that can leave a
function unfenced are caught on every way out, and a fenced function passes however the
compiler lays its blocks out; the exception tables in .text are not taken for code."""
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import check_simd_confinement as checker  # noqa: E402

ROW = "CutLowBitsRowAvx2(unsigned char const*, unsigned char*, int)"
BASE = 0x65c0a000


def listing(*instructions):
    """objdump -d -C text for ROW; "@N" is the address of instruction N, "@away" one in
    another function."""
    lines = [f"{BASE:08x} <{ROW}>:"]
    for i, text in enumerate(instructions):
        for n in range(len(instructions) - 1, -1, -1):
            text = text.replace(f"@{n}", f"{BASE + 4 * n:x} <{ROW}+{4 * n:#x}>")
        text = text.replace("@away", "65c0f000 <memcpy>")
        mnemonic, _, operands = text.partition(" ")
        lines.append(f"{BASE + 4 * i:x}:\t{mnemonic:<6} {operands}".rstrip())
    lines.append("")
    lines.append("65c0f000 <memcpy>:")
    lines.append("65c0f000:\tret")
    return "\n".join(lines)


CASES = [
    # (what, listing, ways out that miss the fence, by instruction)
    ("fenced after the loop", listing(
        "test %ecx,%ecx", "jle @5", "vmovntdq %ymm0,(%edx)", "jne @2", "sfence", "vzeroupper", "ret"),
     []),
    ("the way out lies between the stores and the fence", listing(
        "vmovntdq %ymm0,(%edx)", "jne @0", "jmp @5", "vzeroupper", "ret", "sfence", "jmp @3"),
     []),
    ("the fence removed", listing(
        "test %ecx,%ecx", "jle @4", "vmovntdq %ymm0,(%edx)", "jne @2", "vzeroupper", "ret"),
     [5]),
    ("a branch around the fence", listing(
        "movntdq %xmm0,(%edx)", "cmp %eax,%ecx", "je @4", "sfence", "repz ret"),
     [4]),
    ("stores again after the fence", listing(
        "movntdq %xmm0,(%edx)", "sfence", "movnti %eax,(%edx)", "ret"),
     [3]),
    ("leaves by a tail call and by an indirect jump", listing(
        "maskmovdqu %xmm1,%xmm0", "test %eax,%eax", "je @away", "jmp *0x65c3d0ec(,%eax,4)"),
     [2, 3]),
    ("no streamed stores", listing("movdqa %xmm0,(%edx)", "ret"), []),
]


class FenceRule(unittest.TestCase):
    def test_every_way_out_after_a_streamed_store_passes_a_fence(self):
        for what, text, exits in CASES:
            with self.subTest(what):
                found = checker.streaming_offences(checker.functions(text))
                expected = {ROW: [BASE + 4 * i for i in exits]} if exits else {}
                self.assertEqual(found, expected)


class VectorRule(unittest.TestCase):
    def test_the_exception_tables_are_data_and_every_block_of_code_is_read(self):
        # A label may come again (the linker's .text between functions): each block counts.
        text = "\n".join([f"{BASE:08x} <.gcc_except_table>:", f"{BASE:x}:\tcvtps2pi 0x1970000,%mm7", "",
                          "65c0e000 <.text>:", "65c0e000:\tpxor   %xmm0,%xmm0", "",
                          "65c0f000 <memcpy>:", "65c0f000:\tmovq   %mm0,%mm1", "",
                          "65c0f100 <.text>:", "65c0f100:\tret"])
        offenders, _ = checker.vector_offences(checker.functions(text))
        self.assertEqual(offenders, {".text": "pxor %xmm0,%xmm0", "memcpy": "movq %mm0,%mm1"})


if __name__ == "__main__":
    unittest.main()
