#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The running clock as a screen reader meets it, through the real AT-SPI bus
(under Xvfb in its own D-Bus session, see CMakeLists.txt), its clock set by
a file: names, roles and states at one moment, Check1's action, what a reader
hears when the second turns, and About read once.
"""
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
LABEL, SHOWING = pyatspi.ROLE_LABEL, pyatspi.STATE_SHOWING
failures = []

# At 12:34:56 on 6 December 2026: name, role (None: any), whether it shows.
AT_START = [
    ("Tag: 6", None, True), ("Monat: 12", None, True), ("Jahr: 2026", None, True),
    ("Stunden: 12", None, True), ("Minuten: 34", None, True), ("Sekunden: 56", None, True),
    ("Stunden hexadezimal, addiert: 0C", LABEL, True),
    ("Minuten hexadezimal, addiert: 22", LABEL, True),
    ("Sekunden hexadezimal, addiert: 38", LABEL, True),
    ("Tag, Wert 4", LABEL, True), ("1024 512 256 128 64 32 16 8 4 2 1", LABEL, True),
    ("Stunden dezimal: 12", LABEL, False), ("Jahr dezimal: 2026", LABEL, False),
]
# Once Check1 is checked.
WITH_READOUTS = [("Stunden dezimal: 12", LABEL, True), ("Digitale Zeitanzeige ein/aus", pyatspi.ROLE_CHECK_BOX, True)]
# What a reader hears when the second turns to 57: nothing else is renamed.
KINDS = ["object:state-changed:visible", "object:property-change:accessible-name",
         "object:property-change:accessible-description"]
SECOND_TURNS = {"Sekunden: 57", "Sekunden dezimal: 57", "Sekunden hexadezimal, addiert: 39"}


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(what, probe):
    """Polls probe() until it returns something true or the deadline passes."""
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        try:
            found = probe()
        except GLib.Error:
            found = None
        if found:
            return found
        pump(0.1)
    kept = tempfile.mkdtemp(prefix="failed-wait-")
    print(f"the wait for {what} ran out; what was on the screen is kept in {kept}", flush=True)
    subprocess.run([os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                                 "screen-evidence.sh"), kept, str(os.getpid())], timeout=60)
    raise SystemExit(f"FAIL {what}: nothing within {DEADLINE:.0f} s")


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    loop = GLib.MainLoop()
    GLib.timeout_add(int(seconds * 1000), loop.quit)
    loop.run()


def set_clock(path, moment):
    with open(path + ".new", "w") as f:
        f.write(str(int(moment.replace(tzinfo=datetime.timezone.utc).timestamp())))
    os.replace(path + ".new", path)


def descendants(node):
    for child in node:
        if child is not None:
            yield child
            yield from descendants(child)


def find(root, name, role=None):
    return next((node for node in descendants(root) if node.name == name and
                 (role is None or node.getRole() == role)), None)


def check_rows(window, rows):
    for name, role, showing in rows:
        node = find(window, name, role)
        check(node is not None and node.getState().contains(SHOWING) == showing,
              f"\"{name}\" is there{'' if showing else ', hidden'}")


def read_the_clock(clock, now):
    app = wait_for("the clock on the AT-SPI bus", lambda: next(
        (a for a in pyatspi.Registry.getDesktop(0) if a and a.get_process_id() == clock.pid), None))
    window = wait_for("the main window", lambda: next(
        (w for w in app if w is not None and w.name == "Tessaro"), None))
    check(window.getRole() == pyatspi.ROLE_FRAME, "the main window is a frame")
    wait_for("the rows named after their values", lambda: find(window, "Sekunden: 56"))
    check_rows(window, AT_START)
    check(window.description == "12:34:56, 06.12.2026",
          f"the main window tells the moment ({window.description})")

    events = []
    listener = Atspi.EventListener.new(events.append)
    for kind in KINDS:
        listener.register(kind)
    box = find(window, "Digitale Zeitanzeige ein/aus", pyatspi.ROLE_CHECK_BOX)
    actions = box.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    check("Toggle" in names, f"Check1 offers the action Toggle ({names})")
    actions.doAction(names.index("Toggle"))
    wait_for("Check1 checked", lambda: box.getState().contains(pyatspi.STATE_CHECKED))
    wait_for("the readouts reported visible", lambda: any(
        e.detail1 == 1 and e.source.get_name().startswith("Stunden dezimal") for e in events))
    check_rows(window, WITH_READOUTS)

    events.clear()
    set_clock(now, datetime.datetime(2026, 12, 6, 12, 34, 57))
    wait_for("the window's new moment", lambda: any(
        e.source.description == "12:34:57, 06.12.2026" for e in events))
    pump(1.0)
    heard = [e.source.get_name() for e in events if e.type.endswith("accessible-name")]
    told = [e for e in events if e.type.endswith("accessible-description")]
    check(set(heard) == SECOND_TURNS and len(heard) == len(SECOND_TURNS),
          f"a reader hears the new second, and nothing else ({heard})")
    check(len(told) == 1, f"the window's moment is told once ({len(told)})")
    for kind in KINDS:
        listener.deregister(kind)

    find(window, "Info", pyatspi.ROLE_PUSH_BUTTON).queryAction().doAction(0)
    dialog = wait_for("the About dialog", lambda: next(
        (w for w in app if w is not None and w.getRole() == pyatspi.ROLE_DIALOG), None))
    check(dialog.name == "Info zu Tessaro", f"the dialog is titled ({dialog.name})")
    labels = [n.name for n in descendants(dialog) if n.getRole() == LABEL]
    check(all(any(part in label for label in labels)
              for part in ["Tessaro", "Version 2.0.8", "Freeware", "Systemzeit"]),
          f"About's labels give title, version and notices ({labels})")
    check(not any(label in (dialog.description or "") for label in labels),
          "About is read once: its description repeats no label")


def main():
    # What a screen reader does when it starts: tells toolkits to expose their trees.
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                    "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                    "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"],
                   check=True, stdout=subprocess.DEVNULL)
    with tempfile.TemporaryDirectory() as tmp:
        now = os.path.join(tmp, "now")
        set_clock(now, datetime.datetime(2026, 12, 6, 12, 34, 56))
        env = dict(os.environ, TZ="UTC", LD_PRELOAD=os.environ["TESSARO_LIBFAKETIME"],
                   FAKETIME_TIMESTAMP_FILE=now, FAKETIME_NO_CACHE="1", FAKETIME_FMT="%s",
                   FAKETIME_DONT_FAKE_MONOTONIC="1")
        clock = subprocess.Popen([os.environ["TESSARO_BINARY"]], env=env)
        try:
            read_the_clock(clock, now)
        finally:
            clock.terminate()
            clock.wait(DEADLINE)
    print(f"{len(failures)} check(s) failed" if failures else "all checks passed", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
