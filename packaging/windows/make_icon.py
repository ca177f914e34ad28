#!/usr/bin/env python3
"""Packs PNG pictures of the program's icon, one per size, into one .ico.

Usage: make_icon.py OUT.ico PNG...

Each picture is stored as it is: Windows reads PNG-compressed icon images
(every size, 256 pixels included) since Vista.
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main(out, pngs):
    images = []
    for name in pngs:
        with open(name, "rb") as f:
            data = f.read()
        width, height = png_size(data)
        if width > 256 or height > 256:
            raise SystemExit(f"{name}: an icon picture is at most 256 pixels a side")
        images.append((width, height, data))
    images.sort(key=lambda image: image[0])
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries = b""
    for width, height, data in images:
        # 256 is written as 0 in the one-byte size fields.
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                               len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(header + entries + b"".join(data for _, _, data in images))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    main(sys.argv[1], sys.argv[2:])
