// One way of typing into other applications on the Linux desktop: XTest on
// X11 sessions, a virtual keyboard on wlroots compositors, the Lumiko input
// source through IBus elsewhere. The panel picks one at start (chooseTypist)
// and hands it whole texts and the editing keys.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/services.h"

namespace lumiko::desktop {

class X11Input;

class Typist {
public:
    virtual ~Typist() = default;

    // Its name in logs and in LUMIKO_TYPING: "xtest", "wayland" or "ibus".
    virtual const char* name() const = 0;

    // Whether this way is there to type with: the X display, the
    // compositor's virtual keyboard, the input source's engine.
    virtual bool canReach() = 0;

    // Where text goes: true with a handle naming the application that has
    // the focus (an X window, or 1 where only the seat knows), false when no
    // application has it, as far as this way can tell.
    virtual bool focus(std::uint64_t& target) = 0;

    // Types a UTF-8 text into `target` (a handle from focus(); 0: nowhere),
    // all of it, in order.
    virtual void type(std::uint64_t target, const std::string& utf8) = 0;

    // A press and release of an editing key (or Ctrl+V) for the application
    // that has the focus.
    virtual void press(Key key) = 0;

    // The panel put this text on the clipboard.
    virtual void clipboardSet(const std::string&) {}

    // Called now and then after typing: gives back what typing borrowed
    // (keycodes, keymaps) once it has not been used for a while. Returns
    // whether something is still borrowed, that is whether it must be
    // called again.
    virtual bool rest() { return false; }

    // Whether this way learns of focus changes by itself, so that the
    // panel's timer may rest until told; false when the focus must be asked
    // for on every tick.
    virtual bool settled() { return false; }
};

// The ways that can be chosen.
enum class TypingWay { XTest, Wayland, IBus };

// What the session offers, as read at start.
struct Session {
    bool wayland = false;          // WAYLAND_DISPLAY is set
    bool virtualKeyboard = false;  // the compositor offers zwp_virtual_keyboard_manager_v1
    std::string desktop;           // XDG_CURRENT_DESKTOP: which advice fits
    std::string override;          // LUMIKO_TYPING
    // KWin starts Lumiko's input method (the package's launcher, chosen in
    // System Settings → Keyboard → Virtual Keyboard): the input source is
    // on its way even while its engine is not running yet.
    bool kwinStartsLumiko = false;
};

// The desktop entry of Lumiko's input method for KWin, as the package
// installs it under share/applications.
inline constexpr const char* kKwinInputEntry = "org.lumiko.Lumiko.KWinInput.desktop";
// True when the text of a kwinrc names that entry as the input method
// ([Wayland] InputMethod, which System Settings writes as the entry's path).
bool kwinrcNamesLumiko(const std::string& kwinrc);

// The way for a session: LUMIKO_TYPING when it names one; XTest without
// Wayland; the virtual keyboard where the compositor offers it; IBus on
// every other Wayland session (GNOME, KDE).
TypingWay chooseWay(const Session& session);

// The typist for a session and, when it cannot reach the session's own
// (Wayland) programs, what the user should do about it, in the panel's
// words (UTF-8; empty when it can). On a Wayland session without a virtual
// keyboard it types through IBus while the Lumiko input source is there, and
// through XTest (XWayland programs only) while it is not.
struct TypingChoice {
    std::unique_ptr<Typist> typist;
    std::string advice;
};
TypingChoice chooseTypist(const Session& session, X11Input& x11);

// The session as the environment and the compositor describe it.
Session currentSession();

}  // namespace lumiko::desktop
