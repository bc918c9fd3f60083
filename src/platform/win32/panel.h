// The input panel's window: a borderless, always-on-top window that is never
// activated by clicks. It paints the core's panel form, routes the mouse to
// the controls, runs the timer, and carries the tray icon and its menu.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/win32/sessionstart.h"
#include "platform/win32/browser.h"
#include "platform/win32/paint.h"
#include "platform/win32/services.h"
#include "platform/win32/settings_window.h"

namespace lumiko::win32 {

class PanelWindow {
public:
    // `zoom` is the panel's zoom in percent from the command line, or 0 for
    // the one the user chose last from the menu (100 % when none).
    explicit PanelWindow(int zoom = 0);
    ~PanelWindow();
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    // Creates the window and the browser view, runs the core's start-up and
    // shows the panel. False when the window cannot be created.
    bool create(HINSTANCE instance);
    // The message loop, until the menu's 退出.
    int run();

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);

    // Brings the window up to date with the form (after every handler).
    void syncWindow();
    // Starts, slows or stops the timer as the shell says.
    void scheduleTicks();

    void mouseDown(MouseButton button, int x, int y, bool doubleClick);
    void mouseUp(MouseButton button, int x, int y);
    void showMenu();
    // The window's pixels per inch changed (it moved to another monitor, or
    // the monitor's scale changed): the panel is drawn anew for them in the
    // rectangle the system suggests.
    void dpiChanged(int dpi, const RECT& suggested);
    // Resizes the panel for a zoom chosen from the menu, keeps it on its
    // monitor and stores the choice.
    void zoomChosen();
    void paint();
    void paintIcon();
    void restoreFromIcon();

    WindowsServices svc_;
    RunKeySessionStart sessionStart_;  // the menu's 登录时启动
    PanelShell shell_;
    BrowserView browser_;
    bool browserTried_ = false;  // made (or tried) when the page was first shown
    UINT timerPeriod_ = 0;       // 0 while the timer is stopped
    SettingsWindow settingsWindow_;
    Painter painter_;
    HWND hwnd_ = nullptr;
    HICON appIcon_ = nullptr;  // owned by the painter's icon cache
    UINT taskbarCreated_ = 0;

    // What the window shows, to apply only the form's changes.
    bool shownVisible_ = false, shownMinimized_ = false;
    int shownLeft_ = 0, shownTop_ = 0, shownWidth_ = 0, shownHeight_ = 0;
    bool releasing_ = false;  // the panel lets go of the mouse capture itself
};

// Asks the panel running in this session to show itself; false when its
// window is not there (yet).
bool askRunningPanelToShow();

}  // namespace lumiko::win32
