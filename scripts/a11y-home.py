#!/usr/bin/python3
"""Lists the buttons of Quorvane's home screen as assistive tools see them.

Starts the program with the accessibility bridge on, waits until its home
screen shows in the desktop accessibility tree, prints every shown push
button with its name and description, and fails when one is unnamed or a
home screen button is missing.

Needs an X display and a session bus with the accessibility bus (Debian:
at-spi2-core, python3-pyatspi), for example:

  dbus-run-session -- xvfb-run -a scripts/a11y-home.py \
      "build-dev/demo/FSX/Veltrane Software/Quorvane/quorvane"
"""

import os
import subprocess
import sys
import tempfile
import time

import pyatspi

HOME_BUTTONS = ["Learning Center", "Speech Configuration", "Checklist Assignments",
                "Checklist Modification", "Launch FSX"]
# Inside these the children are rows and cells, not controls.
LEAVES = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_LIST, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE,
          pyatspi.ROLE_TABLE, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_LIST_BOX}


def application_of(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application going away while listed
            continue
    return None


def shown_buttons(node, out, window=""):
    try:
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
        role = node.getRole()
    except Exception:
        return
    if not showing and role != pyatspi.ROLE_APPLICATION:
        return
    if role in (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW):
        window = node.name
    if role == pyatspi.ROLE_PUSH_BUTTON:
        out.append((window, node))
    if role in LEAVES:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            shown_buttons(child, out, window)


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    app_path = os.path.abspath(sys.argv[1])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
    errors = tempfile.TemporaryFile()
    proc = subprocess.Popen([app_path] + sys.argv[2:], cwd=os.path.dirname(app_path), env=env,
                            stdout=subprocess.DEVNULL, stderr=errors)
    try:
        deadline = time.monotonic() + float(os.environ.get("QV_A11Y_WAIT", "60"))
        buttons = []
        while time.monotonic() < deadline:
            if proc.poll() is not None:
                print("the program ended before its home screen showed (exit %s)" % proc.returncode)
                errors.seek(0)
                sys.stdout.write(errors.read()[-4000:].decode(errors="replace"))
                return 1
            app = application_of(proc.pid)
            buttons = []
            if app is not None:
                shown_buttons(app, buttons)
                names = [b.name for _, b in buttons]
                if all(n in names for n in HOME_BUTTONS):
                    break
            time.sleep(0.5)
        unnamed = 0
        for window, b in buttons:
            name = b.name
            unnamed += not name.strip()
            states = [s for s in (pyatspi.STATE_FOCUSABLE, pyatspi.STATE_FOCUSED, pyatspi.STATE_SENSITIVE)
                      if b.getState().contains(s)]
            actions = b.queryAction()
            print("push button %-24r %-30s actions=%s  %s" % (
                name, ",".join(pyatspi.stateToString(s) for s in states),
                ",".join(actions.getName(i) for i in range(actions.nActions)), b.description))
        missing = [n for n in HOME_BUTTONS if n not in [b.name for _, b in buttons]]
        if missing:
            print("missing: " + ", ".join(missing))
        if unnamed:
            print("%d push button(s) without a name" % unnamed)
        return 1 if missing or unnamed else 0
    finally:
        proc.terminate()
        try:
            proc.wait(10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


if __name__ == "__main__":
    sys.exit(main())
