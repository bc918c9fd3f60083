#!/usr/bin/env python3
"""End-to-end test of lumiko.exe under Wine, in Xvfb with a window manager.

A small Win32 program with an EDIT control holds the keyboard focus; the
panel is clicked with xdotool at positions computed from the panel's layout;
the EDIT control's text, which the program reads back through WM_GETTEXT,
must hold exactly what was typed, and the program must keep the focus
through every click.

Usage: e2e.py APP_DIR TARGET_EXE WORK_DIR   (WINEPREFIX must be set)
"""
import os
import shutil
import subprocess
import sys
import time

PANEL_TITLE = "双击返回-输入状态"

# The panel's layout: control -> (parent, left, top, width, height).
LAYOUT = {
    "图片框1": (None, 0, 33, 431, 345),
    "图片框2": ("图片框1", -1, 72, 432, 272),
    "显字标签": ("图片框2", 8, 8, 416, 250),
    "图片框3": (None, 8, 108, 416, 260),
    "表格1": ("图片框3", 104, 0, 303, 254),
    "数学符号": ("图片框3", 4, 40, 80, 16),
    "更多": (None, 218, 35, 40, 16),
    "按钮3": (None, 288, 1, 25, 22),
    "按钮4": (None, 313, 1, 25, 22),
}
KEY_LEFTS = [264, 296, 328, 360, 392]
# The punctuation keys from left to right along the row at top 17.
PUNCTUATION_ROW = [1, 2, 3, 4, 5, 10, 9, 8, 7, 6, 15, 14, 13, 12, 11]
for k in range(1, 11):
    LAYOUT["超级按钮%d" % k] = ("图片框1", KEY_LEFTS[(k - 1) % 5], 2 if k <= 5 else 40, 32, 32)
for i, k in enumerate(PUNCTUATION_ROW):
    LAYOUT["按k%d" % k] = (None, 40 + 16 * i, 17, 16, 16)

GRID_CELL = 25


def origin(name):
    parent, left, top, _, _ = LAYOUT[name]
    if parent is None:
        return left, top
    px, py = origin(parent)
    return px + left, py + top


def centre(name):
    x, y = origin(name)
    return x + LAYOUT[name][3] // 2, y + LAYOUT[name][4] // 2


class Failure(Exception):
    pass


