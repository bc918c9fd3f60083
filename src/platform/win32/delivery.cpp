#include "platform/win32/delivery.h"

#include <windows.h>

#include <cstring>

#include "platform/delivery.h"
#include "platform/win32/text.h"

namespace lumiko::win32 {

std::wstring unitsOfGbk(const Text& gbk) {
    std::wstring out;
    for (const std::string& character : gbkCharacters(gbk)) {
        wchar_t wide[4];
        const int count = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, character.data(),
                                              static_cast<int>(character.size()), wide, 4);
        out.append(wide, static_cast<size_t>(count > 0 ? count : 0));
    }
    return out;
}

void postChars(std::uint64_t window, const std::wstring& units) {
    for (const wchar_t unit : units)
        PostMessageW(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window)), WM_CHAR, static_cast<WPARAM>(unit), 1);
}

void pressKey(Key key) {
    WORD codes[2] = {0, 0};
    int n = 1;
    switch (key) {
    case Key::Backspace: codes[0] = VK_BACK; break;
    case Key::Space: codes[0] = VK_SPACE; break;
    case Key::Enter: codes[0] = VK_RETURN; break;
    case Key::CtrlV:
        codes[0] = VK_CONTROL;
        codes[1] = 'V';
        n = 2;
        break;
    }
    INPUT inputs[4];
    std::memset(inputs, 0, sizeof inputs);
    for (int i = 0; i < n; ++i) {  // presses in order, releases in reverse
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = codes[i];
        inputs[2 * n - 1 - i].type = INPUT_KEYBOARD;
        inputs[2 * n - 1 - i].ki.wVk = codes[i];
        inputs[2 * n - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(static_cast<UINT>(2 * n), inputs, sizeof(INPUT));
}

namespace {
bool putData(UINT format, const void* data, size_t size) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem) return false;
    void* p = GlobalLock(mem);
    std::memcpy(p, data, size);
    GlobalUnlock(mem);
    if (!SetClipboardData(format, mem)) {
        GlobalFree(mem);
        return false;
    }
    return true;
}
}  // namespace

bool putOnClipboard(void* owner, const Text& gbk) {
    if (!OpenClipboard(static_cast<HWND>(owner))) return false;
    EmptyClipboard();
    // The GBK bytes as CF_TEXT, marked as Chinese (PRC) text, and the same
    // characters as Unicode, so that no reader converts them by another code
    // page than GBK.
    const std::string ansi = gbk + '\0';
    const std::wstring wide = wideOfGbk(gbk) + L'\0';
    const LCID chinese = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);
    const bool ok = putData(CF_UNICODETEXT, wide.data(), wide.size() * sizeof(wchar_t)) &&
                    putData(CF_TEXT, ansi.data(), ansi.size()) &&
                    putData(CF_LOCALE, &chinese, sizeof chinese);
    CloseClipboard();
    return ok;
}

}  // namespace lumiko::win32
