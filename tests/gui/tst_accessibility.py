#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The running clock, its time set by a file, as a screen reader meets it on the AT-SPI bus."""
import contextlib
import datetime
import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

DEADLINE = 30.0  # seconds for anything to appear on a busy machine
# The labels shown at 12:34:56 on 6 December 2026; the readouts are there, hidden until Check1 is checked.
SHOWN = ["Tag: 6", "Monat: 12", "Jahr: 2026", "Stunden: 12", "Minuten: 34", "Sekunden: 56",
         "Stunden hexadezimal, addiert: 0C", "Minuten hexadezimal, addiert: 22", "Sekunden hexadezimal, addiert: 38",
         "Tag, Wert 4", "Dezimalwert 16 8 4 2 1", "Dezimalwert 32 16 8 4 2 1", "1024 512 256 128 64 32 16 8 4 2 1"]
READOUTS = ["Stunden dezimal: 12", "Jahr dezimal: 2026"]
# What a reader hears when the second turns to 57: nothing else is renamed.
SECOND_TURNS = ["Sekunden dezimal: 57", "Sekunden hexadezimal, addiert: 39", "Sekunden: 57"]
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(what, probe):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        with contextlib.suppress(GLib.Error):  # an object that went away meanwhile
            if found := probe():
                return found
        pump(0.1)
    kept = tempfile.mkdtemp(prefix="failed-wait-")
    print(f"the wait for {what} ran out; what was on the screen is kept in {kept}", flush=True)
    subprocess.run([os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                                 "screen-evidence.sh"), kept, str(os.getpid())], timeout=60)
    raise SystemExit(f"FAIL {what}: nothing within {DEADLINE:.0f} s")


def pump(seconds):
    loop = GLib.MainLoop()
    GLib.timeout_add(int(seconds * 1000), loop.quit)
    loop.run()


def set_clock(path, second):
    with open(path + ".new", "w") as f:
        f.write(str(int(datetime.datetime(2026, 12, 6, 12, 34, second, tzinfo=datetime.timezone.utc).timestamp())))
    os.replace(path + ".new", path)


def descendants(node, role=None):
    for child in filter(None, node):
        if role in (None, child.getRole()):
            yield child
        yield from descendants(child, role)


def heard(events):
    return sorted(e.source.get_name() for e in events if e.type.endswith("accessible-name"))


def read_the_clock(pid, now):
    app = wait_for("the clock on the AT-SPI bus", lambda: next(
        (a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == pid), None))
    window = wait_for("the main window", lambda: next(
        (w for w in app if w and w.name == "Tessaro" and w.getRole() == pyatspi.ROLE_FRAME), None))
    wait_for("the rows named after their values", lambda: any(
        n.name == "Sekunden: 56" for n in descendants(window)))
    found = {n.name: n.getState().contains(pyatspi.STATE_SHOWING) for n in descendants(window, pyatspi.ROLE_LABEL)}
    for name in [*SHOWN, *READOUTS]:
        check(found.get(name) == (name in SHOWN), f"label \"{name}\" is there, shown: {name in SHOWN}")
    check(window.description == "12:34:56, 06.12.2026", f"the moment: {window.description}")

    events = []
    listener = Atspi.EventListener.new(events.append)
    for kind in ["state-changed:visible", "property-change:accessible-name", "property-change:accessible-description"]:
        listener.register("object:" + kind)
    box = next(n for n in descendants(window, pyatspi.ROLE_CHECK_BOX) if n.name == "Digitale Zeitanzeige ein/aus")
    box.queryAction().doAction(0)  # Toggle, as Qt lists a check box's actions
    wait_for("the readouts reported visible", lambda: any(
        e.detail1 == 1 and e.source.get_name().startswith("Stunden dezimal") for e in events))

    events.clear()
    set_clock(now, 57)
    wait_for("the new second heard", lambda: set(SECOND_TURNS) <= set(heard(events)) and any(
        e.source.description == "12:34:57, 06.12.2026" for e in events))
    pump(0.5)  # anything more would be heard by now
    check(heard(events) == SECOND_TURNS, f"a reader hears the new second, nothing else: {heard(events)}")
    told = sum(e.type.endswith("accessible-description") for e in events)
    check(told == 1, f"the window's moment is told once: {told}")

    next(n for n in descendants(window, pyatspi.ROLE_PUSH_BUTTON) if n.name == "Info").queryAction().doAction(0)
    dialog = wait_for("the About dialog", lambda: next(
        (w for w in app if w and w.getRole() == pyatspi.ROLE_DIALOG), None))
    labels = [n.name for n in descendants(dialog, pyatspi.ROLE_LABEL)]
    check(dialog.name == "Info zu Tessaro" and all(any(part in label for label in labels) for part in [
        "Tessaro", "Version 2.0.8", "Freeware", "Systemzeit"]),
        f"About, titled \"{dialog.name}\", gives title, version and notices: {labels}")
    check(not any(label in (dialog.description or "") for label in labels),
          "About is read once: its description repeats no label")


def main():
    # What a screen reader does when it starts: tells toolkits to expose their trees.
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:IsEnabled",
                    "variant:boolean:true"], check=True, stdout=subprocess.DEVNULL)
    with tempfile.TemporaryDirectory() as tmp:
        now = os.path.join(tmp, "now")
        set_clock(now, 56)
        clock = subprocess.Popen([os.environ["TESSARO_BINARY"]], env=dict(
            os.environ, TZ="UTC", LD_PRELOAD=os.environ["TESSARO_LIBFAKETIME"], FAKETIME_TIMESTAMP_FILE=now,
            FAKETIME_NO_CACHE="1", FAKETIME_FMT="%s", FAKETIME_DONT_FAKE_MONOTONIC="1"))
        try:
            read_the_clock(clock.pid, now)
        finally:
            clock.terminate()
            clock.wait(DEADLINE)
    print(f"{len(failures)} check(s) failed" if failures else "all checks passed", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
