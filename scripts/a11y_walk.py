#!/usr/bin/python3
"""Walks a running application's accessibility tree over AT-SPI, as a screen
reader sees it, and prints every object a user can act on with its role,
name and description. Counts the actionable objects and those without a
name; exits 1 when any actionable object has no name.

Run it inside the application's D-Bus session with the accessibility bus up
(scripts/a11y-walk.sh does all of that for the demo)."""

import argparse
import re
import sys
import time

import pyatspi

# The exit status when the application never showed up on the bus: Qt's
# bridge loses a race with the bus now and then at start, and a new start helps.
NOT_ON_BUS = 3


def actions_of(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def showing(obj):
    return obj.getState().contains(pyatspi.STATE_SHOWING)


def find_application(name, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name:
                return app
        time.sleep(0.5)
    print(f"no application named {name!r} on the accessibility bus", file=sys.stderr)
    sys.exit(NOT_ON_BUS)


def descendants(obj):
    """Every showing object below obj, depth first."""
    for child in obj:
        if child is None or not showing(child):
            continue
        yield child
        yield from descendants(child)


def find(app, selector, timeout):
    """The showing object of ROLE=NAME[#N] (name a regex, N-th match, 0 first), waiting for it."""
    role, name_pattern = selector.split("=", 1)
    name_pattern, _, nth = name_pattern.partition("#")
    pattern = re.compile(name_pattern)
    deadline = time.time() + timeout
    while time.time() < deadline:
        found = [obj for window in app if window is not None and showing(window)
                 for obj in descendants(window)
                 if obj.getRoleName() == role and pattern.fullmatch(obj.name or "")]
        if len(found) > int(nth or 0):
            return found[int(nth or 0)]
        time.sleep(0.5)
    sys.exit(f"no showing {selector}")


def double_click(obj):
    """A real double-click in the middle of the object, through the X server."""
    x, y, width, height = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + width // 2, y + height // 2, "b1d")


def walk(app, title, window_role):
    actionable = unnamed = 0
    print(f"== {title}")
    for window in app:
        if window is None or not showing(window):
            continue
        if window_role and window.getRoleName() != window_role:
            continue
        print(f"-- window {window.getRoleName()} {window.name!r}")
        for obj in descendants(window):
            names = actions_of(obj)
            if not names:
                continue
            actionable += 1
            mark = ""
            if not (obj.name or "").strip():
                unnamed += 1
                mark = "  <-- NO NAME"
            description = f"  [{obj.description}]" if obj.description else ""
            print(f"   {obj.getRoleName():<14} {obj.name!r}{description}  ({', '.join(names)}){mark}")
    print(f"== {title}: {actionable} actionable, {unnamed} without a name")
    return unnamed


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--app", required=True, help="the application's name on the bus")
    parser.add_argument("--title", default="walk", help="heading of the printed section")
    parser.add_argument("--wait", metavar="ROLE=COUNT", help="walk once this many showing objects have the role")
    parser.add_argument("--double-click", metavar="ROLE=NAME[#N]", help="first double-click this object (name: regex)")
    parser.add_argument("--press", metavar="ROLE=NAME[#N]", help="then do the first action of this object")
    parser.add_argument("--then-wait", metavar="ROLE=NAME[#N]", help="then wait for this object before the walk")
    parser.add_argument("--windows", metavar="ROLE", help="walk only the windows of this role")
    parser.add_argument("--timeout", type=float, default=180)
    parser.add_argument("--appear-timeout", type=float, default=10, help="how long to wait for the application")
    args = parser.parse_args()

    app = find_application(args.app, args.appear_timeout)
    if args.wait:
        role, count = args.wait.split("=")
        deadline = time.time() + args.timeout
        while sum(1 for w in app if w is not None and showing(w)
                  for o in descendants(w) if o.getRoleName() == role) < int(count):
            if time.time() > deadline:
                sys.exit(f"fewer than {count} showing {role} objects")
            time.sleep(1)
    if args.double_click:
        double_click(find(app, args.double_click, args.timeout))
    if args.press:
        find(app, args.press, args.timeout).queryAction().doAction(0)
    if args.then_wait:
        find(app, args.then_wait, args.timeout)
        time.sleep(1)
    return 1 if walk(app, args.title, args.windows) else 0


if __name__ == "__main__":
    sys.exit(main())
