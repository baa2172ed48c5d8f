#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The running clock as a screen reader meets it, through the real AT-SPI bus
(under Xvfb in its own D-Bus session, see CMakeLists.txt), at a frozen moment
and then running: names, roles, descriptions, Check1's action, About read once,
and how often names change.
"""
import os
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402
import pyatspi  # noqa: E402

BINARY = os.environ["TESSARO_BINARY"]
LIBFAKETIME = os.environ["TESSARO_LIBFAKETIME"]
DEADLINE = 30.0  # seconds for anything to appear on a busy machine
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def wait_for(what, probe, deadline=DEADLINE):
    """Polls probe() until it returns something true or the deadline passes."""
    end = time.monotonic() + deadline
    while time.monotonic() < end:
        try:
            found = probe()
        except GLib.Error:
            found = None
        if found:
            return found
        pump(0.1)
    report_failed_wait(what)
    raise SystemExit(f"FAIL {what}: nothing within {deadline:.0f} s")


def report_failed_wait(what):
    """Keeps and prints what was on the screen when a wait ran out."""
    kept = tempfile.mkdtemp(prefix="failed-wait-")
    print(f"the wait for {what} ran out; what was on the screen is kept in {kept}", flush=True)
    subprocess.run([os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                                 "screen-evidence.sh"), kept, str(os.getpid())], timeout=60)


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    loop = GLib.MainLoop()
    GLib.timeout_add(int(seconds * 1000), loop.quit)
    loop.run()


def enable_accessibility():
    """What a screen reader does when it starts: tells toolkits to expose their trees."""
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                    "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
                    "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"],
                   check=True, stdout=subprocess.DEVNULL)


def start_clock(faketime):
    env = dict(os.environ, TZ="UTC", LD_PRELOAD=LIBFAKETIME, FAKETIME=faketime,
               FAKETIME_DONT_FAKE_MONOTONIC="1")
    return subprocess.Popen([BINARY], env=env)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def find(root, predicate):
    return next((node for node in descendants(root) if predicate(node)), None)


def named(root, prefix):
    return find(root, lambda node: (node.name or "").startswith(prefix))


def main_window(pid):
    app = wait_for("the clock on the AT-SPI bus", lambda: application(pid))
    return wait_for("the main window", lambda: next(
        (w for w in app if w is not None and w.name == "Tessaro"), None))


def window_id(pid):
    def search():
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid),
                              "--name", "^Tessaro$"], capture_output=True, text=True)
        return out.stdout.split()[0] if out.stdout.split() else None
    return wait_for("the main window on the X display", search)


def readout_border_shown(window):
    """Whether the hours readout's border (177, 189, 156 wide) shows on screen."""
    with tempfile.TemporaryDirectory() as tmp:
        shot = os.path.join(tmp, "shot.txt")
        subprocess.run(["import", "-window", window, "-crop", "156x1+177+189", "+repage",
                        "-depth", "8", "txt:" + shot], check=True)
        with open(shot) as f:
            pixels = [line for line in f if not line.startswith("#")]
    return len(pixels) == 156 and all("#000000" in line for line in pixels)


