#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The clock as a native Wayland client on a headless weston, its wall clock
frozen at 12:34:56: a screenshot must show a window-green client area of
407 x 469 pixels whose hours, minutes and seconds rows read 12, 34 and 56."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

DEADLINE = 30.0
LIT, DARK = "0000C0", "80FF80"  # blue, the lit colour at start, and light green
# Left edges of the cells from the highest weight down, and the row's top.
ROWS = [([186, 210, 234, 258, 282], 192), ([165, 189, 210, 234, 258, 279], 228),
        ([165, 189, 210, 234, 258, 279], 264)]
EXPECTED = (407, 469, [12, 34, 56])


def face(env, directory):
    """The client area's width and height and the values its rows show."""
    before = set(os.listdir(directory))
    subprocess.run(["weston-screenshooter"], env=env, cwd=directory, timeout=DEADLINE,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    shots = sorted(name for name in set(os.listdir(directory)) - before if name.endswith(".png"))
    if not shots:
        return "no screenshot"

    def convert(*arguments):
        return subprocess.run(["convert", os.path.join(directory, shots[-1]), "-alpha", "off",
                               *arguments, "info:"], capture_output=True, text=True).stdout
    # The bounding box of the window-green pixels, then near each cell's lower
    # right corner its colour, away from its digit and from the border of the
    # box "Binärwert" around the hours row.
    box = convert("-fill", "black", "+opaque", "lime", "-format", "%@")
    if "+" not in box:
        return f"no window green in {shots[-1]}"
    width, height, x, y = (int(n) for n in box.replace("+", "x").split("x"))
    colours = iter(convert("-format", " ".join(
        f"%[hex:p{{{x + left + 8},{y + top + 11}}}]" for lefts, top in ROWS for left in lefts)).split())
    bits = ["".join({LIT: "1", DARK: "0"}.get(next(colours), "?") for _ in lefts) for lefts, _ in ROWS]
    return width, height, [bit if "?" in bit else int(bit, 2) for bit in bits]


def main():
    with tempfile.TemporaryDirectory() as runtime:
        os.chmod(runtime, 0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, WAYLAND_DISPLAY="tessaro-test")
        env.pop("DISPLAY", None)
        weston = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", "--use-pixman", "--debug",
             "--socket=tessaro-test", "--width=800", "--height=700", "--idle-time=0"],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        clock = None
        try:
            end = time.monotonic() + DEADLINE
            while not os.path.exists(os.path.join(runtime, "tessaro-test")) and time.monotonic() < end:
                time.sleep(0.1)
            clock = subprocess.Popen([os.environ["TESSARO_BINARY"]], env=dict(
                env, XDG_SESSION_TYPE="wayland", TZ="UTC", LD_PRELOAD=os.environ["TESSARO_LIBFAKETIME"],
                FAKETIME="2026-12-06 12:34:56", FAKETIME_DONT_FAKE_MONOTONIC="1"))
            seen = None
            while seen != EXPECTED and clock.poll() is None and time.monotonic() < end + DEADLINE:
                seen = face(env, runtime)
                time.sleep(0.2)
            print(f"{'ok  ' if seen == EXPECTED else 'FAIL'} width, height and rows: {seen}, "
                  f"expected {EXPECTED}; the clock {'ended' if clock.poll() is not None else 'runs'}")
            shots = sorted(name for name in os.listdir(runtime) if name.endswith(".png"))
            if seen != EXPECTED and shots:
                print(f"the last screenshot is kept in {shutil.copy(os.path.join(runtime, shots[-1]), tempfile.mkdtemp())}")
            return 0 if seen == EXPECTED and clock.poll() is None else 1
        finally:
            for process in (clock, weston):
                if process:
                    process.terminate()
                    process.wait(DEADLINE)


if __name__ == "__main__":
    sys.exit(main())
