#!/usr/bin/env python3
"""End-to-end test of the scaled Windows panel under Wine.

1. A Wine prefix whose desktop has 144 pixels per inch (LogPixels in
   HKCU\\Control Panel\\Desktop), on a 1920 x 1200 screen: the panel comes up
   at 150 % of its layout (647 x 618) near the bottom-right corner; clicks on
   the scaled stroke keys and on the first cell of the scaled grid type the
   stroke table's first character into the test target, which keeps the
   focus. 缩放 -> 150% from the panel's menu makes it 225 % (970 x 927), on
   the screen, and stores 150 in %APPDATA%\\Lumiko\\zoom; started again, the
   panel comes up at 225 % and a grid pick still types the right character.
2. The usual prefix (96 pixels per inch) with --zoom 200 on 1024 x 768: the
   panel is 862 x 824, taller than the screen, at 102,0 (60 pixels off the
   right edge, its top on the screen), types through strokes and the grid,
   and stores nothing.

Wine 8 reports every program as per-monitor aware, manifest or not, so the
manifest's declaration is checked in the program's bytes.

Usage: zoom.py APP_DIR TARGET_EXE WORK_DIR PREFIX_144
(WINEPREFIX is the prefix at 96 pixels per inch.)
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import LAYOUT, PANEL_TITLE, Failure, Session, centre, first_candidate, origin  # noqa: E402

WIDTH, HEIGHT = 431, 412  # the panel's layout
DESKTOP_KEY = r"HKCU\Control Panel\Desktop"


def scaled(v, zoom, dpi):
    """A length of the layout in the window's pixels, rounded as the panel rounds."""
    return (v * zoom * dpi + 4800) // 9600


