#!/usr/bin/python3
"""Drives a running Sumwright window through the AT-SPI accessibility bus, as a screen reader or
a UI automation tool would: finds the boxes by their accessible names, types the worked example,
presses Evaluate, and reads back the results and the status line; then an error, and what the
box with the problem says of it. Exits non-zero on any difference."""

import sys
import time

import pyatspi

EXPECTED_BOXES = ["Formula", "Formula for X", "Formula for Y", "Formula for Z",
                  "Result", "Value of X", "Value of Y", "Value of Z"]
EXPECTED_MENU = ["Options", "Clear Variables", "Clear All", "Evaluate Formula",
                 "Save Input on Exit", "Exit", "Help", "Contents...", "About Sumwright..."]

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
    app = find_application()
    if app is None:
        print("FAIL: no Sumwright application on the accessibility bus")
        return 1
    nodes = list(descendants(app))
    boxes = {n.name: n for n in nodes if n.getRoleName() == "text"}
    for name in EXPECTED_BOXES:
        check(name in boxes, f"a text box named {name!r}")
    buttons = [n for n in nodes if n.getRoleName() == "push button" and n.name == "Evaluate"]
    check(len(buttons) == 1, "one push button named 'Evaluate'")
    menu_names = {n.name for n in nodes if n.getRoleName() in ("menu item", "menu")}
    for name in EXPECTED_MENU:
        check(name in menu_names, f"a menu item named {name!r}")
    status = [n for n in nodes if n.getRoleName() == "label" and n.description == "Status"]
    check(len(status) == 1, "one label described as 'Status'")
    for name in EXPECTED_BOXES[4:]:
        if name in boxes:
            check(boxes[name].getState().contains(pyatspi.STATE_READ_ONLY),
                  f"{name!r} is read-only")
    if failures:
        return 1

    for name, formula in [("Formula", "x^2+y"), ("Formula for X", "z+1.5"),
                          ("Formula for Y", "3"), ("Formula for Z", "1.5")]:
        boxes[name].queryEditableText().setTextContents(formula)
    check(status[0].name == "Input has changed since the last evaluation.",
          f"status after typing, got {status[0].name!r}")
    buttons[0].queryAction().doAction(0)

    expected = {"Result": "12", "Value of X": "3", "Value of Y": "3", "Value of Z": "1.5"}
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and text_of(boxes["Result"]) != "12":
        time.sleep(0.1)
    for name, value in expected.items():
        check(text_of(boxes[name]) == value, f"{name!r} shows {value!r}, got {text_of(boxes[name])!r}")
    check(status[0].name == " Evaluation successful.",
          f"status after Evaluate, got {status[0].name!r}")

    boxes["Formula"].queryEditableText().setTextContents("1/0")
    buttons[0].queryAction().doAction(0)
    time.sleep(0.3)
    check(text_of(boxes["Result"]) == " Error", "an error shows ' Error' in the result box")
    check(status[0].name.startswith("Calculation error"), f"status names the calculation error, "
          f"got {status[0].name!r}")
    # What a screen reader says when the focus arrives in the box with the problem.
    formula = boxes["Formula"]
    check(formula.getState().contains(pyatspi.STATE_FOCUSED), "the Formula box has the focus")
    check(formula.description == status[0].name + " Problem at character 2.",
          f"the Formula box says what and where, got {formula.description!r}")
    selection = formula.queryText().getSelection(0) if formula.queryText().getNSelections() else None
    check(selection == (1, 2), f"the '/' is selected, got {selection!r}")

    print("accessibility: %d checks failed" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
