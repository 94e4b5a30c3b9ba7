"""Finds a widget of a running Plinkly through the accessibility bus, as a screen reader would.

    accessible.py [--in WINDOW] [--role ROLE] NAME

Prints the screen extents "LEFT TOP WIDTH HEIGHT" of the first showing object called NAME
(of role ROLE, e.g. "push button", "slider", "label"), searched under the top-level window
titled WINDOW if given. When the object sits in a scroll area, the extents of the area's
vertical scroll bar follow on the same line, so the caller can scroll it into view. Exits with 1
when nothing matches.
"""
import argparse
import sys

import pyatspi


def showing(accessible):
    state = accessible.getState()
    return state.contains(pyatspi.STATE_SHOWING) and state.contains(pyatspi.STATE_VISIBLE)


def extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return [box.x, box.y, box.width, box.height]


# Qt shows a scroll area as a plain container; its scroll bars sit in containers of their own.
# Returns the showing vertical one, or None.
def vertical_bar(accessible):
    for child in accessible:
        if child is None:
            continue
        for candidate in [child] + list(child):
            if candidate is not None and candidate.getRoleName() == "scroll bar" and showing(candidate):
                left, top, width, height = extents(candidate)
                if height > width:
                    return candidate
    return None


# Depth first through showing objects only: hidden pages and dialogs hold many widgets.
def find(accessible, name, role, bars):
    for child in accessible:
        if child is None or not showing(child):
            continue
        if child.name == name and (role is None or child.getRoleName() == role):
            return child, bars
        bar = vertical_bar(child)
        found = find(child, name, role, bars + [bar] if bar else bars)
        if found:
            return found
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--in", dest="window")
    parser.add_argument("--role")
    parser.add_argument("name")
    args = parser.parse_args()

    desktop = pyatspi.Registry.getDesktop(0)
    for application in desktop:
        if application is None or application.name.lower() != "plinkly":
            continue
        for window in application:
            if window is None or (args.window is not None and window.name != args.window):
                continue
            found = find(window, args.name, args.role, [])
            if found:
                target, bars = found
                print(" ".join(str(v) for v in extents(target) + (extents(bars[-1]) if bars else [])))
                return 0
    return 1


if __name__ == "__main__":
    sys.exit(main())
