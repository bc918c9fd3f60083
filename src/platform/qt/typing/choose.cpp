// Which way of typing the session offers, chosen once at start.
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <string_view>

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
    "请在 KDE 的系统设置 → 键盘 → 虚拟键盘中选择“Lumiko输入法”。";

const char* const kVirtualKeyboardAdvice =
    "Lumiko 连接不到这个 Wayland 混成器的虚拟键盘，所以文字只能送到 X11（XWayland）程序。\n\n"
    "请检查混成器是否提供 zwp_virtual_keyboard_v1，或用 LUMIKO_TYPING=ibus 改走输入源“Lumiko”。";

// The text of the user's kwinrc, empty when there is none.
std::string userKwinrc() {
    std::string path = env("XDG_CONFIG_HOME");
    if (path.empty() || path[0] != '/') path = env("HOME") + "/.config";
    std::ifstream in(path + "/kwinrc", std::ios::binary);
    std::string text;
    char buf[4096];
    while (in.read(buf, sizeof buf) || in.gcount() > 0) {
        text.append(buf, static_cast<size_t>(in.gcount()));
        if (text.size() > (1u << 20)) break;  // no settings file is that large
    }
    return text;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool kwinrcNamesLumiko(const std::string& kwinrc) {
    bool inWayland = false, names = false;
    size_t start = 0;
    while (start < kwinrc.size()) {
        size_t end = kwinrc.find('\n', start);
        if (end == std::string::npos) end = kwinrc.size();
        const std::string_view line = trimmed(std::string_view(kwinrc).substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line.front() == '[') {
            inWayland = line == "[Wayland]";
            continue;
        }
        const size_t eq = line.find('=');
        if (!inWayland || eq == std::string_view::npos) continue;
        const std::string_view key = trimmed(line.substr(0, eq)), value = trimmed(line.substr(eq + 1));
        // InputMethod, or InputMethod[$e] when the path holds variables;
        // the last one in the file counts, as for KConfig.
        if (key != "InputMethod" && key.rfind("InputMethod[", 0) != 0) continue;
        const std::string_view entry = kKwinInputEntry;
        names = value.size() >= entry.size() && value.substr(value.size() - entry.size()) == entry &&
                (value.size() == entry.size() || value[value.size() - entry.size() - 1] == '/');
    }
    return names;
}

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
    if (s.wayland && s.desktop.find("KDE") != std::string::npos) s.kwinStartsLumiko = kwinrcNamesLumiko(userKwinrc());
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
        // Under KWin with Lumiko's input method the launcher starts the
        // engine, maybe after the panel: nothing to advise.
        if (!ibus->canReach() && !session.kwinStartsLumiko)
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
