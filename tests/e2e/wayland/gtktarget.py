#!/usr/bin/env python3
"""A GTK 4 text view as the target of the Wayland end-to-end tests: after
every change it writes the whole text into FILE.
Usage: gtktarget.py FILE"""
import os
import sys

import gi

gi.require_version("Gtk", "4.0")
from gi.repository import Gtk  # noqa: E402

path = sys.argv[1]


def save(buffer):
    text = buffer.get_text(buffer.get_start_iter(), buffer.get_end_iter(), True)
    with open(path + ".tmp", "w", encoding="utf-8") as f:
        f.write(text)
    os.replace(path + ".tmp", path)


def activate(app):
    window = Gtk.ApplicationWindow(application=app, title="lumiko-target")
    window.set_default_size(400, 200)
    view = Gtk.TextView()
    view.get_buffer().connect("changed", save)
    window.set_child(view)
    window.maximize()  # a click anywhere beside the panel lands in it
    window.present()
    view.grab_focus()


app = Gtk.Application(application_id="org.lumiko.Target")
app.connect("activate", activate)
app.run([])
