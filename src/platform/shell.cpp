#include "platform/shell.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "app/app.h"
#include "platform/look.h"

namespace lumiko {

namespace {

// The pointer moves this far (in pixels, across plus down) with the button
// held on the background before the panel follows it.
constexpr int kDragThreshold = 3;
// The zooms a user can choose lie between these.
constexpr int kMinZoom = 50, kMaxZoom = 400;
// The monitors' pixels per inch a front-end may pass on (96 is the desktop
// at 100 %, the system's largest setting is 500 %).
constexpr int kMinDpi = 48, kMaxDpi = 480;
// 100 % zoom at 96 pixels per inch: the form's own pixels.
constexpr long long kUnit = 100 * 96;

std::uint64_t mix(std::uint64_t h, std::uint64_t v) { return (h ^ v) * 0x100000001B3ull; }
std::uint64_t mix(std::uint64_t h, const std::string& s) {
    for (unsigned char c : s) h = mix(h, c);
    return mix(h, s.size());
}
std::uint64_t pair(int a, int b) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32 | static_cast<std::uint32_t>(b);
}

}  // namespace

PanelShell::PanelShell(Services& services, ListMetrics list)
    : ownApp_(std::make_unique<App>(services)), app_(*ownApp_), form_(app_.form), list_(list), router_(form_) {}

PanelShell::PanelShell(App& app, ListMetrics list)
    : app_(app), form_(app.form), list_(list), router_(app.form) {}

PanelShell::~PanelShell() = default;

SettingsForm* PanelShell::settingsForm() { return app_.settings.get(); }

bool PanelShell::exited() const { return app_.exited; }

void PanelShell::startUp() { app_.startUp(); }

void PanelShell::newWindowRequested() { app_.newWindowRequested(); }

void PanelShell::windowMoved(int left, int top) {
    form_.left = left;
    form_.top = top;
}

void PanelShell::windowMinimized(bool minimized) { form_.minimized = minimized; }

void PanelShell::hiddenWithNoWayBack() {
    form_.visible = true;
    form_.minimized = true;
}

bool PanelShell::dispatch(const std::function<void()>& handler) {
    if (depth_ > 0 || app_.exited || !handler) return false;
    ++depth_;
    handler();
    --depth_;
    if (onSettled) onSettled();
    return true;
}

void PanelShell::hold(const std::function<void()>& nativeLoop) {
    ++depth_;
    nativeLoop();
    --depth_;
}

int PanelShell::listLineAt(const Control& list, int y) const {
    return look::listLineAt(list, y - list_.inset, list_.line);
}

void PanelShell::pressAt(MouseButton button, int x, int y, int screenX, int screenY, bool second) {
    const bool left = button == MouseButton::Left;
    const bool ran = dispatch([&] {
        if (second && left) {
            router_.doubleClick(x, y);
            if (!form_.visible) return;  // the double click hid the panel
        }
        pressed_ = true;
        Control* c = router_.press(button, x, y);
        pointer_.pressed = c;
        if (!c || !left) return;
        const int lx = x - c->absLeft(), ly = y - c->absTop();
        if (c->kind == ControlKind::Grid) {
            // The cell under the pointer becomes the grid's current cell.
            look::gridCellAt(*c, lx, ly, c->currentRow, c->currentCol);
        } else if (c->kind == ControlKind::ListBox) {
            // A click on a line chooses it, the line already selected too.
            const int line = listLineAt(*c, ly);
            if (line >= 0) {
                c->selected = line;
                if (c->onSelect) c->onSelect();
            }
        } else if (c == &form_.标签1 && !second) {
            dragArmed_ = true;
            dragScreenX_ = screenX;
            dragScreenY_ = screenY;
            dragLeft_ = form_.left;
            dragTop_ = form_.top;
        }
    });
    if (!ran) pressed_ = false;
}

void PanelShell::setZoom(int percent) { zoom_ = std::clamp(percent, kMinZoom, kMaxZoom); }

void PanelShell::setDpi(int dpi) { dpi_ = std::clamp(dpi, kMinDpi, kMaxDpi); }

int PanelShell::scaled(int formPixels) const {
    // Rounded to the nearest pixel, halves away from zero.
    const long long p = static_cast<long long>(formPixels) * zoom_ * dpi_;
    return static_cast<int>(p >= 0 ? (p + kUnit / 2) / kUnit : -((-p + kUnit / 2) / kUnit));
}

int PanelShell::formPixels(int windowPixels) const {
    // The form pixel whose zoomed square holds the window pixel.
    const long long p = static_cast<long long>(windowPixels) * kUnit;
    const long long scale = static_cast<long long>(zoom_) * dpi_;
    return static_cast<int>(p >= 0 ? p / scale : -((-p + scale - 1) / scale));
}