def read_the_frozen_moment():
    clock = start_clock("2026-12-06 12:34:56")
    try:
        window = main_window(clock.pid)
        check(window.getRole() == pyatspi.ROLE_FRAME, "the main window is a frame")
        wait_for("the rows named after their values",
                 lambda: named(window, "Sekunden: 56") and named(window, "Jahr: 2026"))
        for name in ["Tag: 6", "Monat: 12", "Jahr: 2026", "Stunden: 12", "Minuten: 34",
                     "Sekunden: 56", "Stunden hexadezimal, addiert: 0C",
                     "Minuten hexadezimal, addiert: 22", "Sekunden hexadezimal, addiert: 38",
                     "Stunden dezimal: 12", "Jahr dezimal: 2026"]:
            check(named(window, name) is not None, f"the tree says \"{name}\"")
        check(window.description == "12:34:56, 06.12.2026",
              f"the main window tells the moment ({window.description})")
        cell = named(window, "Tag, Wert 4")
        check(cell is not None and cell.name == "Tag, Wert 4" and
              cell.getRole() == pyatspi.ROLE_LABEL, "a date cell is a label named by its weight")
        heading = named(window, "1024 512")
        check(heading is not None and heading.name.endswith(" 2 1"),
              "the year heading speaks 1, not I")

        readout = named(window, "Stunden dezimal")
        check(not readout.getState().contains(pyatspi.STATE_SHOWING),
              "the decimal readouts start hidden")
        visible_events = []
        listener = Atspi.EventListener.new(
            lambda event: visible_events.append((event.source.get_name(), event.detail1)))
        listener.register("object:state-changed:visible")
        pump(0.5)

        box = find(window, lambda node: node.getRole() == pyatspi.ROLE_CHECK_BOX and
                   node.name == "Digitale Zeitanzeige ein/aus")
        actions = box.queryAction()
        names = [actions.getName(i) for i in range(actions.nActions)]
        check("Toggle" in names, f"Check1 offers the action Toggle ({names})")
        actions.doAction(names.index("Toggle"))

        wait_for("Check1 checked", lambda: box.getState().contains(pyatspi.STATE_CHECKED))
        wait_for("the readouts shown", lambda: named(window, "Stunden dezimal").getState()
                 .contains(pyatspi.STATE_SHOWING))
        shown = wait_for("visible reported for the readouts", lambda: [
            name for name, value in visible_events if value == 1])
        check(any(n.startswith("Stunden dezimal") for n in shown),
              f"the readouts are reported visible ({len(shown)} elements)")
        check(wait_for("the readout's border on screen",
                       lambda: readout_border_shown(window_id(clock.pid))),
              "the readouts show on screen with their border")
        check(named(window, "Uhr") is not None, "the hours row is titled Uhr")
        listener.deregister("object:state-changed:visible")

        info = find(window, lambda node: node.getRole() == pyatspi.ROLE_PUSH_BUTTON and
                    node.name == "Info")
        info.queryAction().doAction(0)
        app = application(clock.pid)
        dialog = wait_for("the About dialog", lambda: next(
            (w for w in app if w is not None and w.getRole() == pyatspi.ROLE_DIALOG), None))
        check(dialog.name == "Info zu Tessaro", f"the dialog is titled ({dialog.name})")
        labels = [n.name for n in descendants(dialog) if n.getRole() == pyatspi.ROLE_LABEL]
        check(all(any(part in label for label in labels)
                  for part in ["Tessaro", "Version 2.0.8", "Freeware", "Systemzeit"]),
              f"About's labels give title, version and notices ({labels})")
        check(not any(label in (dialog.description or "") for label in labels),
              "About is read once: its description repeats no label")
    finally:
        clock.terminate()
        clock.wait(DEADLINE)


def count_name_changes():
    clock = start_clock("@2026-12-06 12:34:56")
    try:
        window = main_window(clock.pid)
        wait_for("the clock's first tick", lambda: named(window, "Sekunden: "))
        names, descriptions = [], []

        def heard(event):
            frame = event.source.getRole() == pyatspi.ROLE_FRAME
            if event.type.endswith("accessible-name"):
                names.append(event.source.get_name() or "")
            elif frame:
                descriptions.append(event.source.description)
        listener = Atspi.EventListener.new(heard)
        events = ["object:property-change:accessible-name",
                  "object:property-change:accessible-description"]
        for event in events:
            listener.register(event)
        seconds = 5.0
        pump(seconds)
        for event in events:
            listener.deregister(event)
        print(f"per second: {len(names) / seconds:.1f} name changes, "
              f"{len(descriptions) / seconds:.1f} window description changes", flush=True)
        check(any(name.startswith("Sekunden: ") for name in names),
              f"the seconds row is heard ({names[:4]})")
        # The seconds' title, readout and combined hexadecimal cell change
        # once a second, the minutes' when the minute turns; no cell is renamed.
        check(len(names) <= (seconds + 1) * 3 + 3, f"no event storm: {len(names)} name changes")
        check(not any(", Wert " in name for name in names), "no bit cell is renamed")
        check(0 < len(descriptions) <= seconds + 1,
              f"the window's description changes once a second ({descriptions[:2]})")
    finally:
        clock.terminate()
        clock.wait(DEADLINE)


def main():
    enable_accessibility()
    read_the_frozen_moment()
    count_name_changes()
    if failures:
        print(f"{len(failures)} check(s) failed", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
