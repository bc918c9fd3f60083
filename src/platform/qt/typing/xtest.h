// Typing on X11 sessions (and into XWayland programs): XTest key presses
// through the panel's X connection.
#pragma once

#include "platform/qt/typing/typist.h"

namespace lumiko::desktop {

class XTestTypist : public Typist {
public:
    explicit XTestTypist(X11Input& x11) : x11_(x11) {}

    const char* name() const override { return "xtest"; }
    bool canReach() override;
    // The X window that has the input focus.
    bool focus(std::uint64_t& target) override;
    void type(std::uint64_t target, const std::string& utf8) override;
    void press(Key key) override;
    // Gives the spare keycodes back once unused for a while (X11Input).
    bool rest() override;
    // Focus changes come as the X server's events (X11Input::settled).
    bool settled() override;

private:
    X11Input& x11_;
};

}  // namespace lumiko::desktop
