#!/usr/bin/python3
# The player as a screen reader finds it over AT-SPI: the window, its buttons and bars, the
# Play button pressed through its action, the playlist window, and Close. Prints the tree
# before and after, and exits non-zero at the first thing a reader could not find or use.
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

TIMEOUT = 20.0
MAIN_BUTTONS = ["Open", "Previous", "Pause", "Next", "Playlist", "Minimise", "Maximise", "Close"]
PLAYLIST_BUTTONS = ["Save", "Clear", "Previous file", "Next file", "Add folder", "Add file",
                    "Close"]


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=TIMEOUT):
    """probe() until it gives something true; the D-Bus side may still be settling."""
    deadline = time.monotonic() + timeout
    last = None
    while time.monotonic() < deadline:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # an object may vanish or not answer yet
            last = error
        time.sleep(0.05)
    raise Failure(f"{what}: not within {timeout:.0f} s" + (f" ({last})" if last else ""))


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name.lower() == "orvella":
            return app
    return None


def children(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield child


def walk(node, depth=0):
    yield depth, node
    for child in children(node):
        yield from walk(child, depth + 1)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def value(node):
    try:
        v = node.queryValue()
    except NotImplementedError:
        return None
    return v.currentValue, v.minimumValue, v.maximumValue


def describe(node):
    line = f"{node.getRoleName()} {node.name!r}"
    if not showing(node):
        line += " (hidden)"
    names = actions(node)
    if names:
        line += " actions=" + ",".join(names)
    v = value(node)
    if v is not None:
        line += " value=%.1f [%.1f..%.1f]" % v
    return line


def print_tree(title, app):
    app.clearCache()
    print(f"--- {title}")
    for depth, node in walk(app):
        print("  " * depth + describe(node))
    sys.stdout.flush()


def frame(app, name):
    for node in children(app):
        if node.getRole() == pyatspi.ROLE_FRAME and node.name == name:
            return node
    return None


def by_role(root, role):
    return [node for _, node in walk(root) if node.getRole() == role]


def named(nodes, name):
    return [node for node in nodes if node.name == name]


def push_buttons(root):
    root.clearCache()
    return by_role(root, pyatspi.ROLE_PUSH_BUTTON)


def check_buttons(root, wanted):
    buttons = push_buttons(root)
    for name in wanted:
        found = named(buttons, name)
        if len(found) != 1:
            raise Failure(f"push button {name!r}: {len(found)} found, among "
                          f"{[b.name for b in buttons]}")
        if [a.lower() for a in actions(found[0])] != ["press"]:
            raise Failure(f"push button {name!r}: actions {actions(found[0])}")


def press(root, name):
    button = named(push_buttons(root), name)
    if len(button) != 1:
        raise Failure(f"no one push button {name!r} to press")
    if not button[0].queryAction().doAction(0):
        raise Failure(f"{name!r} refused its press")


def player_volume():
    """The volume the player reports on its media-controls bus name, 0 to 1."""
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = bus.call_sync("org.mpris.MediaPlayer2.orvella", "/org/mpris/MediaPlayer2",
                          "org.freedesktop.DBus.Properties", "Get",
                          GLib.Variant("(ss)", ("org.mpris.MediaPlayer2.Player", "Volume")),
                          None, Gio.DBusCallFlags.NONE, 5000, None)
    return reply.unpack()[0]


def main():
    app = wait_for("the application on the accessibility bus", application)
    window = wait_for("frame 'Orvella'", lambda: frame(app, "Orvella"))
    # The player starts on its file: the play button reads Pause once it plays.
    wait_for("the play button reading Pause",
             lambda: named(push_buttons(window), "Pause"))
    print_tree("as started", app)

    check_buttons(window, MAIN_BUTTONS)
    sliders = by_role(window, pyatspi.ROLE_SLIDER)
    for name in ("Position", "Volume"):
        if len(named(sliders, name)) != 1:
            raise Failure(f"slider {name!r} missing among {[s.name for s in sliders]}")
    position = named(sliders, "Position")[0]
    wait_for("the position slider knowing the length", lambda: value(position)[2] > 0)
    if value(named(sliders, "Volume")[0]) != (100.0, 0.0, 100.0):
        raise Failure(f"volume slider at {value(named(sliders, 'Volume')[0])}, not full")
    if any(node.name == "Resize" for _, node in walk(window)):
        raise Failure("the size grip is in the tree")

    # Pressed as a reader presses it: the file halts, and the button says so.
    press(window, "Pause")
    wait_for("the play button reading Play after its press",
             lambda: named(push_buttons(window), "Play")
             and not named(push_buttons(window), "Pause"))
    halted = value(position)[0]
    press(window, "Play")
    wait_for("the play button reading Pause again", lambda: named(push_buttons(window), "Pause"))
    wait_for("the position moving on", lambda: value(position)[0] > halted)

    # A value a reader sets goes where a click would: the player follows.
    volume = named(sliders, "Volume")[0]
    if player_volume() != 1.0:
        raise Failure(f"the player starts at volume {player_volume()}")
    volume.queryValue().currentValue = 50.0
    wait_for("the volume slider at half", lambda: abs(value(volume)[0] - 50) < 1)
    wait_for("the player's volume lowered", lambda: 0 < player_volume() < 1)
    position.queryValue().currentValue = 12.0
    wait_for("the position at 12 s", lambda: 12 <= value(position)[0] < 16)

    press(window, "Playlist")
    playlist = wait_for("frame 'ORV Playlist' showing",
                        lambda: (f := frame(app, "ORV Playlist")) and showing(f) and f)
    check_buttons(playlist, PLAYLIST_BUTTONS)
    print_tree("after Pause, Play, the values set and Playlist pressed", app)

    # The last press ends the program; the test that runs this sees it go.
    press(window, "Close")
    print("accessibility tree as expected")


if __name__ == "__main__":
    try:
        main()
    except Failure as failure:
        app = application()
        if app is not None:
            print_tree("at the failure", app)
        print(f"FAIL: {failure}")
        sys.exit(1)
