#!/usr/bin/python3
"""Makes the window's banner (banner.jpg) and the program icon (DocRecover.ico).

Run by hand from this folder when the artwork changes; the build uses the committed files.
Needs python3-pil and the Dancing Script font (fonts-dancingscript).
"""

import struct

from PIL import Image, ImageDraw, ImageFont

SCRIPT_FONT = "/usr/share/fonts/opentype/dancingscript/DancingScript-Bold.otf"
BROWN = (128, 64, 0)
LIGHT = (252, 249, 238)
BLACK = (0, 0, 0)
SCALE = 4  # drawn large, then reduced, for smooth edges


def banner():
    """The maker's name in script lettering inside a rounded frame, 154 x 40."""
    width, height = 154, 40
    big = Image.new("RGB", (width * SCALE, height * SCALE), LIGHT)
    draw = ImageDraw.Draw(big)
    draw.rounded_rectangle(
        (1 * SCALE, 1 * SCALE, (width - 2) * SCALE, (height - 2) * SCALE),
        radius=9 * SCALE, outline=BROWN, width=2 * SCALE)
    font = ImageFont.truetype(SCRIPT_FONT, 29 * SCALE)
    draw.text((width * SCALE // 2, height * SCALE // 2 + SCALE), "Orvell", font=font,
              fill=BROWN, anchor="mm")
    image = big.resize((width, height), Image.LANCZOS)
    image.save("banner.jpg", "JPEG", quality=90, progressive=False, optimize=False,
               dpi=(75, 75))
    # Pillow writes JFIF 1.01; the window's design data names version 1.00.
    data = open("banner.jpg", "rb").read()
    marker = b"JFIF\x00\x01\x01"
    assert data.find(marker) == 6, "JFIF header not where expected"
    open("banner.jpg", "wb").write(data.replace(marker, b"JFIF\x00\x01\x00", 1))


def icon_art(size, arrow, smooth):
    """A page with a folded corner and an arrow turning back onto it: documents restored.

    Drawn large and reduced when smooth; drawn at its own size, in the given colours only, for
    the 16-colour image, whose palette cannot blend edges.
    """
    scale = SCALE if smooth else 1
    big = Image.new("RGBA", (size * scale, size * scale), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    s = size * scale / 16.0

    def at(*points):
        return [(round(x * s), round(y * s)) for x, y in points]

    outline = (64, 64, 64, 255) if smooth else (128, 128, 128, 255)
    fold = (255, 255, 208, 255) if smooth else (192, 192, 192, 255)
    page = at((2, 0), (10, 0), (14, 4), (14, 16), (2, 16))
    draw.polygon(page, fill=(255, 255, 255, 255))
    draw.line(page + [page[0]], fill=outline, width=scale)
    draw.polygon(at((10, 0), (10, 4), (14, 4)), fill=fold)
    draw.line(at((10, 0), (10, 4), (14, 4)), fill=outline, width=scale)
    draw.arc(at((4, 5), (12, 13)), start=200, end=470, fill=arrow + (255,),
             width=max(2, round(1.75 * s)))
    draw.polygon(at((3, 7), (7, 7), (5, 11)), fill=arrow + (255,))
    return big.resize((size, size), Image.LANCZOS) if smooth else big


VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def rows_bottom_up(width, height, pixel_bytes_of_row):
    out = b""
    for y in reversed(range(height)):
        row = pixel_bytes_of_row(y)
        out += row + b"\x00" * ((4 - len(row) % 4) % 4)
    return out


def and_mask(art):
    width, height = art.size
    alpha = art.getchannel("A")

    def row(y):
        bits = 0
        data = b""
        for x in range(width):
            bits = (bits << 1) | (1 if alpha.getpixel((x, y)) < 128 else 0)
            if x % 8 == 7:
                data += bytes([bits])
                bits = 0
        return data

    return rows_bottom_up(width, height, row)


def icon_image(art, bit_count):
    """One icon image: BITMAPINFOHEADER, palette, colour bits and mask, as an .ico stores it."""
    width, height = art.size
    # Black wherever the mask makes the image transparent: Windows draws an icon by AND-ing the
    # mask, then XOR-ing the colour bits, so any colour left there shows as a fringe.
    transparent = [[art.getpixel((x, y))[3] < 128 for x in range(width)] for y in range(height)]
    rgb = Image.new("RGB", art.size, BLACK)
    rgb.paste(art, mask=art.getchannel("A"))
    for y in range(height):
        for x in range(width):
            if transparent[y][x]:
                rgb.putpixel((x, y), BLACK)
    palette = b""
    if bit_count == 24:
        def row(y):
            return b"".join(bytes([b, g, r]) for r, g, b in
                            (rgb.getpixel((x, y)) for x in range(width)))
    else:
        if bit_count == 4:
            colours = VGA16
            reference = Image.new("P", (1, 1))
            reference.putpalette([c for colour in VGA16 for c in colour] * 16)
            indexed = rgb.quantize(palette=reference, dither=Image.Dither.NONE)
        else:
            # 255 colours, so that the last entry stays free for the transparent black.
            indexed = rgb.quantize(colors=255, dither=Image.Dither.NONE)
            flat = indexed.getpalette()[:765]
            flat += [0] * (768 - len(flat))
            colours = [tuple(flat[i:i + 3]) for i in range(0, 768, 3)]
        palette = b"".join(bytes([b, g, r, 0]) for r, g, b in colours)
        per_byte = 8 // bit_count

        def row(y):
            data = b""
            for x in range(0, width, per_byte):
                value = 0
                for i in range(per_byte):
                    # Index 0 of the VGA palette and the last of the 256-colour one are black.
                    black = 0 if bit_count == 4 else 255
                    index = black if transparent[y][x + i] else indexed.getpixel((x + i, y))
                    value = (value << bit_count) | index
                data += bytes([value])
            return data

    bits = rows_bottom_up(width, height, row)
    mask = and_mask(art)
    colours_used = 0 if bit_count == 24 else 1 << bit_count
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bit_count, 0,
                         len(bits) + len(mask), 0, 0, colours_used, 0)
    return header + palette + bits + mask


def icon():
    """32 x 32 in 24-bit colour, 16 x 16 in 16 colours, 16 x 16 in 256 colours."""
    images = [(32, 24), (16, 4), (16, 8)]
    blobs = [icon_image(icon_art(size, arrow=BROWN if bits > 4 else (128, 0, 0), smooth=bits > 4),
                        bits) for size, bits in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, bits), blob in zip(images, blobs):
        colour_count = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    open("DocRecover.ico", "wb").write(out + b"".join(blobs))


if __name__ == "__main__":
    banner()
    icon()
