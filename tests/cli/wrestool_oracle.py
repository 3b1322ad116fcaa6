"""brixel-cli's groups of Windows programs against wrestool's (icoutils), read by two readers.

  wrestool_oracle.py BRIXEL_CLI SCRATCH FOLDER...

For every file under each FOLDER that starts as a program ("MZ"): the icon and cursor groups
(types 14 and 12) that `wrestool -l` lists and those `brixel-cli info --json` lists must be the
same ones (type, name or number, language). Each group is extracted by both tools; the two files
must give the same images pixel for pixel as Pillow reads them (every entry, as RGBA) and as
brixel-cli dumps them (every image, with its alpha), and the same sizes, depths and hot spots
as brixel-cli info lists them. Prints a line per difference and a summary
line "programs P, groups G, images I, differences D"; exits 1 when there is a difference.
"""
import io
import json
import os
import re
import struct
import subprocess
import sys

from PIL import IcoImagePlugin

LISTED = re.compile(r"^--type=(\d+) --name=('([^']*)'|\d+) --language=(\d+) ")


def wrestool_groups(path):
    listing = subprocess.run(["wrestool", "-l", path], capture_output=True, text=True, errors="replace").stdout
    groups = set()
    for line in listing.splitlines():
        match = LISTED.match(line)
        if match and match.group(1) in ("12", "14"):
            name = match.group(3) if match.group(3) is not None else match.group(2)
            groups.add((match.group(1), name, match.group(4)))
    return groups


def brixel_groups(cli, path):
    run = subprocess.run([cli, "info", "--json", path], capture_output=True, text=True)
    if run.returncode != 0:
        return None, run.stderr.strip()
    groups = {}
    for group in json.loads(run.stdout)["groups"]:
        kind = {"icon": "14", "cursor": "12"}.get(group["kind"])
        if kind:
            groups[(kind, group["name"], str(group["language"]))] = group["file"]
    return groups, ""


def bitmap_size(data, offset):
    """The bytes a bitmap entry takes and its bit count, by its own header (None, 32 for PNG)."""
    if data[offset:offset + 4] == b"\x89PNG":
        return None, 32
    header, width, height, _, bits, _, _, _, _, used = struct.unpack_from("<IiiHHIIiiI", data, offset)
    colours = used or (1 << bits if bits <= 8 else 0)
    rows = abs(height) // 2
    return header + 4 * colours + rows * (((width * bits + 31) // 32) * 4 + ((width + 31) // 32) * 4), bits


def as_icon(data):
    """A cursor file as an icon: each entry's planes and bit count (where a cursor has its hot
    spot) and its size set as its image has them.

    wrestool writes a cursor entry's size counting the four hot-spot bytes that it leaves out of
    the image (and writes four bytes more after the last one), and Pillow finds an image's mask
    from the end its size gives: both files are read with the sizes their images have, so that
    the images and not the directories are compared.
    """
    count = struct.unpack_from("<H", data, 4)[0]
    offsets = sorted(struct.unpack_from("<I", data, 6 + 16 * i + 12)[0] for i in range(count)) + [len(data)]
    fixed = bytearray(data)
    for i in range(count):
        offset = struct.unpack_from("<I", data, 6 + 16 * i + 12)[0]
        size, bits = bitmap_size(data, offset)
        size = size or next(o for o in offsets if o > offset) - offset
        struct.pack_into("<HHI", fixed, 6 + 16 * i + 4, 1, bits, size)
    fixed[2:4] = b"\x01\x00"
    return bytes(fixed)


def pillow_images(data):
    """Every entry as Pillow reads it; a cursor is read as the icon it otherwise is (as_icon)."""
    if data[2:4] == b"\x02\x00":
        data = as_icon(data)
    icon = IcoImagePlugin.IcoFile(io.BytesIO(data))
    # Pillow orders the entries by the directory's sizes, which the two writers fill in
    # differently for cursors; the images are compared as a collection.
    return sorted((frame.size, frame.convert("RGBA").tobytes()) for frame in (icon.frame(i) for i in range(len(icon.entry))))


def dumped_images(cli, path, folder):
    os.makedirs(folder, exist_ok=True)
    subprocess.run([cli, "dump", path, folder, "--alpha"], check=True, capture_output=True)
    images = {}
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), "rb") as f:
            images[name] = f.read()
    return images


def main():
    cli, scratch, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
    programs = groups_compared = images = 0
    differences = []
    for folder in folders:
        for root, _, names in os.walk(folder):
            for name in sorted(names):
                path = os.path.join(root, name)
                with open(path, "rb") as f:
                    if f.read(2) != b"MZ":
                        continue
                programs += 1
                theirs = wrestool_groups(path)
                ours, why = brixel_groups(cli, path)
                if ours is None:
                    if theirs:
                        differences.append("%s: brixel-cli reads no groups (%s), wrestool %d" % (path, why, len(theirs)))
                    continue
                if set(ours) != theirs:
                    differences.append("%s: groups differ: only wrestool %s, only brixel-cli %s" %
                                       (path, sorted(theirs - set(ours))[:5], sorted(set(ours) - theirs)[:5]))
                if not ours:
                    continue
                extracted = os.path.join(scratch, "extracted")
                subprocess.run(["rm", "-rf", extracted])
                subprocess.run([cli, "extract", path, extracted], check=True, capture_output=True)
                for key in sorted(theirs & set(ours)):
                    kind, group, language = key
                    theirs_file = subprocess.run(["wrestool", "-x", "--type=" + kind, "--name=" + group,
                                                  "--language=" + language, path], capture_output=True).stdout
                    with open(os.path.join(extracted, ours[key]), "rb") as f:
                        ours_file = f.read()
                    label = "%s: group %s %s language %s" % (path, kind, group, language)
                    groups_compared += 1
                    try:
                        pillow_theirs, pillow_ours = pillow_images(theirs_file), pillow_images(ours_file)
                    except Exception as error:  # a file Pillow cannot read is a difference too
                        differences.append("%s: Pillow: %s" % (label, error))
                        continue
                    if pillow_theirs != pillow_ours:
                        differences.append("%s: Pillow reads other images" % label)
                    their_path = os.path.join(scratch, "theirs." + ours[key].rsplit(".", 1)[1])
                    with open(their_path, "wb") as f:
                        f.write(theirs_file)
                    dumped_theirs = dumped_images(cli, their_path, os.path.join(scratch, "dump-theirs-%d" % groups_compared))
                    dumped_ours = dumped_images(cli, os.path.join(extracted, ours[key]),
                                                os.path.join(scratch, "dump-ours-%d" % groups_compared))
                    if dumped_theirs != dumped_ours:
                        differences.append("%s: brixel-cli dump gives other images" % label)
                    # Sizes, depths and hot spots, as brixel-cli reads them (the first line names the file).
                    infos = [subprocess.run([cli, "info", f], capture_output=True, text=True).stdout.split("\n")[1:]
                             for f in (their_path, os.path.join(extracted, ours[key]))]
                    if infos[0] != infos[1]:
                        differences.append("%s: brixel-cli info differs: %s / %s" % (label, infos[0][:2], infos[1][:2]))
                    images += len(pillow_ours)
    for line in differences:
        print(line)
    print("programs %d, groups %d, images %d, differences %d" % (programs, groups_compared, images, len(differences)))
    sys.exit(1 if differences else 0)


main()
