// The dictionary settings window, built from real Windows controls that
// mirror the core's settings form.
#pragma once

#include <windows.h>

#include <functional>

#include "web/settingsform.h"

namespace lumiko::win32 {

class SettingsWindow {
public:
    SettingsWindow() = default;
    ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    // Opens a new window for `form` (closing an earlier one), owned by the panel.
    void open(SettingsForm& form, HWND owner);
    // Copies the form's state (captions, contents, enabled) to the controls.
    void refresh();
    void close();
    HWND window() const { return hwnd_; }

    // Runs a core handler; the panel uses it to keep handlers from overlapping.
    std::function<void(const std::function<void()>&)> run;

private:
    static LRESULT CALLBACK proc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    HWND make(const wchar_t* cls, const Control& c, DWORD style, int id, DWORD exStyle = 0);
    // Places the controls and sets their font for the window's pixels per
    // inch (the form's are those of 96).
    void layOut(int dpi);
    void setText(HWND w, const Text& gbk);
    void call(const std::function<void()>& handler);

    SettingsForm* form_ = nullptr;
    HWND hwnd_ = nullptr;
    HWND list_ = nullptr, current_ = nullptr, chosenLabel_ = nullptr, edit_ = nullptr, save_ = nullptr,
         folder_ = nullptr, link_ = nullptr;
    HFONT font_ = nullptr;
    bool syncing_ = false;
};

}  // namespace lumiko::win32