class Session:
    def __init__(self, app_dir, target_exe, work):
        self.app_dir, self.target_exe, self.work = app_dir, target_exe, work
        self.procs = []
        self.env = dict(os.environ)
        self.state_file = os.path.join(work, "target-state.txt")

    # -- the desktop ---------------------------------------------------------
    def start_display(self, screen="1024x768x24"):
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", screen,
                                 "-nolisten", "tcp"], pass_fds=[write_fd],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        self.procs.append(xvfb)
        number = b""
        deadline = time.time() + 30
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_fd, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_fd)
        if not number.strip():
            raise Failure("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.decode().strip()
        # A Wine server still running from an earlier step has no display.
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=60)
        # Without a desktop of its own Wine shows the notification area as a
        # window of its own, which appears when the panel adds its icon; a
        # window manager would give that new window the focus, which the
        # Windows taskbar never takes.
        config = os.path.join(self.work, "openbox-rc.xml")
        with open(config, "w") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                    '<openbox_config xmlns="http://openbox.org/3.4/rc">'
                    '<focus><focusNew>no</focusNew><followMouse>no</followMouse></focus>'
                    '</openbox_config>\n')
        self.procs.append(subprocess.Popen(["openbox", "--config-file", config], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(1)

    def wine(self, exe, args, cwd):
        log = open(os.path.join(self.work, os.path.basename(exe) + ".log"), "wb")
        p = subprocess.Popen(["wine", exe] + args, cwd=cwd, env=self.env, stdout=log, stderr=log)
        self.procs.append(p)
        return p

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, capture_output=True,
                              text=True, timeout=30)

    def screenshot(self, name):
        if shutil.which("import"):
            subprocess.run(["import", "-window", "root", os.path.join(self.work, name)], env=self.env,
                           capture_output=True, timeout=30)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=60)
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    p.kill()

    # -- the target ------------------------------------------------------------
    def state(self):
        try:
            with open(self.state_file, "rb") as f:
                raw = f.read().decode("utf-8")
        except (OSError, UnicodeDecodeError):
            return None
        parts = raw.split("\n", 3)
        if len(parts) < 4:
            return None
        return {"focused": parts[0] == "1", "lost": int(parts[1]), "edit": parts[2], "text": parts[3]}

    def wait_for(self, what, predicate, seconds=20):
        deadline = time.time() + seconds
        last = None
        while time.time() < deadline:
            last = self.state()
            if last is not None and predicate(last):
                return last
            time.sleep(0.1)
        self.screenshot("failure.png")
        raise Failure("%s; target state: %r" % (what, last))

    # -- the panel -------------------------------------------------------------
    def find_panel(self):
        return self.find_window(PANEL_TITLE)

    def panel_shown(self):
        return bool(self.xdotool("search", "--onlyvisible", "--name", PANEL_TITLE).stdout.split())

    def expect_panel(self, shown, after):
        deadline = time.time() + 10
        while time.time() < deadline:
            if self.panel_shown() == shown:
                print("ok   %-34s panel %s" % (after, "shown" if shown else "hidden"))
                return
            time.sleep(0.2)
        self.screenshot("failure.png")
        raise Failure("after %s the panel should be %s" % (after, "shown" if shown else "hidden"))

    def click_screen(self, x, y):
        self.xdotool("mousemove", "--sync", x, y)
        time.sleep(0.1)
        self.xdotool("click", "1")
        time.sleep(0.5)

    def find_window(self, title):
        deadline = time.time() + 60
        while time.time() < deadline:
            found = self.xdotool("search", "--onlyvisible", "--name", title)
            ids = found.stdout.split()
            if ids:
                # The window's absolute place on the screen, also for a window
                # inside a window manager's frame.
                info = subprocess.run(["xwininfo", "-id", ids[0]], env=self.env, capture_output=True,
                                      text=True, timeout=30).stdout
                xy = {}
                for line in info.splitlines():
                    key, _, value = line.strip().partition(":")
                    if key in ("Absolute upper-left X", "Absolute upper-left Y"):
                        xy[key[-1]] = int(value)
                if len(xy) == 2:
                    return xy["X"], xy["Y"]
            time.sleep(0.25)
        self.screenshot("failure.png")
        raise Failure("no window %r appeared" % title)

    def click(self, x, y, approach=None):
        """Clicks at (x, y) of the panel; `approach` is a point the pointer
        passes first, as a hand-moved pointer would."""
        px, py = self.panel
        if approach:
            self.xdotool("mousemove", "--sync", px + approach[0], py + approach[1])
            time.sleep(0.3)
        self.xdotool("mousemove", "--sync", px + x, py + y)
        time.sleep(0.1)
        self.xdotool("click", "1")
        time.sleep(0.4)

    def click_control(self, name):
        self.click(*centre(name))

    def expect_text(self, text, after):
        state = self.wait_for("after %s the target should hold %r" % (after, text),
                              lambda s: s["text"] == text, seconds=10)
        if not state["focused"] or state["lost"] != 0:
            self.screenshot("failure.png")
            raise Failure("after %s the target lost the focus: %r" % (after, state))
        print("ok   %-34s target holds %r, focus kept" % (after, text))


def first_candidate(app_dir, code):
    """The first character the stroke table offers for a code: the value of
    the first line (after a line break) whose key starts with the code."""
    with open(os.path.join(app_dir, "词库", "笔画.txt"), "rb") as f:
        lines = f.read().split(b"\r\n")
    for line in lines[1:]:
        key, _, value = line.partition(b" ")
        if key.startswith(code.encode()):
            return value.decode("gbk")
    raise Failure("the stroke table has no line for %s" % code)


