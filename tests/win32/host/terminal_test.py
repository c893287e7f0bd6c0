#!/usr/bin/env python3
"""ppihost on a terminal (a pseudo-terminal under Wine's console): Japanese names come
out as UTF-8 through the console, a run draws its progress bar, and Ctrl+C (SIGINT
under Wine) ends a run with exit code 130 and no temporary file."""
import os
import pty
import select
import signal
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT, HOST, PLUGIN = sys.argv[1], sys.argv[2], sys.argv[3]


def on_terminal(*args, timeout=60, when=None, then=None):
    """Runs ppihost with all three standard streams on a pseudo-terminal; once `when`
    appears in the output, calls `then` with the process."""
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
        if when is not None and when in output:
            then(process)
            when = None
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

    def test_interrupt_leaves_no_temporary_file(self):
        with tempfile.TemporaryDirectory() as folder:
            # Noise, so that encoding the output takes seconds after the filter's
            # progress shows: the signal lands mid-run however fast the filter is.
            width, height = 4000, 3000
            source = os.path.join(folder, "noise.bmp")
            with open(source, "wb") as f:
                f.write(b"BM" + struct.pack("<IHHI", 54 + width * height * 3, 0, 0, 54))
                f.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                                    width * height * 3, 2835, 2835, 0, 0))
                f.write(os.urandom(width * height * 3))
            target = os.path.join(folder, "out.png")
            code, output = on_terminal("run", PLUGIN, "solar", source, target,
                                       when=b"Solarization [",
                                       then=lambda p: p.send_signal(signal.SIGINT))
            self.assertEqual(code, 130, output)
            self.assertIn("ppihost: interrupted", output)
            self.assertEqual(os.listdir(folder), ["noise.bmp"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
