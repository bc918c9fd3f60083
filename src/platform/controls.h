// The control model: plain objects owned by their form. Front-ends draw them
// and forward the user's events to their handlers; the core reads and writes
// their state. Assigning an edit box's content runs its change handler at
// once, inside the assignment: the input flow relies on it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/builtin.h"
#include "engine/gbktext.h"

namespace lumiko {

enum class ControlKind {
    Label,
    TransparentLabel,
    PictureButton,
    Button,
    PictureBox,
    EditBox,
    ListBox,
    Grid,
    WebBrowser,
    Hyperlink,
    Timer,
};

enum class Pointer { Default, Hand };

struct Control {
    Control(std::string name, ControlKind kind, Control* parent, int left, int top, int width,
            int height, bool visible, Text caption = {});

    std::string name;
    ControlKind kind;
    Control* parent;
    int left, top, width, height;
    bool visible;
    bool enabled = true;
    int fontSize = 9;
    std::uint32_t color = 0;  // blue-green-red, blue is 0xFF0000
    Pointer pointer = Pointer::Default;
    const Picture* picture = nullptr;

    const Text& text() const { return caption_; }
    // Sets the caption (labels, buttons) or content (edit boxes); an edit
    // box's change handler runs before this returns.
    void setText(Text t);

    // Moves and sizes in one step, as the grid highlight needs.
    void move(int l, int t, int w, int h) { left = l; top = t; width = w; height = h; }

    // Left, top relative to the form's client area.
    int absLeft() const { return left + (parent ? parent->absLeft() : 0); }
    int absTop() const { return top + (parent ? parent->absTop() : 0); }
    // Visible on screen: itself and every parent visible.
    bool shown() const { return visible && (!parent || parent->shown()); }

    // List box state.
    std::vector<Text> items;
    int selected = -1;

    // Grid (10 rows x 12 columns of text cells) state.
    static constexpr int kGridRows = 10, kGridCols = 12;
    std::array<std::array<Text, kGridCols>, kGridRows> cells{};
    int currentRow = 0, currentCol = 0;
    void clearCells();

    // Handlers; empty when the control does not react to the event.
    std::function<void()> onChange;            // edit box content assigned
    std::function<void()> onClick;             // clicked
    std::function<void(int, int)> onLeftUp;    // left button released (x, y)
    std::function<void(int, int)> onRightUp;   // right button released
    std::function<void()> onDoubleClick;
    std::function<void(int, int)> onMouseMove;
    std::function<void()> onSelect;            // list box selection changed by the user

private:
    Text caption_;
};

struct MenuItem {
    std::string name;     // also its caption
    bool separator = false;
    bool checked = false;
    std::vector<MenuItem> submenu;
    std::function<void()> onChoose;
};

// A form: owns its controls in creation order (which is also their stacking
// order from bottom to top) and finds them by name.
class Form {
public:
    Control& add(std::string name, ControlKind kind, Control* parent, int left, int top, int width,
                 int height, bool visible = true, Text caption = {});
    Control* find(std::string_view name) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

private:
    std::vector<std::unique_ptr<Control>> controls_;
};

}  // namespace lumiko
