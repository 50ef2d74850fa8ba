#!/usr/bin/env python3
"""run_from_swap.py <image>: marks a linked, stripped Windows image so that Windows copies the whole
of it to the swap file before it runs it from removable or network media, then recomputes the
header's checksum, which the mark invalidates.

Without the marks Windows pages the program in from its file as each page is first touched: an
ejected disc, or a sector it cannot read, then ends the program with an in-page error, possibly
halfway through a copy. GNU ld has no switch for them, and strip drops them, so this runs last.
"""
import struct
import sys

REMOVABLE_RUN_FROM_SWAP = 0x0400
NET_RUN_FROM_SWAP = 0x0800


def checksum(image, field):
    """The PE checksum: the file's 16-bit words added with the carry folded back in at each step,
    the checksum field itself read as zero, plus the file's length."""
    data = image[:field] + bytes(4) + image[field + 4 :] + bytes(len(image) % 2)
    total = 0
    for (word,) in struct.iter_unpack("<H", data):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(image)


def main(path):
    with open(path, "rb") as file:
        image = bytearray(file.read())
    (pe,) = struct.unpack_from("<I", image, 0x3C)
    if image[:2] != b"MZ" or image[pe : pe + 4] != b"PE\0\0":
        sys.exit(f"run_from_swap: {path} is not a Windows image")
    characteristics = pe + 22  # after the signature and the COFF header's first 18 bytes
    checksum_field = pe + 24 + 64  # the same place in the PE32 and PE32+ optional headers
    (flags,) = struct.unpack_from("<H", image, characteristics)
    flags |= REMOVABLE_RUN_FROM_SWAP | NET_RUN_FROM_SWAP
    struct.pack_into("<H", image, characteristics, flags)
    struct.pack_into("<I", image, checksum_field, checksum(image, checksum_field))
    with open(path, "wb") as file:
        file.write(image)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
