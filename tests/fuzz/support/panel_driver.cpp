#include "panel_driver.h"

#include <vector>

namespace lumiko::fuzz {

namespace {
// Characters the tables are made of, and the two markers of the update page.
const char* const kPieces[] = {"1", "2", "3", "4", "5", "0", "9", "a", "z", " ", "\r\n", "\r", "\n",
                               "一", "十", "口", "的", "确", "们", "白", "土", "\xfe\x51", "\xfe\x59",
                               "Ж", "Й", "Lumiko 1.0", ".txt", ".TXT", "\\", "..", "拼音"};
}  // namespace

Text randomText(const Choose& choose, std::size_t maxLength, bool raw) {
    Text t;
    const std::size_t n = choose(static_cast<std::uint32_t>(maxLength) + 1);
    while (t.size() < n) {
        if (raw && choose(4) == 0) t.push_back(static_cast<char>(choose(256)));
        else t += kPieces[choose(std::size(kPieces))];
    }
    return t;
}

void PanelDriver::step(const Choose& choose, bool exitAllowed) {
    ++events;
    if (app_.exited) return;
    const std::uint32_t kind = choose(100);
    if (kind < 55) keypadOrGrid(choose);
    else if (kind < 80) controlEvent(choose, app_.form);
    else if (kind < 85 && app_.settings) controlEvent(choose, *app_.settings);
    else if (kind < 90) menuCommand(choose, exitAllowed);
    else if (kind < 95) desktopChange(choose);
    else if (kind < 97) app_.tick();
    else if (kind < 98) app_.trayLeftClick();
    else if (kind < 99) app_.trayRightClick();
    else app_.closeRequest();
}

// The clicks a user makes most: keys, the grid, the strip, the page buttons.
void PanelDriver::keypadOrGrid(const Choose& choose) {
    PanelForm& f = app_.form;
    auto leftUp = [](Control& c, int x, int y) {
        if (c.shown() && c.enabled && c.onLeftUp) c.onLeftUp(x, y);
    };
    switch (choose(8)) {
    case 0:
    case 1:
    case 2: leftUp(*f.超级按钮[1 + choose(10)], 20, 20); break;
    case 3: {
        const int x = static_cast<int>(choose(420)), y = static_cast<int>(choose(260));
        if (f.显字标签.shown() && f.显字标签.onMouseMove) f.显字标签.onMouseMove(x, y);
        leftUp(f.定位透明标签, 5, 5);
        break;
    }
    case 4: {
        const int x = static_cast<int>(choose(420));
        if (f.词语提示标签.shown() && f.词语提示标签.onMouseMove) f.词语提示标签.onMouseMove(x, 5);
        leftUp(f.词语提示标签, x, 5);
        break;
    }
    case 5: leftUp(choose(2) ? f.超级上 : f.超级下, 5, 5); break;
    case 6: leftUp(choose(3) ? f.按钮3 : f.输入标签, 5, 5); break;
    default: {
        Control* modes[] = {&f.笔画输入, &f.笔画附加, &f.号码四角, &f.清空};
        Control& c = *modes[choose(4)];
        if (c.shown() && c.enabled && c.onClick) c.onClick();
    }
    }
}

// Any event on any control the user can reach on the form.
void PanelDriver::controlEvent(const Choose& choose, Form& form) {
    std::vector<Control*> reachable;
    for (const auto& c : form.controls())
        if (c->shown() && c->enabled) reachable.push_back(c.get());
    if (reachable.empty()) return;
    Control& c = *reachable[choose(static_cast<std::uint32_t>(reachable.size()))];
    const int x = static_cast<int>(choose(static_cast<std::uint32_t>(c.width) + 4)) - 2;
    const int y = static_cast<int>(choose(static_cast<std::uint32_t>(c.height) + 4)) - 2;
    switch (choose(6)) {
    case 0:
        if (c.onLeftUp) c.onLeftUp(x, y);
        if (c.onClick) c.onClick();
        break;
    case 1:
        if (c.onMouseMove) c.onMouseMove(x, y);
        break;
    case 2:
        if (c.onRightUp) c.onRightUp(x, y);
        break;
    case 3:
        if (c.onDoubleClick) c.onDoubleClick();
        break;
    case 4:
        if (c.kind == ControlKind::ListBox && !c.items.empty()) {
            c.selected = static_cast<int>(choose(static_cast<std::uint32_t>(c.items.size())));
            if (c.onSelect) c.onSelect();
        }
        break;
    default:
        if (c.kind == ControlKind::EditBox) c.setText(randomText(choose, 24));
        else if (c.kind == ControlKind::Grid) {
            c.currentRow = static_cast<int>(choose(Control::kGridRows));
            c.currentCol = static_cast<int>(choose(Control::kGridCols));
            if (c.onLeftUp) c.onLeftUp(x, y);
        }
    }
}

void PanelDriver::menuCommand(const Choose& choose, bool exitAllowed) {
    std::vector<Text> items;
    for (const MenuItem& m : app_.form.菜单) {
        if (!m.separator && m.submenu.empty()) items.push_back(m.name);
        for (const MenuItem& s : m.submenu)
            if (!s.separator) items.push_back(s.name);
    }
    const Text item = items[choose(static_cast<std::uint32_t>(items.size()))];
    if (item == "退出" && !exitAllowed) return;
    app_.chooseMenu(item);
}

void PanelDriver::desktopChange(const Choose& choose) {
    switch (choose(6)) {
    case 0: desk_.network = static_cast<int>(choose(2)); break;
    case 1:
        desk_.httpOk = choose(4) != 0;
        desk_.httpBody = randomText(choose, 64, true);
        break;
    case 2: desk_.answerYes = choose(2) != 0; break;
    case 3:
        desk_.focusKnown = choose(4) != 0;
        desk_.focus = choose(100000);
        break;
    case 4: desk_.document.field->setValue(randomText(choose, 12)); break;
    default: desk_.documentReachable = choose(4) != 0;
    }
}

}  // namespace lumiko::fuzz
