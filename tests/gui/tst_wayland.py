#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The clock as a native Wayland client, on a headless weston.

Weston runs with the headless backend and the pixman renderer in a runtime
directory of its own. The clock starts on it with its wall clock frozen at
12:34:56; a screenshot (weston --debug lets weston-screenshooter take one)
must show a window-green client area of 407 x 469 logical pixels whose hours,
minutes and seconds rows read 12, 34 and 56.
"""
import glob
import os
import subprocess
import sys
import tempfile
import time

BINARY = os.environ["TESSARO_BINARY"]
LIBFAKETIME = os.environ["TESSARO_LIBFAKETIME"]
DEADLINE = 30.0

GREEN = (0, 255, 0)
LIT = (0, 0, 192)         # blue, the lit colour at start
DARK = (128, 255, 128)    # light green
# Left edges of the cells from the highest weight down, and the row's top.
ROWS = {
    "hours": ([186, 210, 234, 258, 282], 192, 12),
    "minutes": ([165, 189, 210, 234, 258, 279], 228, 34),
    "seconds": ([165, 189, 210, 234, 258, 279], 264, 56),
}


def wait_for(what, probe):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    raise SystemExit(f"FAIL {what}: nothing within {DEADLINE:.0f} s; last screenshot: {last_seen}")


def read_png(path):
    """Width, height and RGB bytes, through ImageMagick."""
    size = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                          text=True, check=True).stdout.split()
    pixels = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                            check=True).stdout
    return int(size[0]), int(size[1]), pixels


def green_box(width, height, pixels):
    """The bounding box of the window-green pixels: the client area."""
    xs, ys = [], []
    for y in range(height):
        row = pixels[3 * width * y: 3 * width * (y + 1)]
        hits = [x for x in range(width) if tuple(row[3 * x: 3 * x + 3]) == GREEN]
        if hits:
            xs += [hits[0], hits[-1]]
            ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def row_value(width, pixels, left, top, cells, row_top):
    value = 0
    for cell_left in cells:
        # Near the cell's lower right corner: its colour, away from its digit
        # and from the border of the box "Binärwert" around the hours row.
        x, y = left + cell_left + 8, top + row_top + 11
        colour = tuple(pixels[3 * (width * y + x): 3 * (width * y + x) + 3])
        if colour not in (LIT, DARK):
            return None
        value = 2 * value + (colour == LIT)
    return value


def screenshot(env, directory):
    before = set(glob.glob(os.path.join(directory, "*.png")))
    subprocess.run(["weston-screenshooter"], env=env, cwd=directory, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=DEADLINE)
    new = sorted(set(glob.glob(os.path.join(directory, "*.png"))) - before)
    return new[-1] if new else None


last_seen = []


def face(env, directory):
    shot = screenshot(env, directory)
    last_seen[:] = [shot]
    if not shot:
        return None
    width, height, pixels = read_png(shot)
    box = green_box(width, height, pixels)
    if not box:
        return None
    values = {name: row_value(width, pixels, box[0], box[1], cells, top)
              for name, (cells, top, _) in ROWS.items()}
    last_seen[:] = [shot, box, values]
    return box, values


def main():
    with tempfile.TemporaryDirectory() as runtime:
        os.chmod(runtime, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="tessaro-test")
        env.pop("DISPLAY", None)
        weston = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
             "--socket=tessaro-test", "--width=800", "--height=700", "--idle-time=0"],
            env=env, stdout=subprocess.DEVNULL, stderr=open(os.path.join(runtime, "weston.log"), "w"))
        clock = None
        try:
            wait_for("weston's socket", lambda: os.path.exists(os.path.join(runtime, "tessaro-test")))
            clock = subprocess.Popen(
                [BINARY], env=dict(env, QT_QPA_PLATFORM="wayland", TZ="UTC", LD_PRELOAD=LIBFAKETIME,
                                   FAKETIME="2026-12-06 12:34:56", FAKETIME_DONT_FAKE_MONOTONIC="1"))
            expected = {name: value for name, (_, _, value) in ROWS.items()}
            box, values = wait_for("the clock's face on weston", lambda: (
                lambda seen: seen if seen and seen[1] == expected else None)(face(env, runtime)))
            print(f"ok   client area {box[2]} x {box[3]} at {box[0]},{box[1]}; rows {values}")
            if (box[2], box[3]) != (407, 469):
                print(f"FAIL the client area is {box[2]} x {box[3]}, not 407 x 469")
                return 1
            if clock.poll() is not None:
                print("FAIL the clock ended on its own")
                return 1
            return 0
        finally:
            if clock:
                clock.terminate()
                clock.wait(DEADLINE)
            weston.terminate()
            weston.wait(DEADLINE)


if __name__ == "__main__":
    sys.exit(main())
