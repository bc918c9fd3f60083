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
#include "platform/win32/browser.h"
#include "platform/win32/paint.h"
#include "platform/win32/services.h"
#include "platform/win32/settings_window.h"

namespace lumiko::win32 {

class PanelWindow {
public:
    PanelWindow();
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

    void mouseDown(MouseButton button, int x, int y, bool doubleClick);
    void mouseUp(MouseButton button, int x, int y);
    void showMenu();
    void paint();
    void paintIcon();
    void restoreFromIcon();

    WindowsServices svc_;
    PanelShell shell_;
    BrowserView browser_;
    SettingsWindow settingsWindow_;
    Painter painter_;
    HWND hwnd_ = nullptr;
    HICON appIcon_ = nullptr;  // owned by the painter's icon cache
    UINT taskbarCreated_ = 0;

    // What the window shows, to apply only the form's changes.
    bool shownVisible_ = false, shownMinimized_ = false;
    int shownLeft_ = 0, shownTop_ = 0;
    bool releasing_ = false;  // the panel lets go of the mouse capture itself
};

}  // namespace lumiko::win32
