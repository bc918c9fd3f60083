// Typing on wlroots compositors (sway and others): a virtual keyboard of the
// seat, kept for the whole session. Each commit uploads a keymap holding the
// characters it types, one key each, so Chinese text arrives as key presses
// that every Wayland and XWayland program reads; the plain keymap comes back
// once typing has rested a while.
#pragma once

#include <memory>

#include "platform/qt/typing/typist.h"

namespace lumiko::desktop {

class WaylandTypist : public Typist {
public:
    // Connects to the compositor named by WAYLAND_DISPLAY.
    WaylandTypist();
    ~WaylandTypist() override;

    // Whether the compositor offered a virtual keyboard and the connection
    // is still up.
    bool connected() const;

    const char* name() const override { return "wayland"; }
    bool canReach() override { return connected(); }
    // The seat's focus receives the keys; which surface has it is not told.
    bool focus(std::uint64_t& target) override;
    void type(std::uint64_t target, const std::string& utf8) override;
    void press(Key key) override;
    bool rest() override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// Whether the compositor named by WAYLAND_DISPLAY offers a virtual keyboard.
bool waylandOffersVirtualKeyboard();

}  // namespace lumiko::desktop
