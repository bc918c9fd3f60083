// The WebBrowser control embedded in the panel: a child window of the panel
// that hosts the control in place, navigates it, and passes on its
// new-window requests.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace lumiko::win32 {

class BrowserView {
public:
    BrowserView();
    ~BrowserView();
    BrowserView(const BrowserView&) = delete;
    BrowserView& operator=(const BrowserView&) = delete;

    // Creates the host window and the control inside it. False when the
    // system has no browser control; the view then stays an empty window.
    bool create(HWND parent);
    void destroy();

    void navigate(const std::wstring& path);
    void reload();
    // Position in the parent's client area, and visibility.
    void place(int left, int top, int width, int height, bool visible);

    // Zooms the pages shown (100 is the page's own size), now and after
    // every page loaded. False when the control refused the zoom (told once
    // per page and zoom).
    bool setZoom(int percent);

    // The host window, whose descendants hold the browser's own window.
    HWND window() const { return host_; }
    bool hasControl() const;

    // In place of the control: a text saying why there is no page.
    bool showText(HWND parent, const std::wstring& text);

    // The page asked for a new browser window (the browser goes on with its
    // own handling of it).
    std::function<void()> onNewWindow;
    // Set by the panel: whether the view may go to an address (anything
    // unasked is refused), and what becomes of an address the view refused
    // or the page wanted opened in a new window (which is never opened
    // here).
    std::function<bool(const std::wstring& address)> mayGo;
    std::function<void(const std::wstring& address)> openElsewhere;

    class Site;

private:
    HWND host_ = nullptr;
    std::unique_ptr<Site> site_;
    RECT placed_{};
    bool visible_ = false;
    int zoom_ = 100;       // what the pages are to be zoomed to
    int zoomShown_ = 100;  // what the page shown is zoomed to
};

}  // namespace lumiko::win32
