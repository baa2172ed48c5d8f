#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The clock as a native Wayland client, on a headless weston (pixman
renderer, a runtime directory of its own), its wall clock frozen at 12:34:56:
a screenshot (weston --debug lets weston-screenshooter take one) must show a
window-green client area of 407 x 469 logical pixels whose hours, minutes and
seconds rows read 12, 34 and 56.
"""
import os
import subprocess
import sys
import tempfile
import time

DEADLINE = 30.0
LIT, DARK = "0000C0", "80FF80"  # blue, the lit colour at start, and light green
# Left edges of the cells from the highest weight down, the row's top, the value.
ROWS = [([186, 210, 234, 258, 282], 192, 12), ([165, 189, 210, 234, 258, 279], 228, 34),
        ([165, 189, 210, 234, 258, 279], 264, 56)]
last_seen = ["no screenshot"]


def wait_for(what, probe):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        found = probe()
        if found:
            return found
        time.sleep(0.2)
    raise SystemExit(f"FAIL {what}: nothing within {DEADLINE:.0f} s; last seen: {last_seen}")


def face(env, directory):
    """The client area (x, y, width, height) and the values its rows show."""
    before = set(os.listdir(directory))
    subprocess.run(["weston-screenshooter"], env=env, cwd=directory, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=DEADLINE)
    shots = sorted(name for name in set(os.listdir(directory)) - before if name.endswith(".png"))
    if not shots:
        return None
    shot = os.path.join(directory, shots[-1])
    # The bounding box of the window-green pixels.
    box = subprocess.run(["convert", shot, "-alpha", "off", "-fill", "black", "+opaque", "lime",
                          "-format", "%@", "info:"], capture_output=True, text=True).stdout
    if "+" not in box:
        return None
    width, height, x, y = (int(n) for n in box.replace("+", "x").split("x"))
    # Near each cell's lower right corner: its colour, away from its digit
    # and from the border of the box "Binärwert" around the hours row.
    probes = " ".join(f"%[hex:p{{{x + left + 8},{y + top + 11}}}]"
                      for lefts, top, _ in ROWS for left in lefts)
    colours = iter(subprocess.run(["convert", shot, "-alpha", "off", "-format", probes, "info:"],
                                  capture_output=True, text=True).stdout.split())
    bits = ["".join({LIT: "1", DARK: "0"}.get(next(colours), "?") for _ in lefts)
            for lefts, _, _ in ROWS]
    values = [bit if "?" in bit else int(bit, 2) for bit in bits]
    last_seen[:] = [shot, (x, y, width, height), values]
    return (width, height), values


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
            wait_for("weston's socket", lambda: os.path.exists(os.path.join(runtime, "tessaro-test")))
            clock = subprocess.Popen([os.environ["TESSARO_BINARY"]], env=dict(
                env, QT_QPA_PLATFORM="wayland", TZ="UTC", LD_PRELOAD=os.environ["TESSARO_LIBFAKETIME"],
                FAKETIME="2026-12-06 12:34:56", FAKETIME_DONT_FAKE_MONOTONIC="1"))
            expected = [value for _, _, value in ROWS]
            size, _ = wait_for("the clock's face on weston", lambda: (
                lambda seen: seen if seen and seen[1] == expected else None)(face(env, runtime)))
            ended = clock.poll() is not None
            print(f"{'ok  ' if size == (407, 469) and not ended else 'FAIL'} rows {expected}, "
                  f"client area {size} (not 407 x 469?), {'ended' if ended else 'running'}")
            return 0 if size == (407, 469) and not ended else 1
        finally:
            for process in (clock, weston):
                if process:
                    process.terminate()
                    process.wait(DEADLINE)


if __name__ == "__main__":
    sys.exit(main())
