#!/usr/bin/env python3
"""Fails when a source file includes across a layer upward, or includes Qt where Qt is not
allowed. Includes are by bare file name, so each quoted include is resolved to the folder
under src/ that holds a header of that name."""
import pathlib
import re
import sys

# Each folder and the folders it may include from (besides itself).
ALLOWED = {
    "platform": set(),
    "document": {"platform"},
    "settings": {"platform"},
    "cli": {"document", "platform"},
    "qtplatform": {"platform"},
    "widgets": {"qtplatform", "platform"},
    "canvas": {"widgets", "qtplatform", "settings", "document", "platform"},
    "imaging": {"qtplatform", "document", "platform"},
    "mainwindow": {"canvas", "imaging", "widgets", "qtplatform", "settings", "document", "platform"},
    "app": {"mainwindow", "canvas", "imaging", "widgets", "qtplatform", "settings", "document",
            "platform"},
}
NO_QT = {"platform", "document", "settings", "cli"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^Qt")


def main(src: pathlib.Path) -> int:
    folders = sorted(p for p in src.iterdir() if p.is_dir())
    unknown = [f.name for f in folders if f.name not in ALLOWED]
    problems = [f"src/{name}: folder has no place in the layer table" for name in unknown]
    home = {}
    for folder in folders:
        for header in folder.glob("*.h"):
            home.setdefault(header.name, set()).add(folder.name)
    for folder in folders:
        allowed = ALLOWED.get(folder.name, set()) | {folder.name}
        for source in sorted(folder.glob("*.[ch]*")):
            for bracket, name in INCLUDE.findall(source.read_text(errors="replace")):
                where = source.relative_to(src.parent)
                if folder.name in NO_QT and QT_HEADER.match(name):
                    problems.append(f"{where}: includes Qt header <{name}>")
                if bracket == '"':
                    owners = home.get(pathlib.PurePath(name).name, set())
                    if owners and not owners & allowed:
                        problems.append(f"{where}: includes \"{name}\" from src/{'/'.join(sorted(owners))}")
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
