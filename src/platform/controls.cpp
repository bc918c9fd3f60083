#include "platform/controls.h"

namespace lumiko {

Control::Control(std::string n, ControlKind k, Control* p, int l, int t, int w, int h, bool v,
                 Text c)
    : name(std::move(n)), kind(k), parent(p), left(l), top(t), width(w), height(h), visible(v),
      caption_(std::move(c)) {}

void Control::setText(Text t) {
    caption_ = std::move(t);
    if (onChange) onChange();
}

void Control::clearCells() {
    for (auto& row : cells)
        for (auto& cell : row) cell.clear();
}

Control& Form::add(std::string name, ControlKind kind, Control* parent, int left, int top,
                   int width, int height, bool visible, Text caption) {
    controls_.push_back(std::make_unique<Control>(std::move(name), kind, parent, left, top, width,
                                                  height, visible, std::move(caption)));
    return *controls_.back();
}

Control* Form::find(std::string_view name) const {
    for (const auto& c : controls_)
        if (c->name == name) return c.get();
    return nullptr;
}

}  // namespace lumiko
