#!/usr/bin/python3
"""Drives a running Sumwright window through the AT-SPI accessibility bus, as a screen reader or
a UI automation tool would: finds the boxes by their accessible names, types the worked example,
presses Evaluate, and reads back the results and the status line; then an error, and what the
box with the problem says of it. Exits non-zero on any difference.

    drive_window.py [LANGUAGE]

LANGUAGE (en, the default, or de) is the language the window was started in: the names and
messages are read back in it."""

import sys
import time

import pyatspi

# What the window says, by language: the eight boxes, the button, the menu, the status line's
# description, and the messages the drive meets.
TEXTS = {
    "en": {
        "boxes": ["Formula", "Formula for X", "Formula for Y", "Formula for Z",
                  "Result", "Value of X", "Value of Y", "Value of Z"],
        "button": "Evaluate",
        "menu": ["Options", "Clear Variables", "Clear All", "Evaluate Formula",
                 "Save Input on Exit", "Exit", "Help", "Contents...", "About Sumwright..."],
        "status": "Status",
        "changed": "Input has changed since the last evaluation.",
        "success": " Evaluation successful.",
        "calculation": "Calculation error",
        "place": " Problem at character 2.",
    },
    "de": {
        "boxes": ["Formel", "Formel für X", "Formel für Y", "Formel für Z",
                  "Ergebnis", "Wert von X", "Wert von Y", "Wert von Z"],
        "button": "Auswerten",
        "menu": ["Optionen", "Variablen löschen", "Alles löschen", "Formel auswerten",
                 "Eingabe beim Beenden speichern", "Beenden", "Hilfe", "Inhalt...",
                 "Info über Sumwright..."],
        "status": "Status",
        "changed": "Eingabe seit letzter Auswertung geändert.",
        "success": " Auswertung erfolgreich.",
        "calculation": "Rechenfehler",
        "place": " Problem bei Zeichen 2.",
    },
}

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def find_application(timeout=20.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and (app.name or "").lower().startswith("sumwright"):
                return app
        time.sleep(0.2)
    return None


def descendants(node):
    stack = [node]
    while stack:
        current = stack.pop()
        yield current
        for i in reversed(range(current.childCount)):
            child = current.getChildAtIndex(i)
            if child is not None:
                stack.append(child)


def text_of(node):
    return node.queryText().getText(0, -1)


def main():
    texts = TEXTS[sys.argv[1] if len(sys.argv) > 1 else "en"]
    formula, x, y, z, result = texts["boxes"][:5]
    app = find_application()
    if app is None:
        print("FAIL: no Sumwright application on the accessibility bus")
        return 1
    nodes = list(descendants(app))
    boxes = {n.name: n for n in nodes if n.getRoleName() == "text"}
    for name in texts["boxes"]:
        check(name in boxes, f"a text box named {name!r}")
    buttons = [n for n in nodes
               if n.getRoleName() == "push button" and n.name == texts["button"]]
    check(len(buttons) == 1, f"one push button named {texts['button']!r}")
    menu_names = {n.name for n in nodes if n.getRoleName() in ("menu item", "menu")}
    for name in texts["menu"]:
        check(name in menu_names, f"a menu item named {name!r}")
    status = [n for n in nodes
              if n.getRoleName() == "label" and n.description == texts["status"]]
    check(len(status) == 1, f"one label described as {texts['status']!r}")
    for name in texts["boxes"][4:]:
        if name in boxes:
            check(boxes[name].getState().contains(pyatspi.STATE_READ_ONLY),
                  f"{name!r} is read-only")
    if failures:
        return 1

    for name, typed in [(formula, "x^2+y"), (x, "z+1.5"), (y, "3"), (z, "1.5")]:
        boxes[name].queryEditableText().setTextContents(typed)
    check(status[0].name == texts["changed"], f"status after typing, got {status[0].name!r}")
    buttons[0].queryAction().doAction(0)

    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and text_of(boxes[result]) != "12":
        time.sleep(0.1)
    for name, value in zip(texts["boxes"][4:], ["12", "3", "3", "1.5"]):
        check(text_of(boxes[name]) == value, f"{name!r} shows {value!r}, got {text_of(boxes[name])!r}")
    check(status[0].name == texts["success"], f"status after Evaluate, got {status[0].name!r}")

    boxes[formula].queryEditableText().setTextContents("1/0")
    buttons[0].queryAction().doAction(0)
    time.sleep(0.3)
    check(text_of(boxes[result]) == " Error", "an error shows ' Error' in the result box")
    check(status[0].name.startswith(texts["calculation"]), f"status names the calculation error, "
          f"got {status[0].name!r}")
    # What a screen reader says when the focus arrives in the box with the problem.
    box = boxes[formula]
    check(box.getState().contains(pyatspi.STATE_FOCUSED), "the Formula box has the focus")
    check(box.description == status[0].name + texts["place"],
          f"the Formula box says what and where, got {box.description!r}")
    selection = box.queryText().getSelection(0) if box.queryText().getNSelections() else None
    check(selection == (1, 2), f"the '/' is selected, got {selection!r}")

    print("accessibility (%s): %d checks failed" % (texts["button"], len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
