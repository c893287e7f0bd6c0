#!/usr/bin/env python3
"""ppihost on a terminal (a pseudo-terminal under Wine's console): Japanese names come
out as UTF-8 through the console, a run draws its progress bar, and Ctrl+C (SIGINT
under Wine) ends a run with exit code 130 and no temporary file."""
import os
import pty
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
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


def last_line(output):
    """The last non-empty line of the output, its control sequences and carriage returns
    left out: whatever a carriage return would draw over stays in the line."""
    text = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", output).replace("\r", "")
    return [l for l in text.split("\n") if l][-1]


def write_noise_bmp(path, width=4000, height=3000):
    """A 24-bit BMP of noise: it compresses badly, so encoding and writing it take a
    while, and it decodes fast."""
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + width * height * 3, 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                            width * height * 3, 2835, 2835, 0, 0))
        f.write(os.urandom(width * height * 3))


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

    def test_batch_draws_one_bar(self):
        with tempfile.TemporaryDirectory() as folder:
            inputs = [os.path.join(folder, f"p{i}.png") for i in range(3)]
            for name in inputs:
                shutil.copy(os.path.join(ROOT, "samples", "gradient.png"), name)
            out = os.path.join(folder, "out")
            os.mkdir(out)
            code, output = on_terminal("run", PLUGIN, "post", *inputs, "--out-dir", out)
            self.assertEqual(code, 0, output)
            # One bar for the batch, not one per picture, and the summary after it.
            self.assertEqual(output.count("100%"), 1, output)
            self.assertIn("#" * 30 + "] 100%  3/3", output)
            self.assertEqual(last_line(output), "ppihost: 3 written, 0 failed")
            self.assertEqual(sorted(os.listdir(out)), ["p0.png", "p1.png", "p2.png"])

    def test_interrupt_in_a_batch(self):
        """SIGINT once the first picture is written: the others in flight leave no
        temporary file, and no new one begins."""
        with tempfile.TemporaryDirectory() as folder:
            for i in range(6):
                write_noise_bmp(os.path.join(folder, f"noise{i}.bmp"), 3000, 2000)
            out = os.path.join(folder, "out")
            os.mkdir(out)
            code, output = on_terminal("run", PLUGIN, "solar", os.path.join(folder, "*.bmp"),
                                       "--out-dir", out, "--format", "tiff", "--jobs", "2",
                                       when=b"1/6", then=lambda p: p.send_signal(signal.SIGINT))
            self.assertEqual(code, 130, output)
            self.assertRegex(last_line(output),
                             r"^ppihost: interrupted; [1-5] of 6 pictures were written$", output)
            self.assertTrue(all(n.endswith(".tif") for n in os.listdir(out)), os.listdir(out))
            self.assertLess(len(os.listdir(out)), 6)

    def test_interrupt_while_filtering(self):
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "noise.bmp")
            write_noise_bmp(source)
            code, output = on_terminal("run", PLUGIN, "solar", source,
                                       os.path.join(folder, "out.png"),
                                       when=b"Solarization [",
                                       then=lambda p: p.send_signal(signal.SIGINT))
            self.assertEqual(code, 130, output)
            # On a line of its own, and the last: the progress bar neither leads it nor
            # is drawn again after it.
            self.assertTrue(last_line(output).startswith("ppihost: interrupted"), output)
            self.assertEqual(os.listdir(folder), ["noise.bmp"])

    def test_interrupt_while_writing(self):
        """SIGINT once the temporary file has grown: the write stops and the file goes."""
        with tempfile.TemporaryDirectory() as folder:
            source = os.path.join(folder, "noise.bmp")
            target = os.path.join(folder, "out.tif")
            temporary = target + ".ppihost-tmp"
            write_noise_bmp(source)
            # The 48 MB file is written in 1 MiB blocks; the signal goes while most of
            # them are still to come. Should the polling miss that moment, the run
            # completes and is tried again.
            for _ in range(5):
                process = subprocess.Popen(
                    [os.path.join(ROOT, "tools", "wine-run"), HOST, "run", PLUGIN, "cut",
                     source, target], stdin=subprocess.DEVNULL, stderr=subprocess.PIPE)
                caught = False
                while process.poll() is None and not caught:
                    try:
                        size = os.path.getsize(temporary)
                        if size >= 16 << 20:
                            break
                        caught = size > 0
                    except OSError:
                        time.sleep(0.001)
                if caught:
                    process.send_signal(signal.SIGINT)
                error = process.communicate(timeout=60)[1].decode()
                if caught:
                    break
                self.assertEqual(process.returncode, 0, error)
                os.remove(target)
            self.assertTrue(caught, "the temporary file was never seen")
            self.assertEqual(process.returncode, 130, error)
            self.assertEqual(error, "ppihost: interrupted; " + target + " was not written\n")
            self.assertEqual(os.listdir(folder), ["noise.bmp"])

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