def run_session(s, work, steps):
    """Runs a test's steps in a session and reports them as one test: on a
    failure, with the tails of the programs' logs in work. Returns the exit
    status."""
    try:
        steps()
        print("1 passed, 0 failed")
        return 0
    except Failure as e:
        print("FAIL " + str(e))
        for name in ("lumiko.exe.log", "target.exe.log"):
            path = os.path.join(work, name)
            if os.path.exists(path):
                with open(path, "rb") as f:
                    tail = f.read()[-2000:].decode("utf-8", "replace")
                print("--- %s (tail)\n%s" % (name, tail))
        print("0 passed, 1 failed")
        return 1
    finally:
        s.stop()


def main():
    app_dir, target_exe, work = (os.path.abspath(a) for a in sys.argv[1:4])
    os.makedirs(work, exist_ok=True)
    s = Session(app_dir, target_exe, work)

    def steps():
        s.start_display()
        s.wine(target_exe, [s.state_file], work)
        s.wait_for("the target should start with the focus", lambda st: st["focused"], seconds=60)
        s.wine(os.path.join(app_dir, "lumiko.exe"), [], app_dir)
        s.panel = s.find_panel()
        print("ok   panel shown at %d,%d" % s.panel)
        time.sleep(1.5)
        s.wait_for("the target should keep the focus when the panel starts",
                   lambda st: st["focused"] and st["lost"] == 0)

        # Stroke code 2 5 1 2, then the first candidate of the grid.
        for k in (2, 5, 1, 2):
            s.click_control("超级按钮%d" % k)
        s.expect_text("", "four stroke keys")
        character = first_candidate(app_dir, "2512")
        # The highlight lies over the first item until the pointer moves over
        # the grid: the pointer comes from the second item, as a hand would
        # bring it, and the highlight follows it to the first.
        gx, gy = origin("显字标签")
        s.click(gx + 24, gy + 20, approach=(gx + 72, gy + 20))
        typed = character
        s.expect_text(typed, "the first grid item")

        s.click_control("按k1")
        typed += ","
        s.expect_text(typed, "the punctuation key ，")

        s.click_control("按钮4")
        s.expect_text(typed + " ", "the space key")
        s.click_control("按钮3")
        s.expect_text(typed, "the backspace key")

        s.click_control("更多")
        s.click_control("数学符号")
        tx, ty = origin("表格1")
        s.click(tx + GRID_CELL // 2, ty + GRID_CELL // 2)
        typed += "≈"
        s.expect_text(typed, "the palette cell ≈")
        s.screenshot("panel.png")

        # The notification-area icon hides and shows the panel. Wine keeps
        # the icons in a window of its own; the panel's is its first icon.
        tray = s.find_window("Wine System Tray")
        s.click_screen(tray[0] + 10, tray[1] + 10)
        s.expect_panel(False, "a click on the tray icon")
        s.click_screen(tray[0] + 10, tray[1] + 10)
        s.expect_panel(True, "a second click on the tray icon")

        # A second start shows the hidden panel and ends with status 0.
        s.click_screen(tray[0] + 10, tray[1] + 10)
        s.expect_panel(False, "a third click on the tray icon")
        with open(os.path.join(work, "second-start.log"), "wb") as log:
            second = subprocess.run(["wine", os.path.join(app_dir, "lumiko.exe")], cwd=app_dir, env=s.env,
                                    stdout=log, stderr=log, timeout=60)
        if second.returncode != 0:
            raise Failure("a second start ended with status %d, not 0" % second.returncode)
        s.expect_panel(True, "a second start")

        # Dragged by its background (the corner left of the buttons), the
        # panel follows the pointer.
        px, py = s.panel
        s.xdotool("mousemove", "--sync", px + 10, py + 10)
        s.xdotool("mousedown", "1")
        for step in range(1, 6):
            s.xdotool("mousemove", "--sync", px + 10 - 20 * step, py + 10 - 10 * step)
            time.sleep(0.1)
        s.xdotool("mouseup", "1")
        time.sleep(0.5)
        moved = s.find_panel()
        if moved != (px - 100, py - 50):
            s.screenshot("failure.png")
            raise Failure("the dragged panel is at %r, not %r" % (moved, (px - 100, py - 50)))
        print("ok   %-34s panel at %d,%d" % ("a drag by the background", moved[0], moved[1]))

    return run_session(s, work, steps)


if __name__ == "__main__":
    sys.exit(main())
