// Mouse routing shared by the desktop front-ends: finds the control under the
// pointer (the topmost shown one, in stacking order) and turns presses,
// moves and releases into the controls' handlers, in each control's own
// coordinates. Captures the control pressed until the button is released, as
// desktop controls do.
#pragma once

#include "platform/controls.h"

namespace lumiko {

enum class MouseButton { Left, Right };

// The topmost shown control whose rectangle holds (x, y) of the form's client
// area, or null. Timers, edit boxes placed off the panel and hidden controls
// never match.
Control* controlAt(const Form& form, int x, int y);

class PointerRouter {
public:
    explicit PointerRouter(const Form& form) : form_(form) {}

    // Each returns the control that took the event (null: none).
    Control* press(MouseButton button, int x, int y);
    Control* move(int x, int y);
    Control* release(MouseButton button, int x, int y);
    Control* doubleClick(int x, int y);

    // The pointer shape to show at (x, y).
    Pointer pointerAt(int x, int y) const;

private:
    const Form& form_;
    Control* pressed_ = nullptr;
    MouseButton pressedButton_ = MouseButton::Left;
};

}  // namespace lumiko