void PanelShell::placeOnScreen(int screenWidth, int screenHeight) {
    form_.left = screenWidth - scaled(form_.width) - 60;
    form_.top = screenHeight - scaled(form_.height) - 60;
    keepOnScreen(0, 0, screenWidth, screenHeight);
}

void PanelShell::keepOnScreen(int areaLeft, int areaTop, int areaWidth, int areaHeight) {
    form_.left = std::max(std::min(form_.left, areaLeft + areaWidth - scaled(form_.width)), areaLeft);
    form_.top = std::max(std::min(form_.top, areaTop + areaHeight - scaled(form_.height)), areaTop);
}

const std::vector<int>& PanelShell::zoomChoices() {
    static const std::vector<int> choices{100, 125, 150, 200};
    return choices;
}

int PanelShell::parseZoom(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    if (!text.empty() && text.back() == '%') text.remove_suffix(1);
    int percent = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), percent);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return 0;
    return percent >= kMinZoom && percent <= kMaxZoom ? percent : 0;
}

void PanelShell::press(MouseButton button, int x, int y, int screenX, int screenY) {
    pressAt(button, formPixels(x), formPixels(y), screenX, screenY, false);
}

void PanelShell::doubleClick(int x, int y, int screenX, int screenY) {
    pressAt(MouseButton::Left, formPixels(x), formPixels(y), screenX, screenY, true);
}

void PanelShell::move(int windowX, int windowY, int screenX, int screenY) {
    const int x = formPixels(windowX), y = formPixels(windowY);
    if (dragArmed_) {
        const int dx = screenX - dragScreenX_, dy = screenY - dragScreenY_;
        if (!dragging_ && std::abs(dx) + std::abs(dy) > kDragThreshold) dragging_ = true;
        if (dragging_) {
            form_.left = dragLeft_ + dx;
            form_.top = dragTop_ + dy;
            if (onSettled) onSettled();
            return;
        }
    }
    dispatch([&] {
        router_.move(x, y);
        hoverAt(x, y);
    });
}

void PanelShell::release(MouseButton button, int windowX, int windowY) {
    const int x = formPixels(windowX), y = formPixels(windowY);
    // A release whose press never reached the panel (the press went to a
    // menu or a message box) is not the panel's.
    if (!pressed_) return;
    const bool left = button == MouseButton::Left;
    const bool dragged = dragging_ && left;
    if (left) dragArmed_ = dragging_ = false;
    pressed_ = false;
    dispatch([&] {
        // A drag ends the capture of the background and clicks nothing.
        if (dragged) router_.release(MouseButton::Left, -1, -1);
        else router_.release(button, x, y);
        pointer_.pressed = nullptr;
        hoverAt(x, y);
    });
}

void PanelShell::cancelPress() {
    dragArmed_ = dragging_ = false;
    pressed_ = false;
    pointer_.pressed = nullptr;
}

void PanelShell::leave() {
    pointer_.hovered = nullptr;
    pointer_.gridRow = pointer_.gridCol = -1;
    if (!busy() && onSettled) onSettled();
}

void PanelShell::hoverAt(int x, int y) {
    const Control* c = controlAt(form_, x, y);
    pointer_.hovered = c;
    pointer_.gridRow = pointer_.gridCol = -1;
    if (c && c->kind == ControlKind::Grid) {
        int row = -1, col = -1;
        if (look::gridCellAt(*c, x - c->absLeft(), y - c->absTop(), row, col)) {
            pointer_.gridRow = row;
            pointer_.gridCol = col;
        }
    }
}

Pointer PanelShell::pointerAt(int x, int y) const { return router_.pointerAt(formPixels(x), formPixels(y)); }

bool PanelShell::pageSettled() const { return !pageNews_ && app_.g.pendingHandwriting.empty(); }

void PanelShell::tick() {
    if (busy() || app_.exited) return;
    // A tick with nothing pending reads the page's field.
    if (app_.g.pendingHandwriting.empty()) pageNews_ = false;
    if (app_.tickMayCommit()) {
        dispatch([this] { app_.tick(); });
        return;
    }
    // Records the focus in a hidden label and reads the page: nothing drawn.
    ++depth_;
    app_.tick();
    --depth_;
}

PanelShell::TickRate PanelShell::tickRate(bool pageMade, bool focusSettled, bool pageTells) const {
    const bool queued = pageNews_ || app_.tickMayCommit() || app_.learningUnsaved();
    const bool polled = pageMade && !pageTells;
    if (form_.visible && !queued && !polled && focusSettled && app_.firstTickDone()) return TickRate::Stopped;
    if (form_.visible || queued) return TickRate::Usual;
    return polled ? TickRate::Slow : TickRate::Stopped;
}

int PanelShell::tickPeriod(int usualMs, bool pageMade, bool focusSettled, bool pageTells) const {
    switch (tickRate(pageMade, focusSettled, pageTells)) {
    case TickRate::Usual: return usualMs;
    case TickRate::Slow: return kSlowTickMs;
    case TickRate::Stopped: break;
    }
    return 0;
}

