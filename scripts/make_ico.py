#!/usr/bin/env python3
"""Packs XPM images into a Windows .ico file, one 16-colour entry each.

    python3 scripts/make_ico.py OUTPUT.ico INPUT1.xpm [INPUT2.xpm ...]

Reads only the XPM subset that ui/icons/draw_icons.py writes: a
"W H NCOLORS 1" header, one character per pixel, and colours given as
#RRGGBB or None.  Each image becomes a 4-bit BMP entry with an AND mask
in which the None pixels are set.
"""

import re
import struct
import sys


class XpmError(Exception):
    pass


def parse_xpm(text):
    """Return (width, height, rows) where rows[y][x] is an (r, g, b) tuple
    or None for a transparent pixel."""
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    strings = re.findall(r'"([^"\\]*)"', text)
    if not strings:
        raise XpmError("no XPM strings found")
    header = strings[0].split()
    if len(header) != 4 or not all(f.isdigit() for f in header):
        raise XpmError("header must be \"W H NCOLORS 1\", got %r" % strings[0])
    width, height, ncolours, cpp = map(int, header)
    if cpp != 1:
        raise XpmError("only one character per pixel is supported")
    if not (1 <= width <= 256 and 1 <= height <= 256):
        raise XpmError("image size %dx%d is not 1..256" % (width, height))
    if len(strings) != 1 + ncolours + height:
        raise XpmError("expected %d colour and %d pixel strings, found %d"
                       % (ncolours, height, len(strings) - 1))

    colours = {}
    for line in strings[1:1 + ncolours]:
        fields = line[1:].split()
        if len(fields) != 2 or fields[0] != "c":
            raise XpmError("bad colour line %r" % line)
        if line[0] in colours:
            raise XpmError("colour character %r defined twice" % line[0])
        value = fields[1]
        if value.lower() == "none":
            colours[line[0]] = None
        elif re.fullmatch(r"#[0-9A-Fa-f]{6}", value):
            colours[line[0]] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
        else:
            raise XpmError("colour %r is not #RRGGBB or None" % value)

    rows = []
    for y, line in enumerate(strings[1 + ncolours:]):
        if len(line) != width:
            raise XpmError("pixel row %d has %d pixels, expected %d"
                           % (y, len(line), width))
        try:
            rows.append([colours[c] for c in line])
        except KeyError as e:
            raise XpmError("pixel row %d uses undefined colour %r"
                           % (y, e.args[0])) from None
    return width, height, rows


def ico_entry(width, height, rows):
    """Encode one image as the BMP data of an icon entry: header, 16-colour
    palette, 4-bit colour bitmap, 1-bit AND mask, both stored bottom-up."""
    # Index 0 is black: transparent pixels use it, so the colour bitmap
    # leaves the screen unchanged where the mask is set.
    palette = [(0, 0, 0)]
    for row in rows:
        for rgb in row:
            if rgb is not None and rgb not in palette:
                palette.append(rgb)
    if len(palette) > 16:
        raise XpmError("%d colours do not fit a 16-colour palette (black "
                       "counts as one)" % len(palette))
    palette += [(0, 0, 0)] * (16 - len(palette))

    colour_stride = (width * 4 + 31) // 32 * 4
    mask_stride = (width + 31) // 32 * 4
    colour_bits = bytearray()
    mask_bits = bytearray()
    for row in reversed(rows):
        line = bytearray(colour_stride)
        mask = bytearray(mask_stride)
        for x, rgb in enumerate(row):
            if rgb is None:
                mask[x // 8] |= 0x80 >> (x % 8)
            else:
                line[x // 2] |= palette.index(rgb) << (0 if x % 2 else 4)
        colour_bits += line
        mask_bits += mask

    # The height counts the colour bitmap and the mask together.
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0,
                         len(colour_bits) + len(mask_bits), 0, 0, 16, 0)
    quads = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    return header + quads + bytes(colour_bits) + bytes(mask_bits)


def build_ico(images):
    """images: a list of (width, height, rows) as parse_xpm returns."""
    data = [ico_entry(*image) for image in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (width, height, _), blob in zip(images, data):
        # A size of 256 is stored as 0.
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0,
                           1, 4, len(blob), offset)
        offset += len(blob)
    return out + b"".join(data)


def main(argv):
    if len(argv) < 3:
        print("usage: make_ico.py OUTPUT.ico INPUT.xpm [INPUT.xpm ...]",
              file=sys.stderr)
        return 2
    images = []
    for path in argv[2:]:
        try:
            with open(path, encoding="ascii") as f:
                image = parse_xpm(f.read())
            ico_entry(*image)   # fails early if the colours do not fit
        except (OSError, UnicodeDecodeError, XpmError) as e:
            print("make_ico: %s: %s" % (path, e), file=sys.stderr)
            return 1
        images.append(image)
    with open(argv[1], "wb") as f:
        f.write(build_ico(images))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
