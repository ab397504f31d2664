#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Walks the running program's AT-SPI tree, as a screen reader sees it, and
checks it: the main window is one window (no frame inside it), every control
that takes the focus says what it is, on every page of every tool, and the
objects below are there with their roles, names and states; Help opens a
window whose page is text, not a label. Usage: walk.py window | alert TEXT"""
import sys
import time

import pyatspi

# (role, name, states that must be set): present in the main window.
EXPECTED = [
    ("list", "Tools", []),
    ("list item", "Notewright", ["selected"]),
    ("list item", "Pickwright", []),
    ("page tab list", "General", []),
    ("panel", "Icon", []),
    ("radio button", "No Icon", ["checked"]),
    ("radio button", "Question", []),
    ("panel", "Buttons", []),
    ("radio button", "OK; default OK", ["checked"]),
    ("radio button", "Yes, No, Cancel; default Yes", []),
    ("radio button", "Yes, No; default No", []),
    ("push button", "Choose a help file", []),
    ("filler", "Askwright", []),
    ("list", "Allowed File Types", []),
    ("panel", "Fonts to Display", []),
    ("radio button", "Both", ["checked"]),
    ("push button", "Exit", []),
    ("combo box", "Title", []),
    ("combo box", "Write constants as", []),
    ("combo box", "Language", []),
]

STATES = {"checked": pyatspi.STATE_CHECKED, "selected": pyatspi.STATE_SELECTED}


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(200):
        for app in desktop:
            if app is not None and app.name == "quillkit98" and app.childCount > 0:
                return app
        time.sleep(0.1)
    sys.exit("FAIL: quillkit98 never appeared on the accessibility bus")


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def labelled(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return any(relation.getTarget(i).name for i in range(relation.getNTargets()))
    return False


def check_window(app):
    failures = []
    windows = [child for child in app if child is not None and child.getRoleName() == "frame"]
    if [w.name for w in windows] != ["Quillkit 98"]:
        return ["the program's windows are %r, not one frame 'Quillkit 98'" % [w.name for w in windows]]
    window = windows[0]
    nodes = list(descendants(window))
    failures += check_names(nodes, "at the start")
    for role, name, wanted in EXPECTED:
        found = [n for n in nodes if n.getRoleName() == role and n.name == name]
        if not found:
            failures.append("no %s named %r" % (role, name))
            continue
        for state in wanted:
            if not found[0].getState().contains(STATES[state]):
                failures.append("the %s %r is not %s" % (role, name, state))
    failures += check_every_page(window)
    failures += check_help(app, nodes)
    return failures


def check_names(nodes, where):
    """No frame inside the window; every control shown that takes the focus
    has a name, and a drop-down its label."""
    failures = []
    for node in nodes:
        role = node.getRoleName()
        states = node.getState()
        if role == "frame":
            failures.append("a frame inside the window: %r" % node.name)
        if not (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)):
            continue
        # An editable drop-down's line is the drop-down's.
        parent = node.parent
        if parent is not None and parent.getRoleName() == "combo box":
            continue
        if not node.name.strip():
            failures.append("%s: a focusable %s without a name" % (where, role))
        elif role == "combo box" and not labelled(node):
            failures.append("%s: a drop-down without a label: %r" % (where, node.name))
    return failures


def check_every_page(window):
    """Every page of every tool, reached as a screen reader's user would: Down
    in the column of tools, and the page tabs' Press action."""
    failures = []
    tools = [n for n in descendants(window) if n.getRoleName() == "list" and n.name == "Tools"][0]
    for index in range(tools.childCount):
        tools.queryComponent().grabFocus()
        time.sleep(0.2)
        if index:
            pyatspi.Registry.generateKeyboardEvent(0xFF54, None, pyatspi.KEY_SYM)  # Down
            time.sleep(0.4)
        tool = tools[index].name
        if not tools[index].getState().contains(pyatspi.STATE_SELECTED):
            failures.append("Down in the column did not reach %s" % tool)
            continue
        tab_lists = [n for n in descendants(window)
                     if n.getRoleName() == "page tab list" and n.getState().contains(pyatspi.STATE_SHOWING)]
        for tab in (t for tab_list in tab_lists for t in tab_list if t.getRoleName() == "page tab"):
            action = tab.queryAction()
            action.doAction([action.getName(i) for i in range(action.nActions)].index("Press"))
            time.sleep(0.3)
            failures += check_names(descendants(window), "%s, %s" % (tool, tab.name))
    return failures


def check_help(app, nodes):
    """Presses Help as a screen reader's user would, through its action."""
    buttons = [n for n in nodes if n.getRoleName() == "push button" and n.name == "Help"]
    if not buttons:
        return ["no Help button"]
    action = buttons[0].queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        return ["the Help button has no Press action but %r" % names]
    action.doAction(names.index("Press"))
    for _ in range(100):
        helps = [w for w in app if w is not None and w.getRoleName() == "frame" and w.name == "Quillkit 98 Help"]
        if helps:
            break
        time.sleep(0.1)
    else:
        return ["Help opened no window named 'Quillkit 98 Help'"]
    pages = [n for n in descendants(helps[0]) if n.name == "Help page"]
    if not pages or pages[0].getRoleName() != "text":
        return ["the help page is %r, not text" % [p.getRoleName() for p in pages]]
    text = pages[0].queryText()
    if "Getting started" not in text.getText(0, -1):
        return ["the help page's text does not hold the guide"]
    return []


def check_alert(app, text):
    for _ in range(100):
        alerts = [n for n in descendants(app) if n.getRoleName() == "alert"]
        if alerts:
            break
        time.sleep(0.1)
    else:
        return ["no alert came up"]
    alert = alerts[0]
    failures = []
    if alert.name != "Quillkit 98":
        failures.append("the alert is named %r" % alert.name)
    if text not in alert.description:
        failures.append("the alert's description %r does not say %r" % (alert.description, text))
    if not any(text in n.name for n in descendants(alert) if n.getRoleName() == "label"):
        failures.append("no label of the alert says %r" % text)
    return failures


def main():
    app = program()
    failures = check_window(app) if sys.argv[1] == "window" else check_alert(app, sys.argv[2])
    for failure in failures:
        print("FAIL: " + failure)
    if not failures:
        print("PASS: " + sys.argv[1])
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
