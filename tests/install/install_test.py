#!/usr/bin/env python3
"""Installs the build tree into a temporary prefix and checks every file that lands there with
the desktop's own checkers; then packs the Debian package and checks it with dpkg-deb and
lintian. Needs a complete build (the programs and the packaging files)."""
import argparse
import gzip
import os
import pathlib
import re
import shlex
import shutil
import stat
import struct
import subprocess
import sys
import tempfile
import zlib

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(command, **options):
    result = subprocess.run(command, capture_output=True, text=True, **options)
    check(result.returncode == 0,
          f"{' '.join(map(str, command))} exited with {result.returncode}:\n{result.stdout}{result.stderr}")
    return result


def expected_files(app_id, sizes):
    files = {
        "bin/brixel", "bin/brixel-cli",
        "lib/brixel/brixel-picture-decoder", "lib/brixel/plugins/brixel-print.so",
        "share/thumbnailers/brixel.thumbnailer",
        "share/brixel/Tessarine.html",
        f"share/applications/{app_id}.desktop",
        f"share/metainfo/{app_id}.metainfo.xml",
        f"share/mime/packages/{app_id}.xml",
        "share/man/man1/brixel.1.gz", "share/man/man1/brixel-cli.1.gz",
        "share/doc/brixel/copyright", "share/doc/brixel/changelog.gz",
    }
    files |= {f"share/icons/hicolor/{n}x{n}/apps/{app_id}.png" for n in sizes}
    return files


def png_size_and_type(path):
    data = path.read_bytes()[:26]
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    width, height = struct.unpack(">II", data[16:24])
    return width, height, data[25]


def desktop_values(path):
    values = {}
    for line in path.read_text().splitlines():
        if "=" in line and not line.startswith("["):
            key, value = line.split("=", 1)
            values[key] = value
    return values


def tiny_png(path):
    """A 6 x 4 RGBA PNG, half of it transparent, written without any imaging library."""
    rows = b"".join(b"\0" + bytes([200, 30, 40, 255] * 3 + [0, 0, 0, 0] * 3) for _ in range(4))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    path.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 6, 4, 8, 6, 0, 0, 0))
                     + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def thumbnailer_values(path):
    text = path.read_text()
    check(text.startswith("[Thumbnailer Entry]\n"), f"{path.name} does not start with its group")
    return desktop_values(path)


def check_thumbnailer(prefix, scratch):
    """The entry names the installed brixel-cli, and its command makes a thumbnail."""
    entry = prefix / "share/thumbnailers/brixel.thumbnailer"
    if not entry.exists():
        return
    values = thumbnailer_values(entry)
    cli = str(prefix / "bin/brixel-cli")
    check(values.get("TryExec") == cli, f"thumbnailer TryExec: {values.get('TryExec')}")
    check(values.get("Exec") == f"{cli} thumbnail %i %o %s", f"thumbnailer Exec: {values.get('Exec')}")
    for mime_type in ("image/vnd.microsoft.icon", "image/x-win-bitmap", "application/x-navi-animation",
                      "image/x-icns", "application/x-ms-dos-executable"):
        check(mime_type in values.get("MimeType", "").split(";"), f"thumbnailer lacks {mime_type}")

    # The installed brixel-cli imports a PNG through the installed decoders, and the entry's
    # command makes a thumbnail of the icon, as a file manager would run it.
    picture = scratch / "picture.png"
    tiny_png(picture)
    icon = scratch / "imported.ico"
    run([cli, "import", picture, icon, "--size", "16"])
    result = run([cli, "info", icon])
    check("16x16, 24 bit" in result.stdout, f"brixel-cli info of the imported icon: {result.stdout}")
    thumbnail = scratch / "thumbnail.png"
    fields = {"%i": str(icon), "%o": str(thumbnail), "%s": "128"}
    run([fields.get(word, word) for word in shlex.split(values.get("Exec", ""))])
    check(thumbnail.exists() and png_size_and_type(thumbnail) == (128, 128, 6),
          f"the thumbnailer's command made {png_size_and_type(thumbnail) if thumbnail.exists() else 'nothing'}")


