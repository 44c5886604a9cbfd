#!/usr/bin/python3
"""Walks the window's accessible tree through AT-SPI, as a screen reader
sees it, and works the "Layout" page with the keyboard alone.

Started by run_walk.sh inside a virtual display with its own session bus;
the program is already running. Exits non-zero with the faults found."""

import subprocess
import sys
import time

import pyatspi

faults = []

# Roles a user can act on: each needs a name to be announced by.
INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_LIST, pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TREE,
    pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TABLE, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_SPIN_BUTTON,
}


def fault(text):
    faults.append(text)
    print("FEHLER: " + text, flush=True)


def wait_for(what, condition, seconds=15):
    end = time.time() + seconds
    while time.time() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    fault("timed out waiting for " + what)
    return None


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "treeweaver":
            return app
    return None


def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except Exception:  # an object that went away while it was walked
        return []


def fresh(acc):
    """The object with what the bus says now, not what was cached."""
    try:
        acc.clearCache()
    except Exception:
        pass
    return acc


def walk(acc):
    yield acc
    for child in children(acc):
        if child is not None:
            yield from walk(child)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def text_of(acc):
    try:
        return acc.queryText().getText(0, -1)
    except NotImplementedError:
        return None


def check_names(app, where):
    for acc in walk(fresh(app)):
        if acc.getRole() in INTERACTIVE and showing(acc) and not acc.name.strip():
            parent = acc.parent
            fault("%s: unnamed %s in %s '%s'" % (where, acc.getRoleName(), parent.getRoleName(), parent.name))


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers"] + list(keys), check=True)
    time.sleep(0.4)


def focused(acc):
    """The focused object below acc, looking only into what is showing."""
    for child in children(fresh(acc)):
        if child is None:
            continue
        state = child.getState()
        if state.contains(pyatspi.STATE_FOCUSED):
            # A focused view names its focused row.
            return focused(child) or child
        if state.contains(pyatspi.STATE_SHOWING) or child.getRole() == pyatspi.ROLE_FRAME:
            found = focused(child)
            if found is not None:
                return found
    return None


def focus_settles(app, accept, seconds=5):
    """The focused object once it is one that accept takes, or the last one
    seen (maybe None) when none is within the time: the program may be slow
    to follow a key on a busy machine."""
    end = time.time() + seconds
    while True:
        now = focused(app)
        if (now is not None and accept(now)) or time.time() > end:
            return now
        time.sleep(0.2)


def value_settles(grid, caption, value, seconds=5):
    """The value the grid's row reads once it is value, or the last read."""
    end = time.time() + seconds
    while True:
        rows = [acc for acc in children(fresh(grid)) if acc.name == caption]
        read = text_of(rows[0]) if rows else None
        if read == value or time.time() > end:
            return read
        time.sleep(0.2)


def is_(role_set, name):
    return lambda acc: acc.getRole() in role_set and acc.name == name


def describe(acc):
    value = text_of(acc)
    line = "%s \"%s\"" % (acc.getRoleName(), acc.name)
    if acc.description:
        line += " [%s]" % acc.description
    if value is not None and acc.getRole() != pyatspi.ROLE_TREE:
        line += " = \"%s\"" % value
    return line


def within(acc, role, name):
    while acc is not None:
        if acc.getRole() == role and acc.name == name:
            return True
        acc = acc.parent
    return False


def check_listed(acc, what):
    """A focused control of the grid has the grid as its parent, and the grid
    lists it among its children, so that review and "where am I" find it."""
    parent = acc.parent
    if parent is None or parent.getRole() != pyatspi.ROLE_TREE or parent.name != "Layout":
        fault("%s: parent is %s, not the grid" % (what, describe(parent) if parent else "nothing"))
    elif not any(c.getRole() == acc.getRole() and c.name == acc.name for c in children(fresh(parent))):
        fault("%s: not among the children of the grid" % what)


def find(app, role, name):
    for acc in walk(app):
        if acc.getRole() == role and acc.name == name:
            return acc
    return None


# The rows of the grid in display order, with the group each belongs to.
ROWS = [
    ("Menüpunkt", ""), ("Schrift(en)", "Menüpunkt"), ("Schriftgröße", "Menüpunkt"),
    ("Untermenü", ""), ("Schrift(en)", "Untermenü"), ("Schriftgröße", "Untermenü"), ("Abstand", "Untermenü"),
    ("Farben", ""), ("Text", "Farben"), ("Hintergrund", "Farben"), ("Link", "Farben"),
    ("1. Buchstabe", "Farben"), ("besuchter Link", "Farben"), ("aktiver Link", "Farben"), ("Hover Link", "Farben"),
    ("Titel", ""), ("Trennlinie", ""), ("Hintergrundbild", ""),
]
GROUPS = {"Menüpunkt", "Untermenü", "Farben"}
# Qt gives the items of a tree the role of table cells.
ROW_ROLES = {pyatspi.ROLE_TREE_ITEM, pyatspi.ROLE_TABLE_CELL}
CHOOSERS = {"Schrift(en)": "Schriftart wählen", "Hintergrundbild": "Bild wählen"}