class ZoomSession(Session):
    def __init__(self, app_dir, target_exe, work, prefix, zoom, dpi):
        super().__init__(app_dir, target_exe, work)
        self.env["WINEPREFIX"] = prefix
        self.zoom, self.dpi = zoom, dpi
        self.typed = ""

    def s(self, v):
        return scaled(v, self.zoom, self.dpi)

    def setting(self):
        """The zoom file in the user's folder, as a Unix path."""
        appdata = subprocess.run(["wine", "cmd", "/c", "echo %APPDATA%"], env=self.env, capture_output=True,
                                 text=True, timeout=60).stdout.strip()
        out = subprocess.run(["winepath", "-u", appdata + r"\Lumiko\zoom"], env=self.env, capture_output=True,
                             text=True, timeout=60).stdout.strip()
        if not appdata or not out:
            raise Failure("the user's folder (%APPDATA%) cannot be found")
        return out

    def geometry(self):
        """The panel's place and size on the screen."""
        deadline = time.time() + 60
        while time.time() < deadline:
            ids = self.xdotool("search", "--onlyvisible", "--name", PANEL_TITLE).stdout.split()
            if ids:
                info = window_info(self.env, ids[0])
                if {"x", "y", "width", "height"} <= info.keys():
                    return info["x"], info["y"], info["width"], info["height"]
            time.sleep(0.25)
        self.screenshot("failure.png")
        raise Failure("the panel did not appear")

    def expect_geometry(self, after, screen, place=None):
        want = (self.s(WIDTH), self.s(HEIGHT))
        deadline = time.time() + 10
        while True:
            x, y, w, h = self.geometry()
            if (w, h) == want or time.time() > deadline:
                break
            time.sleep(0.2)
        if (w, h) != want:
            self.screenshot("failure.png")
            raise Failure("%s the panel is %d x %d, not %d x %d (%d %% at %d pixels per inch)"
                          % (after, w, h, want[0], want[1], self.zoom, self.dpi))
        # Whole on the screen, or, when larger than the screen, with its
        # top-left corner on it.
        if x < 0 or y < 0 or x + w > max(screen[0], w) or y + h > max(screen[1], h):
            raise Failure("%s the panel at %d,%d (%d x %d) is not on the screen" % (after, x, y, w, h))
        if place and (x, y) != place:
            raise Failure("%s the panel is at %d,%d, not %d,%d" % (after, x, y, place[0], place[1]))
        self.panel = (x, y)
        print("ok   %-34s panel %d x %d at %d,%d" % (after, w, h, x, y))

    def click_form(self, x, y, approach=None):
        """Clicks the panel at (x, y) of its layout, scaled."""
        self.click(self.s(x), self.s(y), approach and (self.s(approach[0]), self.s(approach[1])))

    def type_by_strokes(self, after):
        for k in (2, 5, 1, 2):
            self.click_form(*centre("超级按钮%d" % k))
        gx, gy = origin("显字标签")
        self.click_form(gx + 24, gy + 20, approach=(gx + 72, gy + 20))
        self.typed += first_candidate(self.app_dir, "2512")
        self.expect_text(self.typed, after)

    def start_panel(self, args):
        self.lumiko = self.wine(os.path.join(self.app_dir, "lumiko.exe"), args, self.app_dir)
        self.find_panel()
        time.sleep(1.5)

    def stop_panel(self):
        self.lumiko.terminate()
        self.lumiko.wait(timeout=30)
        deadline = time.time() + 20
        while self.panel_shown() and time.time() < deadline:
            time.sleep(0.2)

    # -- the menu -----------------------------------------------------------------
    def shown_windows(self):
        out = subprocess.run(["xwininfo", "-root", "-children"], env=self.env, capture_output=True, text=True,
                             timeout=30).stdout
        ids = [line.split()[0] for line in out.splitlines() if line.strip().startswith("0x")]
        return {i for i in ids if window_info(self.env, i).get("viewable")}

    def wait_new_window(self, before, seconds=3):
        deadline = time.time() + seconds
        while time.time() < deadline:
            new = self.shown_windows() - before
            if new:
                return window_info(self.env, sorted(new)[-1])
            time.sleep(0.1)
        return None

    def open_submenu_from_bottom(self, menu, before):
        """Moves the pointer up the menu from its bottom edge until a submenu
        opens: the submenu of the lowest item that has one."""
        x = menu["x"] + menu["width"] // 3
        for y in range(menu["y"] + menu["height"] - 3, menu["y"], -3):
            self.xdotool("mousemove", "--sync", x, y)
            sub = self.wait_new_window(before, seconds=0.6)
            if sub:
                return sub
        self.screenshot("failure.png")
        raise Failure("no submenu opened from the menu at %d,%d" % (menu["x"], menu["y"]))

    def choose_zoom(self, percent):
        """Right click on the panel's background, 帮助/其它, 缩放, `percent`%."""
        before = self.shown_windows()
        px, py = self.panel
        self.xdotool("mousemove", "--sync", px + self.s(10), py + self.s(10))
        time.sleep(0.2)
        self.xdotool("click", "3")
        menu = self.wait_new_window(before, seconds=10)
        if not menu:
            self.screenshot("failure.png")
            raise Failure("a right click on the panel opened no menu")
        # 退出 is the menu's last item, 帮助/其它 the one above it; 缩放 is
        # 帮助/其它's lowest submenu; the four zooms are items of one height.
        help_menu = self.open_submenu_from_bottom(menu, before | {menu["id"]})
        zooms = self.open_submenu_from_bottom(help_menu, before | {menu["id"], help_menu["id"]})
        index = [100, 125, 150, 200].index(percent)
        y = zooms["y"] + zooms["height"] * (2 * index + 1) // 8
        self.xdotool("mousemove", "--sync", zooms["x"] + zooms["width"] // 2, y)
        time.sleep(0.3)
        self.xdotool("click", "1")
        time.sleep(1)


def window_info(env, wid):
    out = subprocess.run(["xwininfo", "-id", wid], env=env, capture_output=True, text=True, timeout=30).stdout
    info = {"id": wid}
    keys = {"Absolute upper-left X": "x", "Absolute upper-left Y": "y", "Width": "width", "Height": "height"}
    for line in out.splitlines():
        key, _, value = line.strip().partition(":")
        if key in keys:
            info[keys[key]] = int(value)
        elif key == "Map State":
            info["viewable"] = value.strip() == "IsViewable"
    return info


def wine_reg(session, *args):
    subprocess.run(["wine", "reg"] + list(args), env=session.env, capture_output=True, timeout=120)


def run_at_144(app_dir, target_exe, work, prefix):
    screen = (1920, 1200)
    s = ZoomSession(app_dir, target_exe, work, prefix, 100, 144)
    try:
        s.start_display("%dx%dx24" % screen)
        wine_reg(s, "add", DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", "144", "/f")
        stored = s.setting()
        if stored and os.path.exists(stored):
            os.remove(stored)
        s.wine(target_exe, [s.state_file], work)
        s.wait_for("the target should start with the focus", lambda st: st["focused"], seconds=60)
        s.start_panel([])
        s.expect_geometry("at 144 pixels per inch", screen,
                          place=(screen[0] - s.s(WIDTH) - 60, screen[1] - s.s(HEIGHT) - 60))
        s.type_by_strokes("strokes and a grid pick at 150 %")
        s.screenshot("panel-144.png")

        s.choose_zoom(150)
        s.zoom = 150
        s.expect_geometry("缩放 -> 150%", screen)
        try:
            with open(stored, "rb") as f:
                kept = f.read()
        except OSError as e:
            raise Failure("the chosen zoom was not stored: %s" % e)
        if kept.strip() != b"150":
            raise Failure("the stored zoom is %r, not 150" % kept)
        print("ok   %-34s %%APPDATA%%\\Lumiko\\zoom holds 150" % "the choice")
        s.type_by_strokes("a grid pick at 225 %")

        s.stop_panel()
        s.start_panel([])
        s.expect_geometry("the next start", screen)
        s.type_by_strokes("a grid pick after the restart")
        s.screenshot("panel-225.png")
        os.remove(stored)
    finally:
        s.stop()


def run_at_96_zoom_200(app_dir, target_exe, work, prefix):
    screen = (1024, 768)
    s = ZoomSession(app_dir, target_exe, work, prefix, 200, 96)
    try:
        s.start_display("%dx%dx24" % screen)
        stored = s.setting()
        if stored and os.path.exists(stored):
            os.remove(stored)
        s.wine(target_exe, [s.state_file], work)
        s.wait_for("the target should start with the focus", lambda st: st["focused"], seconds=60)
        s.start_panel(["--zoom", "200"])
        s.expect_geometry("--zoom 200 at 96 pixels per inch", screen, place=(screen[0] - s.s(WIDTH) - 60, 0))
        s.type_by_strokes("strokes and a grid pick at 200 %")
        if os.path.exists(stored):
            raise Failure("--zoom stored its zoom")
    finally:
        s.stop()


def declares_per_monitor_v2(exe):
    with open(exe, "rb") as f:
        data = f.read()
    start = data.find(b"<dpiAwareness")
    return start >= 0 and b"PerMonitorV2" in data[start:data.find(b"</dpiAwareness>", start)]


def main():
    app_dir, target_exe, work, prefix_144 = (os.path.abspath(a) for a in sys.argv[1:5])
    failed = 0
    if declares_per_monitor_v2(os.path.join(app_dir, "lumiko.exe")):
        print("ok   %-34s per-monitor aware (v2)" % "lumiko.exe's manifest")
    else:
        failed += 1
        print("FAIL lumiko.exe's manifest does not declare per-monitor awareness (v2)")
    for name, run, prefix in (("144", run_at_144, prefix_144),
                              ("96-zoom-200", run_at_96_zoom_200, os.environ["WINEPREFIX"])):
        folder = os.path.join(work, name)
        os.makedirs(folder, exist_ok=True)
        try:
            run(app_dir, target_exe, folder, prefix)
        except Failure as e:
            failed += 1
            print("FAIL %s: %s" % (name, e))
            path = os.path.join(folder, "lumiko.exe.log")
            if os.path.exists(path):
                with open(path, "rb") as f:
                    print("--- lumiko.exe.log (tail)\n" + f.read()[-2000:].decode("utf-8", "replace"))
    print("%d passed, %d failed" % (3 - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
