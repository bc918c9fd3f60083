#!/usr/bin/env python3
"""A GTK 4 text view as the target of the Wayland end-to-end tests: after
every change it writes the whole text into FILE, and it appends the name of
every key pressed in it (with "ctrl+" while Control is held) to FILE.keys,
a line each, which tells keys from text that an input method committed.
Usage: gtktarget.py FILE"""
import os
import sys

import gi

gi.require_version("Gtk", "4.0")
from gi.repository import Gdk, Gtk  # noqa: E402

path = sys.argv[1]


def save(buffer):
    text = buffer.get_text(buffer.get_start_iter(), buffer.get_end_iter(), True)
    with open(path + ".tmp", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(path + ".tmp", path)


def key_pressed(_controller, keyval, _keycode, state):
    name = Gdk.keyval_name(keyval)
    if state & Gdk.ModifierType.CONTROL_MASK:
        name = "ctrl+" + name
    with open(path + ".keys", "a", encoding="utf-8") as f:
        f.write(name + "\n")
    return False


def activate(app):
    window = Gtk.ApplicationWindow(application=app, title="lumiko-target")
    window.set_default_size(400, 200)
    view = Gtk.TextView()
    view.get_buffer().connect("changed", save)
    keys = Gtk.EventControllerKey()
    keys.set_propagation_phase(Gtk.PropagationPhase.CAPTURE)
    keys.connect("key-pressed", key_pressed)
    window.add_controller(keys)
    window.set_child(view)
    window.maximize()  # a click anywhere beside the panel lands in it
    window.present()
    view.grab_focus()


app = Gtk.Application(application_id="org.lumiko.Target")
app.connect("activate", activate)
app.run([])
