#!/usr/bin/env python3
"""Tests for scripts/make_ico.py: a round trip of a tiny image through the
.ico encoder, and rejection of malformed XPM input.

    python3 tests/ui/make_ico_test.py
"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SCRIPT = os.path.join(ROOT, "scripts", "make_ico.py")
sys.path.insert(0, os.path.dirname(SCRIPT))
sys.dont_write_bytecode = True   # keep scripts/ free of __pycache__
import make_ico  # noqa: E402

TINY = '''/* XPM */
static const char* const tiny_xpm[] = {
"3 2 3 1",
"  c None",
"r c #FF0000",
"b c #0000FF",
"r b",
"bbr"};
'''


def run(*args):
    return subprocess.run([sys.executable, SCRIPT, *args],
                          capture_output=True, text=True)


class RoundTrip(unittest.TestCase):
    def test_tiny_image(self):
        with tempfile.TemporaryDirectory() as tmp:
            xpm = os.path.join(tmp, "tiny.xpm")
            ico = os.path.join(tmp, "tiny.ico")
            with open(xpm, "w") as f:
                f.write(TINY)
            self.assertEqual(run(ico, xpm).returncode, 0)
            with open(ico, "rb") as f:
                data = f.read()

        self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, 1))
        w, h, colours, _, planes, bits, size, offset = \
            struct.unpack_from("<BBBBHHII", data, 6)
        self.assertEqual((w, h, colours, planes, bits), (3, 2, 16, 1, 4))
        self.assertEqual(offset + size, len(data))
        header = struct.unpack_from("<IiiHH", data, offset)
        self.assertEqual(header, (40, 3, 4, 1, 4))

        palette = [tuple(data[offset + 40 + 4 * i:offset + 43 + 4 * i])
                   for i in range(16)]   # stored as B, G, R
        # Black comes first (the transparent pixels use it), then the
        # colours in order of first use.
        self.assertEqual(palette[:3], [(0, 0, 0), (0, 0, 255), (255, 0, 0)])

        # Rows are stored bottom-up, four bytes each for both bitmaps.
        pixels = data[offset + 40 + 64:]
        def index(x, y):
            byte = pixels[(1 - y) * 4 + x // 2]
            return byte & 0x0F if x % 2 else byte >> 4
        def masked(x, y):
            return bool(pixels[8 + (1 - y) * 4] & (0x80 >> x))
        cases = [  # x, y, palette index, transparent
            (0, 0, 1, False), (1, 0, 0, True), (2, 0, 2, False),
            (0, 1, 2, False), (1, 1, 2, False), (2, 1, 1, False),
        ]
        for x, y, want_index, want_masked in cases:
            with self.subTest(x=x, y=y):
                self.assertEqual(index(x, y), want_index)
                self.assertEqual(masked(x, y), want_masked)


class Malformed(unittest.TestCase):
    def test_parser_rejects(self):
        cases = {
            "header": TINY.replace('"3 2 3 1"', '"3 2 3"'),
            "two chars per pixel": TINY.replace('"3 2 3 1"', '"3 2 3 2"'),
            "short row": TINY.replace('"bbr"', '"bb"'),
            "missing row": TINY.replace(',\n"bbr"', ""),
            "undefined colour": TINY.replace('"bbr"', '"bbx"'),
            "colour name": TINY.replace("#0000FF", "blue"),
            "no colour key": TINY.replace('"r c #FF0000"', '"r #FF0000"'),
            "duplicate key": TINY.replace('"b c #0000FF"', '"r c #0000FF"'),
        }
        for name, text in cases.items():
            with self.subTest(name):
                with self.assertRaises(make_ico.XpmError):
                    make_ico.parse_xpm(text)

    def test_too_many_colours(self):
        rows = [[(i, i, i) for i in range(1, 17)]]
        with self.assertRaises(make_ico.XpmError):
            make_ico.ico_entry(16, 1, rows)

    def test_command_line_reports_one_line(self):
        with tempfile.TemporaryDirectory() as tmp:
            xpm = os.path.join(tmp, "bad.xpm")
            ico = os.path.join(tmp, "bad.ico")
            with open(xpm, "w") as f:
                f.write(TINY.replace('"bbr"', '"bb"'))
            result = run(ico, xpm)
            self.assertEqual(result.returncode, 1)
            self.assertEqual(result.stderr.count("\n"), 1)
            self.assertIn("bad.xpm", result.stderr)
            self.assertFalse(os.path.exists(ico))


if __name__ == "__main__":
    unittest.main()