# What the program does, as every description of it must say: the package's, the AppStream
# metadata's and the manual pages'. Each says it in its own words, so the check is by words.
FEATURE_WORDS = ("animated cursor", "import", "export", "xcursor", "alpha")


def cli_commands(cli):
    """The commands brixel-cli --help lists."""
    text = run([cli, "--help"]).stdout
    return sorted(set(re.findall(r"^  ([a-z]+) ", text, re.M)))


def check_descriptions_in_step(prefix, version, package_description):
    """The descriptions name every feature and every command of brixel-cli, and the manual
    pages carry the program's version."""
    commands = cli_commands(prefix / "bin/brixel-cli")
    check(len(commands) >= 6, f"brixel-cli --help lists {commands}")
    metainfo = next((prefix / "share/metainfo").glob("*.metainfo.xml")).read_text()
    description = re.search(r"<description>(.*)</description>", metainfo, re.S).group(1)
    pages = {name: gzip.decompress((prefix / f"share/man/man1/{name}.1.gz").read_bytes()).decode()
             for name in ("brixel", "brixel-cli")}
    texts = {"package": package_description, "metainfo": description, "brixel.1": pages["brixel"]}
    for where, text in texts.items():
        plain = re.sub(r"\\f[BIRP]|\\-", "", text).lower()
        for word in FEATURE_WORDS:
            check(word in plain, f"the {where} description does not mention {word!r}")
        for command in commands:
            check(re.search(rf"\b{command}\b", plain), f"the {where} description does not name brixel-cli {command}")
    for command in commands:
        check(re.search(rf"^\.B brixel-cli {command}\b", pages["brixel-cli"], re.M),
              f"brixel-cli.1 has no synopsis of {command}")
    for name, page in pages.items():
        check(f'"Brixel {version}"' in page.splitlines()[0], f"{name}.1 is not of version {version}")


def check_prefix(prefix, app_id, version, sizes, scratch):
    installed = {str(p.relative_to(prefix)) for p in prefix.rglob("*") if p.is_file()}
    expected = expected_files(app_id, sizes)
    check(installed == expected,
          f"installed files differ: missing {sorted(expected - installed)}, extra {sorted(installed - expected)}")
    for program in ("bin/brixel", "bin/brixel-cli"):
        path = prefix / program
        check(path.exists() and path.stat().st_mode & stat.S_IXUSR, f"{program} is not executable")

    for n in sizes:
        picture = prefix / f"share/icons/hicolor/{n}x{n}/apps/{app_id}.png"
        if picture.exists():
            # Colour type 6: RGBA, so the rounded corners stay transparent.
            check(png_size_and_type(picture) == (n, n, 6), f"{picture.name} at {n}: not an {n}x{n} RGBA PNG")

    desktop = prefix / f"share/applications/{app_id}.desktop"
    if desktop.exists():
        result = run(["desktop-file-validate", desktop])
        check(result.stdout.strip() == "", f"desktop-file-validate: {result.stdout}")
        values = desktop_values(desktop)
        check(values.get("Exec") == "brixel %f", f"desktop entry Exec: {values.get('Exec')}")
        check(values.get("Icon") == app_id, f"desktop entry Icon: {values.get('Icon')}")
        for mime_type in ("image/vnd.microsoft.icon", "image/x-win-bitmap"):
            check(mime_type in values.get("MimeType", "").split(";"), f"desktop entry lacks {mime_type}")

    metainfo = prefix / f"share/metainfo/{app_id}.metainfo.xml"
    if metainfo.exists():
        run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo])
        releases = re.findall(r'<release version="([^"]+)"', metainfo.read_text())
        check(releases[:1] == [version], f"newest release in the metadata is {releases[:1]}, not {version}")

    # The guide has a section for every help topic of the window, and its links lead somewhere.
    guide = prefix / "share/brixel/Tessarine.html"
    if guide.exists():
        text = guide.read_text()
        anchors = set(re.findall(r'\bid="([^"]+)"', text))
        for topic in ("1000", "1100", "1200", "1300", "1400", "1500", "1700", "1800", "1900", "2000"):
            check(topic in anchors, f"the guide has no section for help topic {topic}")
        for target in set(re.findall(r'href="#([^"]+)"', text)) - anchors:
            check(False, f"the guide links to #{target}, which it lacks")

    changelog = prefix / "share/doc/brixel/changelog.gz"
    if changelog.exists():
        first = gzip.decompress(changelog.read_bytes()).decode().splitlines()[0]
        check(first.startswith(f"brixel ({version})"), f"newest changelog entry: {first}")

    # The MIME package compiles into a database that maps the three extensions to their types.
    mime = scratch / "mime"
    shutil.copytree(prefix / "share/mime", mime)
    result = run(["update-mime-database", mime], env=dict(os.environ, XDG_DATA_DIRS=str(scratch)))
    check(result.stderr.strip() == "", f"update-mime-database: {result.stderr}")
    globs = (mime / "globs2").read_text() if (mime / "globs2").exists() else ""
    for pattern, mime_type in (("*.ico", "image/vnd.microsoft.icon"), ("*.cur", "image/x-win-bitmap"),
                               ("*.ani", "application/x-navi-animation"),
                               ("*.dll", "application/x-ms-dos-executable")):
        check(re.search(rf"^\d+:{re.escape(mime_type)}:{re.escape(pattern)}$", globs, re.M),
              f"the MIME database does not map {pattern} to {mime_type}")

    # The installed command-line program runs from the prefix.
    result = run([prefix / "bin/brixel-cli", "--version"])
    check(version in result.stdout, f"brixel-cli --version: {result.stdout}")
    check_thumbnailer(prefix, scratch)


