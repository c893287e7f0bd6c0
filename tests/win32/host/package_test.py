#!/usr/bin/env python3
"""The release package as a user unpacks it: tools/package.sh run on the built
plug-in, then the zip's entries read back."""
import os
import subprocess
import sys
import tempfile
import unittest
import zipfile

ROOT, PLUGIN, VERSION = sys.argv[1], sys.argv[2], sys.argv[3]


class ReleasePackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.TemporaryDirectory()
        result = subprocess.run([os.path.join(ROOT, "tools", "package.sh"), "--plugin", PLUGIN,
                                 "--out", cls.out.name], capture_output=True, text=True)
        assert result.returncode == 0, result.stderr
        cls.path = result.stdout.strip()
        cls.zip = zipfile.ZipFile(cls.path)

    @classmethod
    def tearDownClass(cls):
        cls.zip.close()
        cls.out.cleanup()

    def test_named_after_the_version_and_holds_three_files(self):
        self.assertEqual(os.path.basename(self.path), f"zuzovezu-{VERSION}.zip")
        self.assertEqual(sorted(self.zip.namelist()), ["LICENSE.txt", "readme.txt", "zuzovezu.ppi"])
        self.assertIsNone(self.zip.testzip())

    def test_holds_the_built_plugin_unchanged(self):
        with open(PLUGIN, "rb") as f:
            self.assertEqual(self.zip.read("zuzovezu.ppi"), f.read())

    def test_readme_is_shift_jis_with_crlf_and_documents_the_settings(self):
        raw = self.zip.read("readme.txt")
        text = raw.decode("cp932")  # raises when not Shift-JIS
        self.assertEqual(raw.count(b"\n"), raw.count(b"\r\n"))
        self.assertNotIn(b"\r\r", raw)
        self.assertTrue(text.startswith(f"zuzovezu {VERSION} - "), text[:40])
        for needed in ["zuzovezu.ppi", "zodederor.ini", "プラグインフォルダー",
                       "[Solarization]", "threshold=230", "channel=0",
                       "[Posterization]", "division=8",
                       "[CutLBit]", "rmask=1", "gmask=1", "bmask=1", "link=1", "preview=1",
                       "ソラリゼーション", "ポスタリゼーション", "下位ビット切り捨て"]:
            self.assertIn(needed, text)

    def test_licence_is_mit_for_the_project(self):
        text = self.zip.read("LICENSE.txt").decode("ascii")
        self.assertIn("MIT License", text)
        self.assertIn("Copyright (c) 2026 the zuzovezu project", text)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
