"""Icon files for the measurements in bench/: images of random pixels at every depth, written
byte by byte (a 40-byte header, colour table, XOR rows and AND rows)."""
import random
import shutil
import struct
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


def icon_file(images, cursor, rng):
    blocks = [bmp_block(size, depth, rng) for size, depth in images]
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
