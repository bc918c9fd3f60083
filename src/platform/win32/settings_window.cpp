#include "platform/win32/settings_window.h"

#include <string>
#include <utility>

#include "platform/look.h"
#include "platform/win32/dpi.h"
#include "platform/win32/paint.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

namespace {
constexpr const wchar_t* kClass = L"LumikoSettings";
enum : int { kList = 101, kEdit, kSave, kFolder, kLink, kCurrent, kChosenLabel };

std::wstring windowText(HWND w) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(w, s.data(), static_cast<int>(s.size()))));
    return s;
}
}  // namespace

SettingsWindow::~SettingsWindow() { close(); }

void SettingsWindow::close() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    hwnd_ = nullptr;
    if (font_) DeleteObject(font_);
    font_ = nullptr;
    form_ = nullptr;
}

HWND SettingsWindow::make(const wchar_t* cls, const Control& c, DWORD style, int id, DWORD exStyle) {
    // Placed by layOut().
    return CreateWindowExW(exStyle, cls, wideOfGbk(c.text()).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                           hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void SettingsWindow::layOut(int dpi) {
    if (!hwnd_ || !form_) return;
    HFONT old = font_;
    font_ = CreateFontW(-atDpi(look::pixelsOfPoints(9), dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                        captionFace());
    const std::pair<HWND, const Control*> controls[] = {
        {list_, &form_->列表框1}, {current_, &form_->标签3}, {chosenLabel_, &form_->标签4}, {edit_, &form_->编辑框1},
        {save_, &form_->加载},    {folder_, &form_->加载1},  {link_, &form_->透明标签1}};
    for (const auto& [w, c] : controls) {
        SetWindowPos(w, nullptr, atDpi(c->left, dpi), atDpi(c->top, dpi), atDpi(c->width, dpi),
                     atDpi(c->height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    if (old) DeleteObject(old);
}

void SettingsWindow::open(SettingsForm& form, HWND owner) {
    close();
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        registered = RegisterClassW(&wc) != 0;
    }
    form_ = &form;
    hwnd_ = CreateWindowExW(0, kClass, wideOfGbk(form.title).c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                            form.left, form.top, form.width, form.height, owner, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
    if (!hwnd_) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // Sized for the pixels per inch of the monitor it came up on.
    const int dpi = dpiOf(hwnd_);
    SetWindowPos(hwnd_, nullptr, 0, 0, atDpi(form.width, dpi), atDpi(form.height, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    list_ = make(L"LISTBOX", form.列表框1, WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, kList);
    current_ = make(L"STATIC", form.标签3, SS_LEFT | SS_NOPREFIX, kCurrent);
    chosenLabel_ = make(L"STATIC", form.标签4, SS_LEFT | SS_NOPREFIX, kChosenLabel);
    edit_ = make(L"EDIT", form.编辑框1, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kEdit);
    save_ = make(L"BUTTON", form.加载, WS_TABSTOP | BS_PUSHBUTTON, kSave);
    folder_ = make(L"BUTTON", form.加载1, WS_TABSTOP | BS_PUSHBUTTON, kFolder);
    link_ = make(L"STATIC", form.透明标签1, SS_LEFT | SS_NOTIFY | SS_NOPREFIX, kLink);
    layOut(dpi);
    for (const auto& item : form.列表框1.items)
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideOfGbk(item).c_str()));
    refresh();
    ShowWindow(hwnd_, SW_SHOWNORMAL);
}

void SettingsWindow::setText(HWND w, const Text& gbk) {
    const std::wstring want = wideOfGbk(gbk);
    if (windowText(w) != want) SetWindowTextW(w, want.c_str());
}

void SettingsWindow::refresh() {
    if (!hwnd_ || !form_) return;
    syncing_ = true;
    setText(current_, form_->标签3.text());
    setText(edit_, form_->编辑框1.text());
    EnableWindow(save_, form_->加载.enabled);
    const int selected = static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
    if (selected != form_->列表框1.selected) SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(form_->列表框1.selected), 0);
    syncing_ = false;
}

void SettingsWindow::call(const std::function<void()>& handler) {
    if (!handler) return;
    if (run) run(handler);
    else handler();
    refresh();
}

LRESULT CALLBACK SettingsWindow::proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (self && self->hwnd_ == w) return self->handle(msg, wp, lp);
    return DefWindowProcW(w, msg, wp, lp);
}

LRESULT SettingsWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wp), code = HIWORD(wp);
        if (!form_ || syncing_) break;
        if (id == kList && code == LBN_SELCHANGE) {
            form_->列表框1.selected = static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
            call(form_->列表框1.onSelect);
        } else if (id == kEdit && code == EN_CHANGE) {
            // What the user types becomes the content the save reads.
            form_->编辑框1.setText(gbkOfWide(windowText(edit_)));
        } else if (id == kSave && code == BN_CLICKED) {
            call(form_->加载.onClick);
        } else if (id == kFolder && code == BN_CLICKED) {
            call(form_->加载1.onClick);
        } else if (id == kLink && code == STN_CLICKED) {
            Control& link = form_->透明标签1;
            if (link.onLeftUp) call([&link] { link.onLeftUp(0, 0); });
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) == link_) {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetTextColor(dc, static_cast<COLORREF>(look::kLinkColor));
            SetBkMode(dc, TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wp) == link_) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale: redrawn for it, in the
        // rectangle the system suggests.
        const RECT& r = *reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        layOut(HIWORD(wp));
        return 0;
    }
    case WM_CLOSE:
        // Closed by its close box; nothing is saved.
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        hwnd_ = nullptr;
        form_ = nullptr;
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace lumiko::win32
