#!/usr/bin/env python3
"""Turn a 32 x 32 text drawing into a 16-colour .ico file (one image, 4 bits per pixel).

The drawing is 32 lines of 32 characters; each character is one pixel, top row first:

    .  transparent        K  black (0)        r  dark red (1)     g  dark green (2)
    y  dark yellow (3)    b  dark blue (4)    m  dark magenta (5) c  dark cyan (6)
    s  light grey (7)     d  dark grey (8)    R  red (9)          G  green (10)
    Y  yellow (11)        B  blue (12)        M  magenta (13)     C  cyan (14)
    W  white (15)

The numbers are the indices into the standard 16-colour VGA palette written into the icon.
The file holds an icon directory with one entry, then the image: a BITMAPINFOHEADER whose
height counts both masks (64), the palette as blue-green-red-reserved quads, the colour bits
(4 bits a pixel, rows bottom-up) and the transparency mask (1 bit a pixel, 1 = transparent).

Usage: mkicon.py DRAWING.txt OUTPUT.ico
"""
import struct
import sys

SIZE = 32

# (red, green, blue) of the standard VGA palette, by index.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]

COLOUR_OF_CHAR = {ch: index for index, ch in enumerate("KrgybmcsdRGYBMCW")}
TRANSPARENT = "."


def read_drawing(path):
    """Return SIZE rows of palette indices (None = transparent), top row first."""
    with open(path, encoding="ascii") as f:
        lines = f.read().splitlines()
    if len(lines) != SIZE:
        raise ValueError(f"{path}: {len(lines)} lines, expected {SIZE}")
    rows = []
    for number, line in enumerate(lines, 1):
        if len(line) != SIZE:
            raise ValueError(f"{path}:{number}: {len(line)} characters, expected {SIZE}")
        row = []
        for column, ch in enumerate(line, 1):
            if ch == TRANSPARENT:
                row.append(None)
            elif ch in COLOUR_OF_CHAR:
                row.append(COLOUR_OF_CHAR[ch])
            else:
                raise ValueError(f"{path}:{number}:{column}: unknown colour {ch!r}")
        rows.append(row)
    return rows


def icon_bytes(rows):
    """Build the .ico file for a drawing."""
    colour_bits = bytearray()
    mask_bits = bytearray()
    for row in reversed(rows):  # DIB rows are stored bottom-up
        for x in range(0, SIZE, 2):
            high, low = row[x], row[x + 1]
            # A transparent pixel's colour bits stay 0 (black), so AND 1 / XOR 0 leaves
            # the background unchanged.
            colour_bits.append(((high or 0) << 4) | (low or 0))
        for x in range(0, SIZE, 8):
            byte = 0
            for bit in range(8):
                if row[x + bit] is None:
                    byte |= 0x80 >> bit
            mask_bits.append(byte)
    # Both rows are whole DWORDs already: 32 pixels give 16 colour bytes and 4 mask bytes.

    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack(
        "<IiiHHIIiiII",
        40,                # biSize
        SIZE,              # biWidth
        SIZE * 2,          # biHeight: colour bits and mask together
        1,                 # biPlanes
        4,                 # biBitCount
        0,                 # biCompression: BI_RGB
        len(colour_bits) + len(mask_bits),  # biSizeImage
        0, 0,              # biXPelsPerMeter, biYPelsPerMeter
        0, 0,              # biClrUsed (0 = all 16), biClrImportant
    )
    image = header + palette + bytes(colour_bits) + bytes(mask_bits)

    directory = struct.pack("<HHH", 0, 1, 1)  # reserved, type 1 = icon, one image
    entry = struct.pack(
        "<BBBBHHII",
        SIZE, SIZE,        # width, height
        16,                # colours in the palette
        0,                 # reserved
        1,                 # planes
        4,                 # bits per pixel
        len(image),        # bytes in the image
        len(directory) + 16,  # offset of the image: right after this one entry
    )
    return directory + entry + image


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    try:
        rows = read_drawing(argv[1])
    except (OSError, ValueError) as error:
        sys.stderr.write(f"mkicon: {error}\n")
        return 1
    with open(argv[2], "wb") as f:
        f.write(icon_bytes(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