def check_package(build, app_id, version, sizes, scratch):
    packages = scratch / "packages"
    run(["cpack", "-G", "DEB", "--config", build / "CPackConfig.cmake", "-B", packages])
    debs = sorted(packages.glob("*.deb"))
    if not check(len(debs) == 1, f"cpack made {debs}"):
        return
    deb = debs[0]
    listing = run(["dpkg-deb", "-c", deb]).stdout
    packed = {line.split()[-1].removeprefix("./") for line in listing.splitlines() if line.startswith("-")}
    expected = {f"usr/{name}" for name in expected_files(app_id, sizes)}
    check(packed == expected,
          f"packed files differ: missing {sorted(expected - packed)}, extra {sorted(packed - expected)}")
    # In the package the thumbnailer names the program where the package puts it.
    unpacked = scratch / "unpacked"
    run(["dpkg-deb", "-x", deb, unpacked])
    entry = unpacked / "usr/share/thumbnailers/brixel.thumbnailer"
    if entry.exists():
        exec_line = thumbnailer_values(entry).get("Exec")
        check(exec_line == "/usr/bin/brixel-cli thumbnail %i %o %s", f"packed thumbnailer Exec: {exec_line}")
    fields = run(["dpkg-deb", "-f", deb, "Package", "Version", "Depends"]).stdout
    check_descriptions_in_step(unpacked / "usr", version, run(["dpkg-deb", "-f", deb, "Description"]).stdout)
    check("Package: brixel\n" in fields and f"Version: {version}\n" in fields, f"package fields: {fields}")
    check(re.search(r"Depends:.*libqt6widgets6", fields) and "qt6-qpa-plugins" in fields,
          f"package dependencies: {fields}")
    result = subprocess.run(["lintian", "--fail-on", "error", "--tag-display-limit", "0", deb],
                            capture_output=True, text=True)
    check(result.returncode == 0 and not re.search(r"^E: ", result.stdout, re.M),
          f"lintian exited with {result.returncode}:\n{result.stdout}{result.stderr}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", type=pathlib.Path, required=True)
    parser.add_argument("--app-id", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--icon-sizes", required=True, help="sizes separated by ';'")
    args = parser.parse_args()
    sizes = [int(n) for n in args.icon_sizes.split(";")]

    with tempfile.TemporaryDirectory(prefix="brixel-install-") as folder:
        scratch = pathlib.Path(folder)
        prefix = scratch / "prefix"
        result = run(["cmake", "--install", args.build, "--prefix", prefix])
        if result.returncode == 0:
            check_prefix(prefix, args.app_id, args.version, sizes, scratch)
        check_package(args.build, args.app_id, args.version, sizes, scratch)

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
