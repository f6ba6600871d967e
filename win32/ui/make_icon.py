#!/usr/bin/env python3
"""Makes the program's icon resource from the 32 x 32 picture of the application icon.

    win32/ui/make_icon.py ui/icons/ambersel-test-calculator-32.png win32/ui/ambersel_test.ico

Writes one 32 x 32 image with 24 bits per pixel and a 1-bit transparency mask: a pixel is
transparent when its alpha is below one half. Needs ImageMagick's convert for the pixels.
"""
import struct
import subprocess
import sys

SIZE = 32


def main(source, target):
    rgba = subprocess.run(["convert", source, "-resize", f"{SIZE}x{SIZE}!", "rgba:-"],
                          check=True, capture_output=True).stdout
    assert len(rgba) == SIZE * SIZE * 4
    colour_row = (SIZE * 3 + 3) // 4 * 4
    mask_row = (SIZE + 31) // 32 * 4
    colours = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom row first
        row = bytearray()
        bits = bytearray(mask_row)
        for x in range(SIZE):
            r, g, b, a = rgba[(y * SIZE + x) * 4:(y * SIZE + x) * 4 + 4]
            if a < 128:
                row += b"\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                row += bytes((b, g, r))
        colours += row + bytes(colour_row - len(row))
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 24, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    image = header + colours + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(image), 6 + 16)
    with open(target, "wb") as out:
        out.write(directory + entry + image)


if __name__ == "__main__":
    main(*sys.argv[1:])
