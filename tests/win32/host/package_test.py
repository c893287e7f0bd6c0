#!/usr/bin/env python3
"""The release package as a user unpacks it: tools/package.sh run on the built
plug-in, then the zips' entries read back; and the same package built again from a copy
of the tree at another path, which must give the same bytes."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
import zlib

ROOT, PLUGIN, VERSION = sys.argv[1], sys.argv[2], sys.argv[3]


def package(plugin, out):
    result = subprocess.run([os.path.join(ROOT, "tools", "package.sh"), "--plugin", plugin,
                             "--out", out], capture_output=True, text=True)
    assert result.returncode == 0, result.stderr
    return result.stdout.split()


def pe_image(data):
    """The COFF header's symbol count and the sections' names and contents of a PE file."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0"
    count, symbols_at, symbols, optional_size = struct.unpack_from("<2xH4xIIH", data, pe + 4)
    strings_at = symbols_at + 18 * symbols
    sections = {}
    for i in range(count):
        raw_name, virtual_size, _, raw_size, raw_at = struct.unpack_from(
            "<8sIIII", data, pe + 24 + optional_size + 40 * i)
        name = raw_name.rstrip(b"\0")
        if name.startswith(b"/"):  # a long name, kept in the string table
            start = strings_at + int(name[1:])
            name = data[start:data.index(b"\0", start)]
        sections[name.decode()] = data[raw_at:raw_at + min(virtual_size, raw_size)]
    return symbols, sections


class ReleasePackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.TemporaryDirectory()
        cls.paths = package(PLUGIN, cls.out.name)
        cls.zip = zipfile.ZipFile(cls.paths[0])
        cls.symbols_zip = zipfile.ZipFile(cls.paths[1])
        cls.module = cls.zip.read("zuzovezu.ppi")
        cls.symbols = cls.symbols_zip.read("zuzovezu.ppi.debug")

    @classmethod
    def tearDownClass(cls):
        cls.zip.close()
        cls.symbols_zip.close()
        cls.out.cleanup()

    def test_named_after_the_version_with_the_symbols_beside(self):
        self.assertEqual([os.path.basename(p) for p in self.paths],
                         [f"zuzovezu-{VERSION}.zip", f"zuzovezu-{VERSION}-symbols.zip"])
        self.assertEqual(sorted(self.zip.namelist()), ["LICENSE.txt", "readme.txt", "zuzovezu.ppi"])
        self.assertEqual(self.symbols_zip.namelist(), ["zuzovezu.ppi.debug"])
        self.assertIsNone(self.zip.testzip())
        self.assertIsNone(self.symbols_zip.testzip())

    def test_module_is_the_built_plugin_stripped(self):
        with open(PLUGIN, "rb") as f:
            _, built = pe_image(f.read())
        symbols, packaged = pe_image(self.module)
        self.assertEqual(symbols, 0)
        self.assertEqual([n for n in packaged if n.startswith(".debug")], [])
        self.assertIn(".debug_info", built)
        # Code, data, imports, exports and resources as linked.
        loaded = {n: s for n, s in built.items() if not n.startswith(".debug")}
        self.assertEqual({n: s for n, s in packaged.items() if n != ".gnu_debuglink"}, loaded)

    def test_stripped_module_filters_as_the_linked_one(self):
        # Each module alone in a folder (no settings file: the defaults), run by the host.
        outputs = []
        for name, data in (("linked", open(PLUGIN, "rb").read()), ("packaged", self.module)):
            folder = os.path.join(self.out.name, name)
            os.makedirs(folder)
            with open(os.path.join(folder, "zuzovezu.ppi"), "wb") as f:
                f.write(data)
            output = os.path.join(folder, "out.png")
            result = subprocess.run([os.path.join(ROOT, "tools", "ppihost.sh"), "run",
                                     os.path.join(folder, "zuzovezu.ppi"), "posterization",
                                     os.path.join(ROOT, "samples", "gradient.png"), output],
                                    capture_output=True, text=True, stdin=subprocess.DEVNULL)
            self.assertEqual(result.returncode, 0, result.stderr)
            with open(output, "rb") as f:
                outputs.append(f.read())
        self.assertEqual(outputs[0], outputs[1])

    def test_symbols_file_is_the_one_the_module_links_to(self):
        link = pe_image(self.module)[1][".gnu_debuglink"]
        name, crc = link[:link.index(b"\0")], struct.unpack_from("<I", link, len(link) - 4)[0]
        self.assertEqual(name, b"zuzovezu.ppi.debug")
        self.assertEqual(crc, zlib.crc32(self.symbols))
        _, sections = pe_image(self.symbols)
        # The module's sections, laid out alike (their contents left out), and the debug ones.
        self.assertLessEqual(set(pe_image(self.module)[1]) - {".gnu_debuglink"}, set(sections))
        self.assertGreater(len(sections[".debug_info"]), 0)
        # The module's own code is described too, by paths relative to the tree.
        self.assertIn(b"./filters/filter.cpp", sections.get(".debug_line_str", b"") + sections[".debug_str"])

    def test_no_build_paths_in_module_or_symbols(self):
        for path in {os.path.realpath(ROOT), os.path.dirname(os.path.realpath(PLUGIN))}:
            self.assertNotIn(path.encode(), self.module)
            self.assertNotIn(path.encode(), self.symbols)

    def test_readme_is_shift_jis_with_crlf_and_documents_the_settings(self):
        raw = self.zip.read("readme.txt")
        text = raw.decode("cp932")  # raises when not Shift-JIS
        self.assertEqual(raw.count(b"\n"), raw.count(b"\r\n"))
        self.assertNotIn(b"\r\r", raw)
        self.assertTrue(text.startswith(f"zuzovezu {VERSION} - "), text[:40])
        for needed in ["zuzovezu.ppi", "zodederor.ini", "プラグインフォルダー",
                       "Windows XP SP3", "i686", "Pentium Pro", "SSE2", "AVX2",
                       "[Solarization]", "threshold=230", "channel=0",
                       "[Posterization]", "division=8",
                       "[CutLBit]", "rmask=1", "gmask=1", "bmask=1", "link=1", "preview=1",
                       "ソラリゼーション", "ポスタリゼーション", "下位ビット切り捨て"]:
            self.assertIn(needed, text)

    def test_licence_is_mit_for_the_project(self):
        text = self.zip.read("LICENSE.txt").decode("ascii")
        self.assertIn("MIT License", text)
        self.assertIn("Copyright (c) 2026 the zuzovezu project", text)

    def test_rebuilt_elsewhere_gives_the_same_bytes(self):
        # A copy of the tree at another path, configured as tools/build.sh does, and only
        # the module built: another source path, build path and build time.
        with tempfile.TemporaryDirectory() as work:
            source, build = os.path.join(work, "source"), os.path.join(work, "build")
            files = subprocess.run(["git", "-C", ROOT, "ls-files", "-z", "--cached", "--others",
                                    "--exclude-standard"], capture_output=True, check=True).stdout
            for name in filter(None, files.decode().split("\0")):
                if os.path.isfile(os.path.join(ROOT, name)):
                    os.makedirs(os.path.dirname(os.path.join(source, name)), exist_ok=True)
                    shutil.copy2(os.path.join(ROOT, name), os.path.join(source, name))
            subprocess.run(["cmake", "-S", source, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                            "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(source, "cmake", "toolchain-mingw-i686.cmake")],
                           check=True, capture_output=True)
            subprocess.run(["cmake", "--build", build, "--target", "zuzovezu", "-j", str(os.cpu_count() or 2)],
                           check=True, capture_output=True)
            out = os.path.join(work, "dist")
            again = package(os.path.join(build, "bin", "zuzovezu.ppi"), out)
            for first, second in zip(self.paths, again):
                with open(first, "rb") as a, open(second, "rb") as b:
                    self.assertTrue(a.read() == b.read(), f"{os.path.basename(first)} differs")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
