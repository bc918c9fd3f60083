#!/usr/bin/env python3
"""The pointer, keyboard and focus probe of the GNOME end-to-end test, fed
one command a line like lumiko-test-pointer: "move X Y", "down", "up",
"click", "dblclick", "rclick", "key KEYSYM" (an X keysym in hex, pressed
and released; "keydown"/"keyup KEYSYM": only pressed or released),
"keycode CODE" (a Linux key code, pressed and released), and
"focus", which prints the wm-class of the window that has the focus (or
"none"), and "windows", which lists every window's wm-class, focus and
whether it is hidden. Every command is answered with "done".

Pointer and keyboard are a remote-desktop session of mutter (its virtual
devices also give the headless seat a pointer and a keyboard); the focus
comes from the shell's introspection interface, which answers the desktop
portal's bus name, so this helper takes that name on the test's private
bus."""
import sys
import time

from gi.repository import Gio, GLib

BTN_LEFT, BTN_RIGHT = 0x110, 0x111

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "RequestName",
              GLib.Variant("(su)", ("org.freedesktop.impl.portal.desktop.gnome", 0)), None,
              Gio.DBusCallFlags.NONE, -1, None)


def call(dest, path, iface, method, args=None, reply=None):
    return bus.call_sync(dest, path, iface, method, args, reply and GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, 5000, None)


session = call("org.gnome.Mutter.RemoteDesktop", "/org/gnome/Mutter/RemoteDesktop",
               "org.gnome.Mutter.RemoteDesktop", "CreateSession", None, "(o)").unpack()[0]


def remote(method, args):
    call("org.gnome.Mutter.RemoteDesktop", session, "org.gnome.Mutter.RemoteDesktop.Session", method, args)


remote("Start", None)

# Without a screen-cast stream only relative motion is offered: the pointer
# goes to the top left corner first, and its place is kept here.
position = [0, 0]
remote("NotifyPointerMotionRelative", GLib.Variant("(dd)", (-4000.0, -4000.0)))


def move(x, y):
    remote("NotifyPointerMotionRelative", GLib.Variant("(dd)", (float(x - position[0]), float(y - position[1]))))
    position[:] = [x, y]


def button(code, down):
    remote("NotifyPointerButton", GLib.Variant("(ib)", (code, down)))


def click(code, times=1):
    for i in range(times):
        button(code, True)
        time.sleep(0.06)
        button(code, False)
        if i + 1 < times:
            time.sleep(0.06)


def windows():
    return call("org.gnome.Shell", "/org/gnome/Shell/Introspect", "org.gnome.Shell.Introspect",
                   "GetWindows", None, "(a{ta{sv}})").unpack()[0]


def focus():
    for props in windows().values():
        if props.get("has-focus"):
            return props.get("wm-class") or props.get("app-id") or props.get("title") or "?"
    return "none"


print("ready", flush=True)
for line in sys.stdin:
    words = line.split()
    if not words:
        continue
    command = words[0]
    try:
        if command == "move":
            move(int(words[1]), int(words[2]))
        elif command in ("down", "up"):
            button(BTN_LEFT, command == "down")
        elif command == "click":
            click(BTN_LEFT)
        elif command == "dblclick":
            click(BTN_LEFT, 2)
        elif command == "rclick":
            click(BTN_RIGHT)
        elif command == "key":
            sym = int(words[1], 16)
            remote("NotifyKeyboardKeysym", GLib.Variant("(ub)", (sym, True)))
            remote("NotifyKeyboardKeysym", GLib.Variant("(ub)", (sym, False)))
        elif command in ("keydown", "keyup"):
            remote("NotifyKeyboardKeysym", GLib.Variant("(ub)", (int(words[1], 16), command == "keydown")))
        elif command == "keycode":
            code = int(words[1])
            remote("NotifyKeyboardKeycode", GLib.Variant("(ub)", (code, True)))
            remote("NotifyKeyboardKeycode", GLib.Variant("(ub)", (code, False)))
        elif command == "focus":
            print(focus(), flush=True)
        elif command == "windows":
            print(" ".join(f"{p.get('wm-class')}:{p.get('has-focus')}:{p.get('is-hidden')}"
                           for p in windows().values()) or "none", flush=True)
    except GLib.Error as e:
        print(f"gnome_input: {command}: {e.message}", file=sys.stderr, flush=True)
        if command == "focus":
            print("error", flush=True)
    print("done", flush=True)
