"""Prints, as JSON, what a screen reader sees of one process's windows: every
accessible object under its application, depth first, with its role, name,
place on the screen and actions. Runs under the system's python3, which has
the AT-SPI bindings (gir1.2-atspi-2.0, python3-gi).

With --click NAME, it does the first action of the first object of that
name instead, and prints nothing.

usage: atspi_tree.py PID [--click NAME]"""

import json
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402


def describe(node, depth):
    entry = {"depth": depth, "role": node.get_role_name(), "name": node.get_name() or ""}
    interfaces = node.get_interfaces()
    if "Component" in interfaces:
        extents = node.get_component_iface().get_extents(Atspi.CoordType.SCREEN)
        entry["extents"] = [extents.x, extents.y, extents.width, extents.height]
    if "Action" in interfaces:
        action = node.get_action_iface()
        entry["actions"] = [action.get_action_name(i) for i in range(action.get_n_actions())]
    if "Text" in interfaces:
        text = node.get_text_iface()
        entry["text"] = text.get_text(0, text.get_character_count())
    return entry


def walk(node, depth, visit):
    visit(node, depth)
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, depth + 1, visit)


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def main():
    pid = int(sys.argv[1])
    Atspi.set_timeout(5000, 15000)
    app = application(pid)
    if len(sys.argv) == 4 and sys.argv[2] == "--click":
        found = []
        walk(app, 0, lambda node, _: found.append(node) if node.get_name() == sys.argv[3] else None)
        if not found:
            sys.exit(f"nothing is named {sys.argv[3]!r}")
        found[0].get_action_iface().do_action(0)
        return
    out = []
    if app is not None:
        walk(app, 0, lambda node, depth: out.append(describe(node, depth)))
    json.dump(out, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
