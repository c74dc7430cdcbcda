#!/usr/bin/env python3
"""Draws the program icon (an alarm clock) at 32x32 and 16x16 and writes
both as XPM files next to this script.

The XPMs are checked in; this script records how they were made.  Run it
again after changing the artwork:

    python3 ui/icons/draw_icons.py

Each size is drawn separately with its own proportions, since shrinking
the large one would blur the hands and marks into noise.
"""

import math
import os
import sys

# One fixed palette of at most 16 entries for both sizes.  The key is the
# character used in the XPM pixel rows.
PALETTE = [
    (" ", "None"),     # transparent background
    (".", "#000000"),  # outlines and hands
    ("w", "#FFFFFF"),  # dial face
    ("r", "#E01010"),  # hour marks, centre cap
    ("l", "#D8D8D8"),  # rim highlight
    ("g", "#A0A0A0"),  # rim
    ("d", "#606060"),  # rim shadow, knob
    ("b", "#C0C0C0"),  # bells
    ("s", "#F0F0F0"),  # bell shine
]
COLOURS = {key for key, _ in PALETTE}


class Canvas:
    """A square grid of palette keys; pixel (x, y) covers [x, x+1) x [y, y+1)."""

    def __init__(self, size):
        self.size = size
        self.px = [[" "] * size for _ in range(size)]

    def put(self, x, y, c):
        if c not in COLOURS:
            raise ValueError("unknown colour key %r" % c)
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = c

    def disc(self, cx, cy, r, c, only=None):
        """Fill every pixel whose centre lies within r of (cx, cy).

        With `only`, just repaint pixels that currently hold that colour."""
        for y in range(self.size):
            for x in range(self.size):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    if only is None or self.px[y][x] == only:
                        self.put(x, y, c)

    def ring_shade(self, cx, cy, r_in, r_out, light, dark):
        """Light the upper-left half of a ring and darken the lower-right,
        so the rim reads as a raised bezel."""
        for y in range(self.size):
            for x in range(self.size):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                if r_in * r_in < dx * dx + dy * dy <= r_out * r_out:
                    # Projection on the light direction (from the upper left).
                    t = (-dx - dy) / math.hypot(dx, dy)
                    if t > 0.5:
                        self.put(x, y, light)
                    elif t < -0.5:
                        self.put(x, y, dark)

    def hand(self, cx, cy, degrees, length, half_width, c):
        """Fill pixels whose centre lies within half_width of the segment
        from (cx, cy) towards `degrees` clockwise from 12 o'clock."""
        a = math.radians(degrees)
        ux, uy = math.sin(a), -math.cos(a)
        for y in range(self.size):
            for x in range(self.size):
                px, py = x + 0.5 - cx, y + 0.5 - cy
                t = max(0.0, min(length, px * ux + py * uy))
                if math.hypot(px - t * ux, py - t * uy) <= half_width:
                    self.put(x, y, c)

    def rect(self, x0, y0, x1, y1, c):
        """Fill the inclusive pixel rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def dots(self, points, c):
        for x, y in points:
            self.put(x, y, c)

    def outline(self, inside, c):
        """Paint transparent pixels that touch (4-neighbour) a pixel of one
        of the `inside` colours, giving shapes a one-pixel border."""
        edge = []
        for y in range(self.size):
            for x in range(self.size):
                if self.px[y][x] != " ":
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    nx, ny = x + dx, y + dy
                    if 0 <= nx < self.size and 0 <= ny < self.size \
                            and self.px[ny][nx] in inside:
                        edge.append((x, y))
                        break
        self.dots(edge, c)

    def rows(self):
        return ["".join(row) for row in self.px]


def bell(cv, cx, cy, r, shine):
    """A bell seen from the front: a disc whose inner side the clock body
    will cover, plus a few shine pixels on its outer top."""
    cv.disc(cx, cy, r, "b")
    cv.dots(shine, "s")


def draw_32():
    cv = Canvas(32)
    cx, cy = 16.0, 18.0   # dial centre, low enough to leave room on top

    # Bells first; the body drawn afterwards hides their inner halves.
    bell(cv, 6.0, 7.5, 5.0, [(3, 6), (3, 5), (4, 4), (5, 4)])
    bell(cv, 26.0, 7.5, 5.0, [(28, 6), (28, 5), (27, 4), (26, 4)])
    # Knob: a short stem and a flat cap above the rim.
    cv.rect(15, 3, 16, 5, "d")
    cv.rect(13, 2, 18, 3, "d")
    cv.outline({"b", "s", "d"}, ".")

    # Body: black border, grey rim with a lit and a shaded side, white dial.
    cv.disc(cx, cy, 13.0, ".")
    cv.disc(cx, cy, 12.0, "g")
    cv.ring_shade(cx, cy, 10.0, 12.0, "l", "d")
    cv.disc(cx, cy, 10.0, ".")
    cv.disc(cx, cy, 9.0, "w")

    # Hour marks: 2x2 blocks at 12, 3, 6 and 9, single pixels elsewhere.
    cv.rect(15, 10, 16, 11, "r")
    cv.rect(15, 24, 16, 25, "r")
    cv.rect(8, 17, 9, 18, "r")
    cv.rect(22, 17, 23, 18, "r")
    for hour in (1, 2, 4, 5, 7, 8, 10, 11):
        a = math.radians(hour * 30)
        x = cx + 7.3 * math.sin(a)
        y = cy - 7.3 * math.cos(a)
        cv.put(int(x), int(y), "r")

    # Hands at 10:10: a short hour hand and a longer minute hand.
    cv.hand(cx, cy, 305, 4.0, 1.0, ".")
    cv.hand(cx, cy, 60, 6.5, 0.8, ".")
    cv.rect(15, 17, 16, 18, "r")   # centre cap
    return cv


def draw_16():
    cv = Canvas(16)
    # Centre on a pixel (7, 9) rather than between pixels, so one-pixel
    # hands and marks can be symmetric; the rightmost column stays empty.
    cx, cy = 7.5, 9.5

    bell(cv, 3.5, 3.5, 2.5, [(2, 2)])
    bell(cv, 11.5, 3.5, 2.5, [(12, 2)])
    cv.rect(6, 1, 8, 1, "d")       # knob cap
    cv.put(7, 2, "d")              # and stem
    cv.outline({"b", "s", "d"}, ".")

    # Radii just under whole numbers, so the circle gets no one-pixel
    # bumps at 12, 3, 6 and 9.
    cv.disc(cx, cy, 6.8, ".")
    cv.disc(cx, cy, 5.8, "g")
    cv.ring_shade(cx, cy, 4.8, 5.8, "l", "d")
    cv.disc(cx, cy, 4.8, "w")

    # Four one-pixel marks just inside the rim.
    cv.dots([(7, 5), (7, 13), (3, 9), (11, 9)], "r")

    # Hands at about 10:10; the minute hand is the longer one.
    cv.dots([(7, 9), (6, 8), (5, 7)], ".")
    cv.dots([(8, 8), (9, 8), (10, 7)], ".")
    return cv


def xpm_text(name, cv):
    keys = set("".join(cv.rows()))
    used = [(k, v) for k, v in PALETTE if k in keys]
    lines = ["/* XPM */",
             "/* Generated by ui/icons/draw_icons.py; edit that and rerun. */",
             "static const char* const %s[] = {" % name,
             '"%d %d %d 1",' % (cv.size, cv.size, len(used))]
    lines += ['"%s c %s",' % (k, v) for k, v in used]
    rows = cv.rows()
    lines += ['"%s"%s' % (row, "," if i + 1 < len(rows) else "")
              for i, row in enumerate(rows)]
    lines.append("};")
    return "\n".join(lines) + "\n"


def main():
    assert len(PALETTE) <= 16
    here = os.path.dirname(os.path.abspath(__file__))
    for size, draw in ((32, draw_32), (16, draw_16)):
        path = os.path.join(here, "orvendale-%d.xpm" % size)
        with open(path, "w", encoding="ascii", newline="\n") as f:
            f.write(xpm_text("orvendale_%d_xpm" % size, draw()))
        print("wrote", path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
