#!/usr/bin/env python3
"""End-to-end test of the Windows installer under Wine.

Per machine: lumiko-setup.exe /S installs into Program Files, with the Start
menu entry and the entry of Apps & features; the installed panel, started
from another folder, reads the tables beside it and types one character into
the test target; the uninstaller (/S) removes every file and the entry. Per
user (/CurrentUser): the same install and uninstall in the user's programs
folder.

Usage: installer.py SETUP_EXE TARGET_EXE WORK_DIR   (WINEPREFIX must be set)
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e import Failure, Session, first_candidate, origin, run_session  # noqa: E402

NAME = "Lumiko输入法"
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumiko"


def unix_path(env, windows_path):
    out = subprocess.run(["winepath", "-u", windows_path], env=env, capture_output=True, text=True,
                         timeout=60).stdout.strip()
    if not out:
        raise Failure("winepath cannot map %s" % windows_path)
    return out


def run_wine(session, args, what):
    """Runs a Windows program to its end, and every program it started."""
    done = subprocess.run(["wine"] + args, env=session.env, capture_output=True, timeout=300)
    subprocess.run(["wineserver", "-w"], env=session.env, capture_output=True, timeout=300)
    if done.returncode != 0:
        raise Failure("%s ended with status %d: %s" % (what, done.returncode, done.stderr[-1000:]))


def registry_value(session, root, name):
    out = subprocess.run(["wine", "reg", "query", root + "\\" + UNINSTALL_KEY, "/v", name], env=session.env,
                         capture_output=True, timeout=60)
    # Wine writes to a pipe in the locale's encoding, or in the code page.
    try:
        text = out.stdout.decode("utf-8")
    except UnicodeDecodeError:
        text = out.stdout.decode("gbk", "replace")
    for line in text.splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3 and parts[0] == name:
            return parts[2].strip()
    return None


def users_own(path):
    """The user's own folder %APPDATA%\\Lumiko (choices and the pick memory, kept
    by the uninstaller on purpose) and the handwriting page's folders in
    %TEMP% that a panel ended by `wineserver -k` had no chance to remove."""
    parts = path.replace("\\", "/").lower().split("/")
    return ("appdata" in parts and "roaming" in parts and "lumiko" in parts) or \
        any(p == "temp" and i + 1 < len(parts) and parts[i + 1].startswith("lumiko-") for i, p in enumerate(parts))


def leftovers(drive_c):
    """Files and folders of the program anywhere on the C: drive."""
    found = []
    for folder, dirs, files in os.walk(drive_c):
        for n in dirs + files:
            path = os.path.join(folder, n)
            if ("lumiko" in n.lower() or NAME in n) and not users_own(os.path.relpath(path, drive_c)):
                found.append(path)
    return found


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok   " + what)


def install_and_remove(s, setup, scope, folder_var, start_menu_var, root, type_one):
    drive_c = unix_path(s.env, "C:\\")
    check(not leftovers(drive_c), "%s: nothing of the program on C: before the install" % scope)
    args = [setup, "/S"] + (["/CurrentUser"] if scope == "per user" else [])
    run_wine(s, args, "the silent install " + scope)

    install_dir = unix_path(s.env, registry_value(s, root, "InstallLocation") or "C:\\nowhere")
    expected_parent = unix_path(s.env, subprocess.run(
        ["wine", "cmd", "/c", "echo", folder_var], env=s.env, capture_output=True, text=True,
        timeout=60).stdout.strip())
    check(os.path.dirname(install_dir.rstrip("/")).startswith(expected_parent.rstrip("/")),
          "%s: installed under %s (%s)" % (scope, folder_var, install_dir))
    for f in ("lumiko.exe", "uninstall.exe", "pinyin.txt", "帮助.chm", "词库/笔画.txt", "词库/字典.txt"):
        check(os.path.isfile(os.path.join(install_dir, f)), "%s: installs %s" % (scope, f))
    check(registry_value(s, root, "DisplayName") == NAME, "%s: listed in Apps & features as %s" % (scope, NAME))
    check("/S" in (registry_value(s, root, "QuietUninstallString") or ""), "%s: with a silent uninstall" % scope)
    start_menu = unix_path(s.env, subprocess.run(
        ["wine", "cmd", "/c", "echo", start_menu_var], env=s.env, capture_output=True, text=True,
        timeout=60).stdout.strip())
    link = os.path.join(start_menu, "Microsoft", "Windows", "Start Menu", "Programs", NAME + ".lnk")
    check(os.path.isfile(link), "%s: the Start menu entry %s" % (scope, NAME))

    if type_one:
        type_one(install_dir)

    run_wine(s, [os.path.join(install_dir, "uninstall.exe"), "/S"], "the silent uninstall " + scope)
    # The uninstaller runs from a copy of itself and ends a moment later.
    deadline = time.time() + 60
    while os.path.exists(install_dir) and time.time() < deadline:
        time.sleep(0.5)
    left = leftovers(drive_c)
    check(not left, "%s: no file of the program left after the uninstall %s" % (scope, left or ""))
    check(registry_value(s, root, "DisplayName") is None, "%s: gone from Apps & features" % scope)


def main():
    setup, target_exe, work = (os.path.abspath(a) for a in sys.argv[1:4])
    os.makedirs(work, exist_ok=True)
    s = Session(os.path.join(work, "unused"), target_exe, work)

    def steps():
        s.start_display()

        def type_one(install_dir):
            # Started from another folder: the tables come from beside the program.
            s.wine(target_exe, [s.state_file], work)
            s.wait_for("the target should start with the focus", lambda st: st["focused"], seconds=60)
            s.wine(os.path.join(install_dir, "lumiko.exe"), [], work)
            s.panel = s.find_panel()
            time.sleep(1.5)
            for k in (2, 5, 1, 2):
                s.click_control("超级按钮%d" % k)
            gx, gy = origin("显字标签")
            s.click(gx + 24, gy + 20, approach=(gx + 72, gy + 20))
            s.expect_text(first_candidate(install_dir, "2512"), "the installed panel's first grid item")
            subprocess.run(["wineserver", "-k"], env=s.env, capture_output=True, timeout=60)
            subprocess.run(["wineserver", "-w"], env=s.env, capture_output=True, timeout=60)

        install_and_remove(s, setup, "per machine", "%ProgramFiles%", "%ProgramData%", "HKLM", type_one)
        install_and_remove(s, setup, "per user", "%LOCALAPPDATA%", "%APPDATA%", "HKCU", None)

    return run_session(s, work, steps)


if __name__ == "__main__":
    sys.exit(main())