def main():
    app = wait_for("the program on the accessibility bus", application, 30)
    if app is None:
        return 1
    subprocess.run(["xdotool", "search", "--sync", "--name", "Treeweaver", "windowactivate", "--sync"], check=False)
    time.sleep(1)

    start = focus_settles(app, lambda acc: within(acc, pyatspi.ROLE_TREE, "Menüstruktur"), 15)
    if start is None or not within(start, pyatspi.ROLE_TREE, "Menüstruktur"):
        fault("at start the focus is on %s, not on the tree" % (describe(start) if start else "nothing"))
    check_names(app, "Menüstruktur")

    # Ctrl+Tab twice: "Allgemein", then "Layout", the focus on the grid.
    key("ctrl+Tab")
    check_names(app, "Allgemein")
    key("ctrl+Tab")
    grid = find(app, pyatspi.ROLE_TREE, "Layout")
    if grid is None:
        fault("no tree named 'Layout'")
        return 1
    now = focus_settles(app, lambda acc: within(acc, pyatspi.ROLE_TREE, "Layout"))
    if now is None or not within(now, pyatspi.ROLE_TREE, "Layout"):
        fault("after Ctrl+Tab the focus is on %s, not on the grid" % (describe(now) if now else "nothing"))

    # Every row in turn with the keyboard: the first Down selects the first
    # row, Right opens a group.
    key("Down")
    for caption, group in ROWS:
        expected = caption if not group else group + ": " + caption
        if caption in GROUPS:
            now = focus_settles(app, is_(ROW_ROLES, caption))
            if now is None or now.getRole() not in ROW_ROLES or now.name != caption:
                fault("row '%s': focus on %s" % (caption, describe(now) if now else "nothing"))
            key("Right")
            key("Down")
            continue
        now = focus_settles(app, is_({pyatspi.ROLE_TEXT}, expected))
        if now is None or now.getRole() != pyatspi.ROLE_TEXT or now.name != expected:
            fault("row '%s': focus on %s, not on its editor" % (expected, describe(now) if now else "nothing"))
        else:
            check_listed(now, "editor of '%s'" % expected)
        if now is not None and now.getRole() == pyatspi.ROLE_TEXT and (caption in CHOOSERS or group == "Farben"):
            chooser = CHOOSERS.get(caption, "Farbe wählen")
            key("Tab")
            button = focus_settles(app, is_({pyatspi.ROLE_PUSH_BUTTON}, chooser))
            if button is None or button.getRole() != pyatspi.ROLE_PUSH_BUTTON or button.name != chooser:
                fault("Tab from '%s' reaches %s" % (expected, describe(button) if button else "nothing"))
            else:
                check_listed(button, "chooser of '%s'" % expected)
            key("shift+Tab")
            focus_settles(app, is_({pyatspi.ROLE_TEXT}, expected))
            if caption == "Text":
                # Lower-case letters become upper case; Return takes the colour.
                subprocess.run(["xdotool", "type", "--delay", "30", "ff8000"], check=True)
                key("Return")
                read = value_settles(grid, "Text", "#FF8000")
                if read != "#FF8000":
                    fault("the row 'Text' reads %r, not the typed colour" % read)
        key("Down")

    # A value changed with the keyboard reaches the row.
    # The last Down stayed on "Hintergrundbild".
    key("Up")  # "Trennlinie"
    key("Up")  # "Titel"
    now = focus_settles(app, is_({pyatspi.ROLE_TEXT}, "Titel"))
    if now is None or now.name != "Titel":
        fault("Up leads to %s, not to the editor of 'Titel'" % (describe(now) if now else "nothing"))
    key("ctrl+a")
    subprocess.run(["xdotool", "type", "--delay", "30", "Startseite"], check=True)
    key("Return")
    read = value_settles(grid, "Titel", "Startseite")
    if read != "Startseite":
        fault("the row 'Titel' reads %r, not the typed value" % read)
    rows = [acc for acc in children(fresh(grid)) if acc.getRole() in ROW_ROLES]

    print("Accessible tree of the \"Layout\" page:")
    print(describe(grid))
    for acc in children(grid):
        print("    " + describe(acc))
        if acc.getRole() in ROW_ROLES:
            if acc.name in GROUPS:
                continue
            if text_of(acc) is None:
                fault("row '%s' exposes no value" % acc.name)
    if len(rows) != len(ROWS):
        fault("%d rows exposed, %d expected" % (len(rows), len(ROWS)))
    for acc, (caption, group) in zip(rows, ROWS):
        if acc.name != caption or acc.description != group:
            fault("row %s [%s] where %s [%s] was expected" % (acc.name, acc.description, caption, group))
    check_names(app, "Layout")

    key("ctrl+Tab")
    check_names(app, "eigene Variablen")
    print("%d faults" % len(faults))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
