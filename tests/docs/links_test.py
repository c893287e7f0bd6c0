#!/usr/bin/env python3
"""Every relative link in README.md and docs/*.md leads to a file of the tree, and every
anchor to a heading of its page, as the repository's web view makes anchors of them.

  tests/docs/links_test.py ROOT
"""
import glob
import os
import re
import sys
import unittest

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)")
FENCE = re.compile(r"^```.*?^```", re.MULTILINE | re.DOTALL)
CODE = re.compile(r"`[^`\n]*`")


def pages():
    return [os.path.join(ROOT, "README.md")] + sorted(glob.glob(os.path.join(ROOT, "docs", "*.md")))


def without_code_blocks(path):
    with open(path, encoding="utf-8") as f:
        return FENCE.sub("", f.read())


def prose(path):
    """The page without its code, where brackets are no links."""
    return CODE.sub("", without_code_blocks(path))


def anchors(path):
    """A heading's anchor: lower case, without punctuation but - and _, spaces as -, and
    -1, -2, ... after the first of the same text."""
    seen = {}
    for heading in re.findall(r"^#{1,6}\s+(.*?)\s*#*\s*$", without_code_blocks(path), re.MULTILINE):
        slug = re.sub(r"[^\w\- ]", "", heading.replace("`", "").lower()).replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        yield slug if count == 0 else f"{slug}-{count}"


class Links(unittest.TestCase):
    def test_every_relative_link_and_anchor_resolves(self):
        self.assertGreater(len(pages()), 1)
        for page in pages():
            for target in LINK.findall(prose(page)):
                if re.match(r"[a-z]+:", target):  # https:, mailto:
                    continue
                with self.subTest(page=os.path.relpath(page, ROOT), link=target):
                    path, _, anchor = target.partition("#")
                    linked = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
                    self.assertTrue(os.path.exists(linked), "no such file")
                    if anchor:
                        self.assertTrue(linked.endswith(".md"), "an anchor into a file that is no page")
                        self.assertIn(anchor, list(anchors(linked)), "no such heading")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
