#!/usr/bin/python3
"""Writes the steps of an animated cursor as gdk-pixbuf shows them, for the tests to compare
with Brixel's reading.

Usage: gdk_ani_steps.py FILE STEPS OUT

OUT receives, for each of the first STEPS steps, its width, height and delay in milliseconds
as three little-endian 32-bit values followed by its pixels as RGBA bytes, rows top first.
Exit status: 0 written, 1 gdk-pixbuf cannot read FILE, 2 gdk-pixbuf is not installed.
"""
import struct
import sys

try:
    import gi
    gi.require_version('GdkPixbuf', '2.0')
    from gi.repository import GdkPixbuf, GLib
except (ImportError, ValueError):
    sys.exit(2)


def main():
    path, steps, out = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    try:
        animation = GdkPixbuf.PixbufAnimation.new_from_file(path)
    except GLib.Error:
        sys.exit(1)
    # The iterator is driven by a clock of our own: each step is shown for its delay.
    now_ms = 1000000
    clock = GLib.TimeVal()
    clock.tv_sec, clock.tv_usec = divmod(now_ms, 1000)
    clock.tv_usec *= 1000
    step = animation.get_iter(clock)
    with open(out, 'wb') as f:
        for _ in range(steps):
            pixbuf = step.get_pixbuf().add_alpha(False, 0, 0, 0)
            width, height, stride = pixbuf.get_width(), pixbuf.get_height(), pixbuf.get_rowstride()
            pixels = pixbuf.get_pixels()
            f.write(struct.pack('<IIi', width, height, step.get_delay_time()))
            for y in range(height):
                f.write(pixels[y * stride:y * stride + 4 * width])
            now_ms += max(step.get_delay_time(), 1)
            clock.tv_sec, clock.tv_usec = divmod(now_ms, 1000)
            clock.tv_usec *= 1000
            step.advance(clock)


main()
