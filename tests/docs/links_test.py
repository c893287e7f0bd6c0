#!/usr/bin/env python3
"""Every relative link in README.md and docs/*.md leads to a file of the tree, and every
anchor to a heading of its page, named as the repository's web view names them."""
import glob
import os
import re
import sys
import unittest

ROOT = sys.argv[1]
LINK = re.compile(r"!?\[[^\]]*\]\(([^)\s]+)\)")
BLOCK = re.compile(r"^```.*?^```", re.MULTILINE | re.DOTALL)  # no links or headings in code
INLINE = re.compile(r"`[^`\n]*`")


def text(path):
    with open(path, encoding="utf-8") as f:
        return BLOCK.sub("", f.read())


def anchors(path):
    # Lower case, punctuation but - and _ dropped, spaces as -; a repeated one gets -1, -2...
    seen = {}
    for heading in re.findall(r"^#{1,6} +(.*?) *$", text(path), re.MULTILINE):
        slug = re.sub(r"[^\w\- ]", "", heading.replace("`", "").lower()).replace(" ", "-")
        seen[slug] = seen.get(slug, -1) + 1
        yield slug + (f"-{seen[slug]}" if seen[slug] else "")


class Links(unittest.TestCase):
    def test_every_relative_link_and_anchor_resolves(self):
        pages = [os.path.join(ROOT, "README.md")] + glob.glob(os.path.join(ROOT, "docs", "*.md"))
        self.assertGreater(len(pages), 1)
        for page in pages:
            for target in LINK.findall(INLINE.sub("", text(page))):
                if re.match(r"[a-z]+:", target):  # https:, mailto:
                    continue
                with self.subTest(page=os.path.relpath(page, ROOT), link=target):
                    path, _, anchor = target.partition("#")
                    linked = os.path.normpath(os.path.join(os.path.dirname(page), path)) if path else page
                    self.assertTrue(os.path.exists(linked), "no such file")
                    if anchor:
                        self.assertIn(anchor, list(anchors(linked)) if linked.endswith(".md") else [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=1)
