#!/usr/bin/env python3
"""The release packages as a user unpacks them: tools/package.sh run on the built
plug-in and host, then the zips' entries read back and run; and the same packages built
again from a copy of the tree at another path, which must give the same bytes."""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
import zlib

ROOT, PLUGIN, HOST, VERSION = sys.argv[1:5]
# Each package's name, its program and that program as linked.
PACKAGES = [("zuzovezu", "zuzovezu.ppi", PLUGIN), ("ppihost", "ppihost.exe", HOST)]


def package(plugin, host, out):
    result = subprocess.run([os.path.join(ROOT, "tools", "package.sh"), "--plugin", plugin,
                             "--host", host, "--out", out], capture_output=True, text=True)
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
        cls.paths = package(PLUGIN, HOST, cls.out.name)
        cls.zips, cls.programs, cls.symbols = {}, {}, {}
        for (name, program, _), path, symbols_path in zip(PACKAGES, cls.paths[::2], cls.paths[1::2]):
            with zipfile.ZipFile(path) as archive, zipfile.ZipFile(symbols_path) as symbols:
                cls.zips[name] = {entry: archive.read(entry) for entry in archive.namelist()}
                cls.programs[name] = cls.zips[name][program]
                cls.symbols[name] = symbols.read(program + ".debug")
                assert archive.testzip() is None and symbols.testzip() is None
                assert symbols.namelist() == [program + ".debug"], symbols.namelist()

    @classmethod
    def tearDownClass(cls):
        cls.out.cleanup()

    def test_named_after_the_version_with_the_symbols_beside(self):
        self.assertEqual([os.path.basename(p) for p in self.paths],
                         [f"{name}-{VERSION}{part}.zip" for name, _, _ in PACKAGES for part in ("", "-symbols")])
        for name, program, _ in PACKAGES:
            self.assertEqual(sorted(self.zips[name]), sorted(["LICENSE.txt", "readme.txt", program]))

    def test_programs_are_the_built_ones_stripped(self):
        for name, _, linked in PACKAGES:
            with self.subTest(name), open(linked, "rb") as f:
                _, built = pe_image(f.read())
                symbols, packaged = pe_image(self.programs[name])
                self.assertEqual(symbols, 0)
                self.assertEqual([n for n in packaged if n.startswith(".debug")], [])
                self.assertIn(".debug_info", built)
                # Code, data, imports, exports and resources as linked.
                loaded = {n: s for n, s in built.items() if not n.startswith(".debug")}
                self.assertEqual({n: s for n, s in packaged.items() if n != ".gnu_debuglink"}, loaded)

    def test_packaged_programs_run_the_readmes_folder_example_as_the_linked_ones(self):
        # The host readme's two commands for a folder, run as they stand beside the
        # programs, as linked and from the zips, on photos that the programs make.
        lines = self.zips["ppihost"]["readme.txt"].decode("cp932").splitlines()
        made = next(i for i, line in enumerate(lines) if line.strip().startswith("mkdir "))
        output_folder, command = lines[made].split()[1], lines[made + 1].split()
        self.assertEqual(command[:2], ["ppihost", "run"])
        outputs = {}
        for name, plugin, host in (("linked", open(PLUGIN, "rb").read(), open(HOST, "rb").read()),
                                   ("packaged", self.programs["zuzovezu"], self.programs["ppihost"])):
            folder = os.path.join(self.out.name, name)
            for made_folder in ("photos", output_folder):
                os.makedirs(os.path.join(folder, made_folder))
            for program, data in (("zuzovezu.ppi", plugin), ("ppihost.exe", host)):
                with open(os.path.join(folder, program), "wb") as f:
                    f.write(data)

            def run(*args):
                return subprocess.run([os.path.join(ROOT, "tools", "wine-run"), "ppihost.exe", *args],
                                      cwd=folder, capture_output=True, text=True, stdin=subprocess.DEVNULL)
            for photo, filter_name in (("a.jpg", "cut"), ("b.jpg", "solar")):
                self.assertEqual(run("run", "zuzovezu.ppi", filter_name, os.path.join(ROOT, "samples", "gradient.png"),
                                     os.path.join("photos", photo)).returncode, 0)
            result = run(*command[1:])
            self.assertEqual((result.returncode, result.stderr), (0, "ppihost: 2 written, 0 failed\n"), name)
            written = os.path.join(folder, output_folder)
            outputs[name] = {n: open(os.path.join(written, n), "rb").read() for n in sorted(os.listdir(written))}
        self.assertEqual(sorted(outputs["linked"]), ["a.png", "b.png"])
        self.assertTrue(outputs["linked"] == outputs["packaged"])

    def test_symbols_file_is_the_one_the_program_links_to(self):
        for name, program, own_source in (("zuzovezu", "zuzovezu.ppi", b"./filters/filter.cpp"),
                                          ("ppihost", "ppihost.exe", b"./ppihost/main.cpp")):
            with self.subTest(name):
                link = pe_image(self.programs[name])[1][".gnu_debuglink"]
                link_name, crc = link[:link.index(b"\0")], struct.unpack_from("<I", link, len(link) - 4)[0]
                self.assertEqual(link_name, program.encode() + b".debug")
                self.assertEqual(crc, zlib.crc32(self.symbols[name]))
                _, sections = pe_image(self.symbols[name])
                # The program's sections, laid out alike (their contents left out), and the debug ones.
                self.assertLessEqual(set(pe_image(self.programs[name])[1]) - {".gnu_debuglink"}, set(sections))
                self.assertGreater(len(sections[".debug_info"]), 0)
                # The program's own code is described too, by paths relative to the tree.
                self.assertIn(own_source, sections.get(".debug_line_str", b"") + sections[".debug_str"])

    def test_no_build_paths_in_programs_or_symbols(self):
        for path in {os.path.realpath(ROOT), os.path.dirname(os.path.realpath(PLUGIN))}:
            for name, _, _ in PACKAGES:
                self.assertNotIn(path.encode(), self.programs[name], name)
                self.assertNotIn(path.encode(), self.symbols[name], name)

    def test_readmes_are_shift_jis_with_crlf_and_say_what_users_need(self):
        # Every exit code of the host is explained, each on a line of its own.
        with open(os.path.join(ROOT, "ppihost", "exit_codes.h")) as f:
            exit_codes = re.findall(r"= (\d+);", f.read())
        needs = {
            "zuzovezu": ["zuzovezu.ppi", "zodederor.ini", "プラグインフォルダー",
                         "Windows XP SP3", "i686", "Pentium Pro", "SSE2", "AVX2",
                         "[Solarization]", "threshold=230", "channel=0",
                         "[Posterization]", "division=8",
                         "[CutLBit]", "rmask=1", "gmask=1", "bmask=1", "link=1", "preview=1",
                         "ソラリゼーション", "ポスタリゼーション", "下位ビット切り捨て"],
            "ppihost": ["ppihost.exe", "Windows XP SP3", "Windows Imaging Component", "Vista",
                        "ppihost list PLUGIN", "ppihost run PLUGIN FILTER INPUT OUTPUT",
                        "ppihost run PLUGIN FILTER INPUT... --out-dir DIR", "ppihost setup PLUGIN FILTER INPUT",
                        "--settings FILE", "--set SECTION.KEY=VALUE", "--version"]
                       + [f"\n{code} " for code in exit_codes],
        }
        for name, _, _ in PACKAGES:
            with self.subTest(name):
                raw = self.zips[name]["readme.txt"]
                text = raw.decode("cp932").replace("\r\n", "\n")  # raises when not Shift-JIS
                self.assertEqual(raw.count(b"\n"), raw.count(b"\r\n"))
                self.assertNotIn(b"\r\r", raw)
                self.assertTrue(text.startswith(f"{name} {VERSION} - "), text[:40])
                for needed in needs[name]:
                    self.assertIn(needed, text)

    def test_licence_is_mit_for_the_project(self):
        for name, _, _ in PACKAGES:
            text = self.zips[name]["LICENSE.txt"].decode("ascii")
            self.assertIn("MIT License", text)
            self.assertIn("Copyright (c) 2026 the zuzovezu project", text)

    def test_release_page_and_readme_quote_this_builds_sizes(self):
        # The build is reproducible, so the quoted sizes can be held to the byte.
        built = []
        for (name, _, linked), path, symbols_path in zip(PACKAGES, self.paths[::2], self.paths[1::2]):
            built += [os.path.getsize(linked), len(self.programs[name]), len(self.symbols[name]),
                      os.path.getsize(path), os.path.getsize(symbols_path)]
        with open(os.path.join(ROOT, "docs", "release.md"), encoding="utf-8") as f:
            page = f.read()
        block = page[page.index("<!-- sizes:"):page.index("<!-- end of sizes -->")]
        quoted = [int(n.replace(",", "")) for n in re.findall(r"\(([\d,]+) bytes\)", block)]
        with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as f:
            about = int(re.search(r"the stripped module, about (\d+) KiB", f.read()).group(1))
        stale = "differ from this build's: run tools/package.sh --readme"
        self.assertEqual(quoted, built, f"docs/release.md's sizes {stale}")
        self.assertEqual(about, round(len(self.programs["zuzovezu"]) / 10240) * 10,
                         f"README.md's size of the stripped module {stale}")

    def test_rebuilt_elsewhere_gives_the_same_bytes(self):
        # A copy of the tree at another path, configured as tools/build.sh does, and only
        # the programs built: another source path, build path and build time.
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
            subprocess.run(["cmake", "--build", build, "--target", "zuzovezu", "ppihost",
                            "-j", str(os.cpu_count() or 2)], check=True, capture_output=True)
            out = os.path.join(work, "dist")
            again = package(os.path.join(build, "bin", "zuzovezu.ppi"), os.path.join(build, "bin", "ppihost.exe"), out)
            for first, second in zip(self.paths, again):
                with open(first, "rb") as a, open(second, "rb") as b:
                    self.assertTrue(a.read() == b.read(), f"{os.path.basename(first)} differs")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
