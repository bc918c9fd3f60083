// Which way of typing the session offers, chosen once at start.
#include <cstdlib>
#include <cstdio>

#include "platform/qt/typing/ibus.h"
#include "platform/qt/typing/typist.h"
#include "platform/qt/typing/wayland.h"
#include "platform/qt/typing/xtest.h"

namespace lumiko::desktop {

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Types through the first way while it can reach an application, else
// through the second: the Lumiko input source while the user has it, XTest
// into XWayland programs meanwhile.
class FirstReachable : public Typist {
public:
    FirstReachable(std::unique_ptr<Typist> first, std::unique_ptr<Typist> second)
        : first_(std::move(first)), second_(std::move(second)) {}

    const char* name() const override { return first_->name(); }
    bool canReach() override { return first_->canReach() || second_->canReach(); }
    bool focus(std::uint64_t& target) override { return now().focus(target); }
    void type(std::uint64_t target, const std::string& utf8) override { now().type(target, utf8); }
    void press(Key key) override { now().press(key); }
    void clipboardSet(const std::string& utf8) override {
        first_->clipboardSet(utf8);
        second_->clipboardSet(utf8);
    }
    bool rest() override {
        const bool first = first_->rest();
        return second_->rest() || first;
    }

private:
    Typist& now() { return first_->canReach() ? *first_ : *second_; }

    std::unique_ptr<Typist> first_, second_;
};

const char* const kInputSourceAdvice =
    "Lumiko 在这个 Wayland 桌面上通过输入源“Lumiko”输入文字，但它现在没有运行，"
    "所以文字只能送到 X11（XWayland）程序。\n\n"
    "请在桌面的输入源设置中添加“Lumiko”（GNOME：设置 → 键盘 → 输入源 → + → 汉语 → Lumiko），"
    "然后切换到它再用面板输入。";

const char* const kKdeAdvice =
    "Lumiko 在这个 Wayland 桌面上通过 IBus 输入源“Lumiko”输入文字，但它现在没有运行，"
    "所以文字只能送到 X11（XWayland）程序。\n\n"
    "请把 IBus 设为 KDE 的输入法（系统设置 → 键盘 → 虚拟键盘 → IBus Wayland），"
    "在 IBus 首选项中添加“Lumiko”并切换到它。";

const char* const kVirtualKeyboardAdvice =
    "Lumiko 连接不到这个 Wayland 混成器的虚拟键盘，所以文字只能送到 X11（XWayland）程序。\n\n"
    "请检查混成器是否提供 zwp_virtual_keyboard_v1，或用 LUMIKO_TYPING=ibus 改走输入源“Lumiko”。";

}  // namespace

TypingWay chooseWay(const Session& s) {
    if (s.override == "xtest") return TypingWay::XTest;
    if (s.override == "wayland") return TypingWay::Wayland;
    if (s.override == "ibus") return TypingWay::IBus;
    if (!s.wayland) return TypingWay::XTest;
    if (s.virtualKeyboard) return TypingWay::Wayland;
    return TypingWay::IBus;
}

Session currentSession() {
    Session s;
    s.wayland = !env("WAYLAND_DISPLAY").empty();
    s.override = env("LUMIKO_TYPING");
    s.desktop = env("XDG_CURRENT_DESKTOP");
    // Asking the compositor costs a connection; the choice needs it only
    // when nothing else decides.
    if (s.wayland && s.override.empty()) s.virtualKeyboard = waylandOffersVirtualKeyboard();
    return s;
}

TypingChoice chooseTypist(const Session& session, X11Input& x11) {
    TypingChoice t;
    switch (chooseWay(session)) {
    case TypingWay::XTest: t.typist = std::make_unique<XTestTypist>(x11); break;
    case TypingWay::Wayland: {
        auto wayland = std::make_unique<WaylandTypist>();
        if (wayland->connected()) {
            t.typist = std::move(wayland);
        } else {
            t.typist = std::make_unique<XTestTypist>(x11);
            t.advice = kVirtualKeyboardAdvice;
        }
        break;
    }
    case TypingWay::IBus: {
        auto ibus = std::make_unique<IBusTypist>();
        if (!ibus->canReach())
            t.advice = session.desktop.find("KDE") != std::string::npos ? kKdeAdvice : kInputSourceAdvice;
        t.typist = std::make_unique<FirstReachable>(std::move(ibus), std::make_unique<XTestTypist>(x11));
        break;
    }
    }
    std::fprintf(stderr, "lumiko: typing through %s (session: %s, desktop: %s)\n", t.typist->name(),
                 session.wayland ? (session.virtualKeyboard ? "Wayland with a virtual keyboard" : "Wayland") : "X11",
                 session.desktop.empty() ? "unknown" : session.desktop.c_str());
    return t;
}

}  // namespace lumiko::desktop