void PanelShell::trayClick(TrayClick click) {
    dispatch([&] {
        if (click == TrayClick::Left) app_.trayLeftClick();
        else app_.trayRightClick();
    });
}

void PanelShell::showRequest() {
    dispatch([this] {
        if (!form_.visible) app_.trayLeftClick();
    });
}

void PanelShell::closeRequest() {
    dispatch([this] { app_.closeRequest(); });
}

void PanelShell::walk(MenuVisitor& visitor, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            visitor.separator();
        } else if (!item.submenu.empty()) {
            visitor.beginSubmenu(item.name);
            // The zoom comes before the learning items, which end the submenu.
            std::vector<MenuItem> head = item.submenu, tail;
            const auto learning = std::find_if(head.begin(), head.end(),
                                               [](const MenuItem& m) { return m.name == "记忆常用字"; });
            if (item.name == "帮助/其它" && onZoomChosen && learning != head.end()) {
                const auto from = learning != head.begin() && std::prev(learning)->separator ? std::prev(learning) : learning;
                tail.assign(from, head.end());
                head.erase(from, head.end());
            }
            walk(visitor, head);
            if (item.name == "帮助/其它" && onZoomChosen) {
                visitor.separator();
                visitor.beginSubmenu("缩放");
                for (const int percent : zoomChoices()) {
                    menuChoices_.push_back({{}, percent});
                    visitor.item(std::to_string(percent) + "%", percent == zoom_, static_cast<int>(menuChoices_.size()));
                }
                visitor.endSubmenu();
            }
            walk(visitor, tail);
            if (item.name == "帮助/其它" && sessionStart) {
                menuChoices_.push_back({{}, 0, true});
                visitor.item("登录时启动", sessionStart->startsWithSession(),
                             static_cast<int>(menuChoices_.size()));
            }
            visitor.endSubmenu();
        } else {
            menuChoices_.push_back({item.name, 0});
            visitor.item(item.name, item.checked, static_cast<int>(menuChoices_.size()));
        }
    }
}

void PanelShell::walkMenu(MenuVisitor& visitor) {
    menuChoices_.clear();
    walk(visitor, form_.菜单);
}

void PanelShell::chooseMenu(int id) {
    if (id < 1 || id > static_cast<int>(menuChoices_.size())) return;
    const MenuChoice choice = menuChoices_[static_cast<size_t>(id - 1)];
    dispatch([&] {
        if (choice.sessionStart) {
            toggleSessionStart();
            return;
        }
        if (choice.zoom == 0) {
            app_.chooseMenu(choice.name);
            return;
        }
        setZoom(choice.zoom);
        if (onZoomChosen) onZoomChosen();
    });
}

// Turns starting with the session on or off, from what is there now (the
// user may have changed it elsewhere since the menu was drawn); a failure is
// told in a message box and in the log.
void PanelShell::toggleSessionStart() {
    if (!sessionStart) return;
    const bool on = !sessionStart->startsWithSession();
    Text problem;
    if (sessionStart->setStartsWithSession(on, problem)) return;
    const Text text = (on ? "无法设置登录时启动：\n" : "无法取消登录时启动：\n") + problem;
    app_.services().log(text);
    app_.services().messageBox("Lumiko输入法", text, Buttons::Ok);
}

std::uint64_t PanelShell::drawnState() const {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (const auto& c : form_.controls()) {
        if (c->kind == ControlKind::Timer || !c->shown()) continue;
        h = mix(h, reinterpret_cast<std::uintptr_t>(c.get()));
        h = mix(h, c->text());
        h = mix(h, pair(c->left, c->top));
        h = mix(h, pair(c->width, c->height));
        h = mix(h, static_cast<std::uint64_t>(c->color) << 16 | static_cast<std::uint64_t>(c->fontSize) << 1 |
                       (c->enabled ? 1u : 0u));
        h = mix(h, reinterpret_cast<std::uintptr_t>(c->picture));
        if (c->kind == ControlKind::Grid)
            for (const auto& row : c->cells)
                for (const auto& cell : row) h = mix(h, cell);
        if (c->kind == ControlKind::ListBox) {
            for (const auto& item : c->items) h = mix(h, item);
            h = mix(h, static_cast<std::uint64_t>(c->selected + 1));
        }
    }
    h = mix(h, reinterpret_cast<std::uintptr_t>(pointer_.hovered));
    h = mix(h, reinterpret_cast<std::uintptr_t>(pointer_.pressed));
    h = mix(h, pair(pointer_.gridRow, pointer_.gridCol));
    return mix(h, pair(zoom_, dpi_));
}

bool PanelShell::needsRepaint() {
    const std::uint64_t state = drawnState();
    if (state == drawn_) return false;
    drawn_ = state;
    return true;
}

}  // namespace lumiko
