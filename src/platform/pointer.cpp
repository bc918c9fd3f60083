#include "platform/pointer.h"

namespace lumiko {

namespace {
bool contains(const Control& c, int x, int y) {
    const int l = c.absLeft(), t = c.absTop();
    return x >= l && y >= t && x < l + c.width && y < t + c.height;
}
}  // namespace

Control* controlAt(const Form& form, int x, int y) {
    const auto& all = form.controls();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        Control& c = **it;
        if (c.kind == ControlKind::Timer || !c.shown() || !contains(c, x, y)) continue;
        return &c;
    }
    return nullptr;
}

Control* PointerRouter::press(MouseButton button, int x, int y) {
    pressed_ = controlAt(form_, x, y);
    pressedButton_ = button;
    return pressed_;
}

Control* PointerRouter::move(int x, int y) {
    Control* c = pressed_ ? pressed_ : controlAt(form_, x, y);
    if (c && c->onMouseMove) c->onMouseMove(x - c->absLeft(), y - c->absTop());
    return c;
}

Control* PointerRouter::release(MouseButton button, int x, int y) {
    Control* c = pressed_ && pressedButton_ == button ? pressed_ : controlAt(form_, x, y);
    pressed_ = nullptr;
    if (!c) return nullptr;
    const int lx = x - c->absLeft(), ly = y - c->absTop();
    if (button == MouseButton::Left) {
        // A click is a press and a release over the same control.
        if (c->onClick && contains(*c, x, y)) c->onClick();
        if (c->onLeftUp) c->onLeftUp(lx, ly);
    } else if (c->onRightUp) {
        c->onRightUp(lx, ly);
    }
    return c;
}

Control* PointerRouter::doubleClick(int x, int y) {
    Control* c = controlAt(form_, x, y);
    if (c && c->onDoubleClick) c->onDoubleClick();
    return c;
}

Pointer PointerRouter::pointerAt(int x, int y) const {
    const Control* c = controlAt(form_, x, y);
    return c ? c->pointer : Pointer::Default;
}

}  // namespace lumiko
