#include "platform/win32/panel.h"

#include <windowsx.h>

#include "engine/builtin.h"
#include "platform/look.h"
#include "platform/win32/dpi.h"
#include "platform/win32/files.h"
#include "platform/win32/text.h"
#include "platform/win32/zoomsetting.h"
#include "web/handwriting.h"

namespace lumiko::win32 {

namespace {
constexpr const wchar_t* kPanelClass = L"LumikoPanel";
constexpr UINT kTrayMessage = WM_APP + 1;
constexpr UINT kMenuMessage = WM_APP + 2;
// Sent by a second start: show the panel as a click on the tray icon does.
constexpr UINT kShowMessage = WM_APP + 3;
constexpr UINT_PTR kTimerId = 1;

// The menu as built for TrackPopupMenu from the shell's walk: command ids
// are the shell's item ids.
class MenuBuilder : public MenuVisitor {
public:
    explicit MenuBuilder(HMENU menu) { menus_.push_back(menu); }
    void item(const Text& caption, bool checked, int id) override {
        AppendMenuW(menus_.back(), MF_STRING | (checked ? MF_CHECKED : MF_UNCHECKED), static_cast<UINT_PTR>(id),
                    wideOfGbk(caption).c_str());
    }
    void separator() override { AppendMenuW(menus_.back(), MF_SEPARATOR, 0, nullptr); }
    void beginSubmenu(const Text& caption) override {
        HMENU sub = CreatePopupMenu();
        AppendMenuW(menus_.back(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), wideOfGbk(caption).c_str());
        menus_.push_back(sub);
    }
    void endSubmenu() override { menus_.pop_back(); }

private:
    std::vector<HMENU> menus_;
};

POINT cursorPos() {
    POINT p;
    GetCursorPos(&p);
    return p;
}
}  // namespace

PanelWindow::PanelWindow(int zoom) : shell_(svc_, ListMetrics{Painter::kListLine, 2}) {
    shell_.onSettled = [this] { syncWindow(); };
    if (zoom == 0) {
        Text problem;
        zoom = loadZoom(zoomSettingPath(), problem);
        if (!problem.empty()) svc_.log(problem);
    }
    if (zoom != 0) shell_.setZoom(zoom);
    shell_.onZoomChosen = [this] { zoomChosen(); };
    shell_.sessionStart = &sessionStart_;
}

PanelWindow::~PanelWindow() {
    settingsWindow_.close();
    browser_.destroy();
    svc_.trayRemove();
    if (hwnd_) {
        KillTimer(hwnd_, kTimerId);
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool PanelWindow::create(HINSTANCE instance) {
    appIcon_ = painter_.icon(builtin::icon("lumiko"), 32);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = appIcon_;
    wc.lpszClassName = kPanelClass;
    if (!RegisterClassExW(&wc)) return false;

    const PanelForm& f = shell_.form();
    hwnd_ = CreateWindowExW(WS_EX_TOPMOST, kPanelClass, wideOfGbk(f.title).c_str(),
                            WS_POPUP | WS_CLIPCHILDREN, f.left, f.top, f.width,
                            f.height, nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    shownLeft_ = f.left;
    shownTop_ = f.top;
    shownWidth_ = f.width;
    shownHeight_ = f.height;
    // The window exists on a monitor now: the panel is drawn for its pixels
    // per inch (syncWindow gives it the scaled size).
    shell_.setDpi(dpiOf(hwnd_));

    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    svc_.panel = hwnd_;
    svc_.trayIcon = appIcon_;
    svc_.trayMessage = kTrayMessage;
    svc_.onPopupMenu = [this] { PostMessageW(hwnd_, kMenuMessage, 0, 0); };
    svc_.onSettingsOpened = [this] {
        if (SettingsForm* form = shell_.settingsForm()) settingsWindow_.open(*form, hwnd_);
    };
    settingsWindow_.run = [this](const std::function<void()>& h) { shell_.dispatch(h); };

    browser_.onNewWindow = [this] { shell_.dispatch([this] { shell_.newWindowRequested(); }); };
    browser_.mayGo = [this](const std::wstring& address) {
        return handwriting::viewMayGo(gbkOfWide(unescapedAddress(address)), svc_.pagePath());
    };
    browser_.openElsewhere = [this](const std::wstring& address) {
        const Text gbk = gbkOfWide(address);
        if (handwriting::opensOutside(gbk)) svc_.shellOpen(gbk);
        else svc_.log("handwriting view: not opened: " + gbk);
    };

    shell_.dispatch([this] {
        shell_.startUp();
        // The scaled panel near the corner, as start-up places the form.
        int width = 0, height = 0;
        svc_.screenSize(width, height);
        shell_.placeOnScreen(width, height);
    });
    svc_.pinyinReadings(Text());  // read the pinyin table now, not at the first pick
    scheduleTicks();
    return true;
}

int PanelWindow::run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (settingsWindow_.window() && IsDialogMessageW(settingsWindow_.window(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    KillTimer(hwnd_, kTimerId);
    return 0;
}

void PanelWindow::syncWindow() {
    if (!hwnd_) return;
    const PanelForm& f = shell_.form();
    const int width = shell_.scaled(f.width), height = shell_.scaled(f.height);
    if (f.left != shownLeft_ || f.top != shownTop_ || width != shownWidth_ || height != shownHeight_) {
        const UINT keepSize = width == shownWidth_ && height == shownHeight_ ? SWP_NOSIZE : 0;
        shownLeft_ = f.left;
        shownTop_ = f.top;
        shownWidth_ = width;
        shownHeight_ = height;
        SetWindowPos(hwnd_, nullptr, f.left, f.top, width, height, keepSize | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (f.visible != shownVisible_ || f.minimized != shownMinimized_) {
        shownVisible_ = f.visible;
        shownMinimized_ = f.minimized;
        if (!f.visible) ShowWindow(hwnd_, SW_HIDE);
        else if (f.minimized) ShowWindow(hwnd_, SW_SHOWMINNOACTIVE);
        else ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        if (f.visible && !f.minimized)
            SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    }
    const Control& b = f.WebBrowser1;
    // The browser control is made the first time the handwriting page is
    // shown, not at start-up.
    if (b.shown() && !browserTried_) {
        browserTried_ = true;
        if (!svc_.pageProblem().empty()) browser_.showText(hwnd_, wideOfGbk("手写输入无法显示：" + svc_.pageProblem()));
        else if (browser_.create(hwnd_)) svc_.browserMade(&browser_);
    }
    browser_.place(shell_.scaled(b.absLeft()), shell_.scaled(b.absTop()), shell_.scaled(b.width),
                   shell_.scaled(b.height), b.shown());
    if (!browser_.setZoom(shell_.scaled(100)) && browser_.hasControl())
        svc_.log("the handwriting view cannot zoom with the panel: its pages keep their own size");
    settingsWindow_.refresh();
    if (shell_.needsRepaint()) InvalidateRect(hwnd_, nullptr, FALSE);
    scheduleTicks();
}

// Shown, the timer ticks as often as the system allows; hidden, as the shell
// says.
void PanelWindow::scheduleTicks() {
    const auto period =
        static_cast<UINT>(shell_.tickPeriod(static_cast<int>(USER_TIMER_MINIMUM), svc_.browser != nullptr));
    if (!hwnd_ || period == timerPeriod_) return;
    if (period == 0) KillTimer(hwnd_, kTimerId);
    else SetTimer(hwnd_, kTimerId, period, nullptr);
    timerPeriod_ = period;
}

void PanelWindow::dpiChanged(int dpi, const RECT& suggested) {
    shell_.setDpi(dpi);
    shell_.windowMoved(suggested.left, suggested.top);
    const PanelForm& f = shell_.form();
    shownLeft_ = f.left;
    shownTop_ = f.top;
    shownWidth_ = shell_.scaled(f.width);
    shownHeight_ = shell_.scaled(f.height);
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    syncWindow();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PanelWindow::zoomChosen() {
    MONITORINFO m{};
    m.cbSize = sizeof m;
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &m))
        shell_.keepOnScreen(m.rcMonitor.left, m.rcMonitor.top, m.rcMonitor.right - m.rcMonitor.left,
                            m.rcMonitor.bottom - m.rcMonitor.top);
    Text problem;
    if (saveZoom(zoomSettingPath(), shell_.zoom(), problem)) return;
    svc_.log(problem);
    svc_.messageBox("Lumiko输入法", "缩放已改变，但未能保存：\r\n" + problem + "\r\n原来保存的缩放保持不变，下次启动时仍用它。",
                    Buttons::Ok);
}

void PanelWindow::mouseDown(MouseButton button, int x, int y, bool doubleClick) {
    if (shell_.busy()) return;
    SetCapture(hwnd_);
    const POINT p = cursorPos();
    if (doubleClick) shell_.doubleClick(x, y, p.x, p.y);
    else shell_.press(button, x, y, p.x, p.y);
}

void PanelWindow::mouseUp(MouseButton button, int x, int y) {
    if (GetCapture() == hwnd_) {
        releasing_ = true;
        ReleaseCapture();
        releasing_ = false;
    }
    shell_.release(button, x, y);
}

void PanelWindow::showMenu() {
    if (shell_.busy() || shell_.exited()) return;
    HMENU menu = CreatePopupMenu();
    MenuBuilder builder(menu);
    shell_.walkMenu(builder);
    const POINT p = cursorPos();
    int chosen = 0;
    // The panel is not made the foreground window for the menu: that would
    // take the focus from the application being typed into. The menu's own
    // 关闭菜单 closes it.
    shell_.hold([&] {
        chosen = static_cast<int>(
            TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, p.x, p.y, 0, hwnd_, nullptr));
    });
    DestroyMenu(menu);
    shell_.chooseMenu(chosen);
}

void PanelWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    const int w = client.right, h = client.bottom;
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    painter_.paint(mem, shell_.form(), w, h, shell_);
    BitBlt(dc, 0, 0, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(hwnd_, &ps);
}

LRESULT CALLBACK PanelWindow::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<PanelWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = w;
    }
    auto* self = reinterpret_cast<PanelWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    return self ? self->handle(msg, wp, lp) : DefWindowProcW(w, msg, wp, lp);
}

void PanelWindow::restoreFromIcon() {
    shell_.windowMinimized(false);
    syncWindow();
}

void PanelWindow::paintIcon() {
    // Minimised, the panel is its title: "双击返回-输入状态" invites the
    // double click that brings it back. The panel has no caption of its own
    // for the system to draw, so it draws the title over the whole window.
    HDC dc = GetWindowDC(hwnd_);
    RECT r;
    GetWindowRect(hwnd_, &r);
    OffsetRect(&r, -r.left, -r.top);
    FillRect(dc, &r, GetSysColorBrush(COLOR_INACTIVECAPTION));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    const int dpi = shell_.dpi();
    SelectObject(dc, painter_.font(atDpi(12, dpi)));
    const int iconSize = atDpi(16, dpi);
    if (appIcon_)
        DrawIconEx(dc, r.left + atDpi(4, dpi), (r.top + r.bottom - iconSize) / 2, appIcon_, iconSize, iconSize, 0,
                   nullptr, DI_NORMAL);
    RECT text{r.left + atDpi(24, dpi), r.top, r.right - atDpi(2, dpi), r.bottom};
    const std::wstring title = wideOfGbk(shell_.form().title);
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ReleaseDC(hwnd_, dc);
}

LRESULT PanelWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    if (IsIconic(hwnd_)) {
        // The minimised panel only answers the double click on its title,
        // and comes back without being activated.
        switch (msg) {
        case WM_LBUTTONDBLCLK:
        case WM_NCLBUTTONDBLCLK: restoreFromIcon(); return 0;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == SC_RESTORE) {
                restoreFromIcon();
                return 0;
            }
            break;
        case WM_NCPAINT: paintIcon(); return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd_, &ps);
            EndPaint(hwnd_, &ps);
            paintIcon();
            return 0;
        }
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEMOVE: return 0;
        }
    }
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN: mouseDown(MouseButton::Left, x, y, false); return 0;
    case WM_LBUTTONDBLCLK: mouseDown(MouseButton::Left, x, y, true); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: mouseDown(MouseButton::Right, x, y, false); return 0;
    case WM_MOUSEMOVE: {
        const POINT p = cursorPos();
        shell_.move(x, y, p.x, p.y);
        return 0;
    }
    case WM_LBUTTONUP: mouseUp(MouseButton::Left, x, y); return 0;
    case WM_RBUTTONUP: mouseUp(MouseButton::Right, x, y); return 0;
    case WM_CAPTURECHANGED:
        if (!releasing_) shell_.cancelPress();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT) {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(hwnd_, &p);
            const bool hand = shell_.pointerAt(p.x, p.y) == Pointer::Hand;
            SetCursor(LoadCursorW(nullptr, hand ? IDC_HAND : IDC_ARROW));
            return TRUE;
        }
        break;
    case WM_TIMER:
        if (wp == kTimerId) {
            shell_.tick();
            scheduleTicks();
        }
        return 0;
    case WM_PAINT: paint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        // The system restores a minimised panel when its title is double
        // clicked; the form follows.
        if (wp == SIZE_RESTORED && shell_.form().minimized && !shell_.busy()) {
            shell_.windowMinimized(false);
            shownMinimized_ = false;
            syncWindow();
        } else if (wp == SIZE_MINIMIZED && !shell_.form().minimized) {
            shell_.windowMinimized(true);
            shownMinimized_ = true;
        }
        return 0;
    case WM_DPICHANGED:
        dpiChanged(LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_CLOSE: shell_.closeRequest(); return 0;
    case WM_QUERYENDSESSION: return TRUE;
    case WM_ENDSESSION:
        if (wp) {
            svc_.trayRemove();
            browser_.destroy();
            removePrivateFiles();
        }
        return 0;
    case WM_DESTROY: return 0;
    case kMenuMessage: showMenu(); return 0;
    case kShowMessage: shell_.showRequest(); return 0;
    case kTrayMessage:
        switch (LOWORD(lp)) {
        case WM_LBUTTONUP: shell_.trayClick(TrayClick::Left); break;
        case WM_RBUTTONUP: shell_.trayClick(TrayClick::Right); break;
        }
        return 0;
    default:
        if (msg == taskbarCreated_ && taskbarCreated_ != 0) {
            // Explorer started again: the icon has to be added anew.
            svc_.trayRestore();
            return 0;
        }
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool askRunningPanelToShow() {
    // The panel's window is searched on this session's desktop only.
    const HWND panel = FindWindowW(kPanelClass, nullptr);
    return panel && PostMessageW(panel, kShowMessage, 0, 0);
}

}  // namespace lumiko::win32
