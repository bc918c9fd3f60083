// Typing through the Lumiko input source: on Wayland sessions without a
// virtual keyboard (GNOME, KDE) the panel hands each text to its IBus engine
// over the session bus, and the engine commits it into the application that
// has the focus.
#pragma once

#include <memory>

#include "platform/qt/typing/typist.h"

namespace lumiko::desktop {

class IBusTypist : public Typist {
public:
    IBusTypist();
    ~IBusTypist() override;

    const char* name() const override { return "ibus"; }
    // The engine runs (the user has Lumiko among the input sources).
    bool canReach() override;
    // An application's text field has the focus while Lumiko is the input
    // source.
    bool focus(std::uint64_t& target) override;
    void type(std::uint64_t target, const std::string& utf8) override;
    // The editing keys are key presses that the engine forwards. Ctrl+V
    // instead commits the text the panel put on the clipboard last: GNOME
    // Shell 43 hands a forwarded key to the application without its
    // modifiers, so a forwarded Ctrl+V arrives as a plain "v".
    void press(Key key) override;
    void clipboardSet(const std::string& utf8) override { clipboard_ = utf8; }

private:
    std::string clipboard_;
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace lumiko::desktop
