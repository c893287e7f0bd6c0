#!/usr/bin/env python3
"""ppihost on a terminal (a pseudo-terminal under Wine's console): Japanese names come
out as UTF-8 through the console, and a run draws its progress bar."""
import os
import pty
import select
import subprocess
import sys
import tempfile
import unittest

ROOT, HOST, PLUGIN = sys.argv[1], sys.argv[2], sys.argv[3]


def on_terminal(*args, timeout=60):
    """Runs ppihost with all three standard streams on a pseudo-terminal."""
    master, slave = pty.openpty()
    process = subprocess.Popen([os.path.join(ROOT, "tools", "wine-run"), HOST, *args],
                               stdin=slave, stdout=slave, stderr=slave, close_fds=True)
    os.close(slave)
    output = b""
    while True:
        ready, _, _ = select.select([master], [], [], timeout)
        if not ready:
            process.kill()
            break
        try:
            chunk = os.read(master, 4096)
        except OSError:  # the terminal closes with the last process on it
            break
        if not chunk:
            break
        output += chunk
    os.close(master)
    return process.wait(), output.decode("utf-8", "replace")


class OnTerminal(unittest.TestCase):
    def test_list_prints_japanese_names(self):
        code, output = on_terminal("list", PLUGIN)
        self.assertEqual(code, 0, output)
        self.assertIn("Solarization... / ソラリゼーション...", output)
        self.assertIn("Cut Low Bit... / 下位ビット切り捨て...", output)

    def test_run_draws_a_progress_bar(self):
        with tempfile.TemporaryDirectory() as folder:
            target = os.path.join(folder, "out.png")
            code, output = on_terminal("run", PLUGIN, "post",
                                       os.path.join(ROOT, "samples", "gradient.png"), target)
            self.assertEqual(code, 0, output)
            self.assertIn("Posterization [", output)
            self.assertIn("#" * 30 + "] 100%", output)
            self.assertTrue(os.path.exists(target))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
