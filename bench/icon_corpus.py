"""Icon files for the measurements in bench/: images of random pixels at every depth, written
byte by byte (a 40-byte header, colour table, XOR rows and AND rows)."""
import random
import shutil
import struct
import zlib
from pathlib import Path


def bmp_block(size, depth, rng):
    """A BITMAPINFOHEADER image block of random pixels with a random AND mask."""
    colours = 1 << depth if depth <= 8 else 0
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0, 0, 0, 0, colours, 0)
    palette = b"".join(bytes([rng.randrange(256), rng.randrange(256), rng.randrange(256), 0])
                       for _ in range(colours))
    xor_row = ((size * depth + 31) // 32) * 4
    and_row = ((size + 31) // 32) * 4
    xor = bytes(rng.randrange(256) for _ in range(xor_row * size))
    mask = bytes(rng.choice((0, 0, 0, 255)) for _ in range(and_row * size))
    return header + palette + xor + mask


def png_block(size):
    """A PNG image of size x size RGBA pixels as icons made today carry for their largest size:
    a smooth picture, a disc whose rim is half transparent, clear outside."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    middle = (size - 1) / 2
    rows = bytearray()
    for y in range(size):
        rows.append(0)
        for x in range(size):
            distance = ((x - middle) ** 2 + (y - middle) ** 2) ** 0.5 / (size / 2)
            alpha = 255 if distance < 0.8 else max(0, int(255 * (1 - distance) / 0.2))
            rows += bytes([x * 255 // size, y * 255 // size, 160, alpha])
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows)))
            + chunk(b"IEND", b""))


def icon_file(images, cursor, rng, png_sizes=()):
    """images: (size, depth) pairs in file order; those whose size is in png_sizes are stored
    as 32-bit PNG entries."""
    blocks = [png_block(size) if size in png_sizes else bmp_block(size, depth, rng)
              for size, depth in images]
    out = struct.pack("<HHH", 0, 2 if cursor else 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, depth), block in zip(images, blocks):
        colours = 1 << depth if depth <= 8 else 0
        side = size if size < 256 else 0
        planes, bits = (size // 2, size // 2) if cursor else (1, depth)
        out += struct.pack("<BBBBHHII", side, side, colours % 256, 0, planes, bits, len(block), offset)
        offset += len(block)
    return out + b"".join(blocks)


def make_corpus(folder, samples=None):
    if folder.is_dir() and any(folder.iterdir()):
        return sorted(folder.iterdir())
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(1)
    sizes = [16, 24, 32, 48, 64, 128, 256]
    depths = [1, 4, 8, 24, 32]
    for n in range(60):
        count = 1 + n % 10
        images = [(rng.choice(sizes[:5] if count > 4 else sizes), rng.choice(depths))
                  for _ in range(count)]
        cursor = n % 6 == 5
        path = folder / f"corpus{n:02d}.{'cur' if cursor else 'ico'}"
        path.write_bytes(icon_file(images, cursor, rng))
    if samples and samples.is_dir():
        for sample in sorted(samples.iterdir()):
            if sample.suffix.lower() in (".ico", ".cur"):
                shutil.copy(sample, folder / sample.name)
    return sorted(folder.iterdir())
