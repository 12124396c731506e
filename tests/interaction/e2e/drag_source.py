#!/usr/bin/env python3
"""A file dragged the way a file manager drags it: a small GTK window whose button offers the
file as text/uri-list over XDND. usage: drag_source.py FILE; it ends when the drag ends."""
import sys

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gdk, GLib, Gtk  # noqa: E402

uri = GLib.filename_to_uri(sys.argv[1], None)
window = Gtk.Window(title="Ravenquill drag source")
button = Gtk.Button(label="drag me")
button.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, [], Gdk.DragAction.COPY)
button.drag_source_add_uri_targets()
button.connect("drag-data-get", lambda w, ctx, data, info, time: data.set_uris([uri]))
button.connect("drag-end", lambda w, ctx: GLib.timeout_add(500, Gtk.main_quit))
window.add(button)
window.set_default_size(160, 80)
window.move(0, 0)
window.connect("destroy", Gtk.main_quit)
window.show_all()
Gtk.main()
