#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <string>

#include "platform/qt/typing/keymap.h"
#include "platform/qt/x11input.h"
#include "platform/qt/typing/typist.h"

namespace lumiko::desktop {
namespace {

TEST(Typist, TheSessionChoosesTheWayAndLumikoTypingOverridesIt) {
    struct Case {
        Session session;
        TypingWay way;
    };
    const Case cases[] = {
        {{false, false, "XFCE", ""}, TypingWay::XTest},
        {{true, true, "sway", ""}, TypingWay::Wayland},
        {{true, false, "GNOME", ""}, TypingWay::IBus},
        {{true, false, "KDE", ""}, TypingWay::IBus},
        {{true, true, "sway", "xtest"}, TypingWay::XTest},
        {{true, false, "GNOME", "wayland"}, TypingWay::Wayland},
        {{false, false, "", "ibus"}, TypingWay::IBus},
        {{true, true, "sway", "nonsense"}, TypingWay::Wayland},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chooseWay(c.session), c.way) << c.session.desktop << " " << c.session.override;
}

// Without the Lumiko input source running, a GNOME session is told what to
// do; a way the user chose, or an X11 session, needs no word.
TEST(Typist, TheUserIsToldWhenNoWayReachesTheSessionsOwnPrograms) {
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/lumiko-test-bus", 1);
    ::unsetenv("DISPLAY");
    X11Input x11;
    TypingChoice gnome = chooseTypist({true, false, "GNOME", ""}, x11);
    EXPECT_STREQ(gnome.typist->name(), "ibus");
    EXPECT_NE(gnome.advice.find("Lumiko"), std::string::npos);
    std::uint64_t target = 0;
    EXPECT_FALSE(gnome.typist->focus(target));  // nothing reachable: nothing typed
    TypingChoice kde = chooseTypist({true, false, "KDE", ""}, x11);
    EXPECT_NE(kde.advice.find("KDE"), std::string::npos);
    EXPECT_NE(kde.advice, gnome.advice);

    // KWin starts Lumiko's input method: its engine is on the way.
    TypingChoice kwin = chooseTypist({true, false, "KDE", "", true}, x11);
    EXPECT_STREQ(kwin.typist->name(), "ibus");
    EXPECT_TRUE(kwin.advice.empty());

    TypingChoice chosen = chooseTypist({true, false, "GNOME", "xtest"}, x11);
    EXPECT_STREQ(chosen.typist->name(), "xtest");
    EXPECT_TRUE(chosen.advice.empty());
    TypingChoice x = chooseTypist({false, false, "XFCE", ""}, x11);
    EXPECT_TRUE(x.advice.empty());
}

// System Settings writes the chosen virtual keyboard's desktop entry, by
// path, into kwinrc.
TEST(Typist, KwinrcNamesLumikosInputMethodOnlyInItsWaylandGroup) {
    struct Case {
        const char* kwinrc;
        bool names;
    } cases[] = {
        {"[Wayland]\nInputMethod[$e]=/usr/share/applications/org.lumiko.Lumiko.KWinInput.desktop\n", true},
        {"[Xwayland]\nScale=1\n\n[Wayland]\r\nInputMethod = /usr/local/share/applications/org.lumiko.Lumiko.KWinInput.desktop\r\n", true},
        {"[Wayland]\nInputMethod=org.lumiko.Lumiko.KWinInput.desktop\n", true},
        {"[Wayland]\nInputMethod=/usr/share/applications/com.github.maliit.keyboard.desktop\n", false},
        {"[Wayland]\nInputMethod=/usr/share/applications/xorg.lumiko.Lumiko.KWinInput.desktop\n", false},
        {"[Wayland]\nInputMethod=/usr/share/applications/org.lumiko.Lumiko.KWinInput.desktop\nInputMethod=\n", false},
        {"[Compositing]\nInputMethod=/usr/share/applications/org.lumiko.Lumiko.KWinInput.desktop\n", false},
        {"[Wayland]\nVirtualKeyboardEnabled=true\n", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(kwinrcNamesLumiko(c.kwinrc), c.names) << c.kwinrc;
}

TEST(Typist, ATextIsCutIntoRunsThatEachFitOneKeymap) {
    struct Case {
        std::u32string text;
        std::size_t max;
        std::vector<std::u32string> texts, chars;
    };
    const Case cases[] = {
        {U"中国中国人", 8, {U"中国中国人"}, {U"中国人"}},
        {U"abcab", 2, {U"ab", U"ca", U"b"}, {U"ab", U"ca", U"b"}},
        {U"aaaa", 1, {U"aaaa"}, {U"a"}},
        {U"", 4, {}, {}},
    };
    for (const Case& c : cases) {
        const auto runs = splitRuns(c.text, c.max);
        ASSERT_EQ(runs.size(), c.texts.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].text, c.texts[i]);
            EXPECT_EQ(runs[i].chars, c.chars[i]);
        }
    }
    // The longest run the keymap holds.
    std::u32string many;
    for (char32_t cp = 0x4E00; cp < 0x4E00 + 400; ++cp) many.push_back(cp);
    const auto runs = splitRuns(many);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].chars.size(), keys::kMaxChars);
}

TEST(Typist, Utf8IsReadIntoCodePointsSkippingBrokenBytes) {
    EXPECT_EQ(codePoints("a中\xFF文\xF0\x9F\x98\x80"), U"a中文\U0001F600");
    EXPECT_EQ(codePoints("\xE4\xB8"), U"");  // a character cut off
}

// The keymap compiles as a compositor compiles it, and each character's key
// types that character; the editing keys are where the keyboard has them.
TEST(Typist, TheKeymapTypesEveryCharacterOnItsOwnKey) {
    const std::u32string chars = U"中,A \U00020087\n";
    xkb_context* ctx = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    ASSERT_NE(ctx, nullptr);
    const std::string text = keymapText(chars);
    xkb_keymap* map = xkb_keymap_new_from_string(ctx, text.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                 XKB_KEYMAP_COMPILE_NO_FLAGS);
    ASSERT_NE(map, nullptr) << text;
    xkb_state* state = xkb_state_new(map);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const xkb_keycode_t key = static_cast<xkb_keycode_t>(keys::kFirstChar + i + 8);
        if (chars[i] == U'\n') EXPECT_EQ(xkb_state_key_get_one_sym(state, key), XKB_KEY_Return);
        else EXPECT_EQ(xkb_state_key_get_utf32(state, key), chars[i]) << i;
    }
    const std::pair<std::uint32_t, xkb_keysym_t> editing[] = {
        {keys::kBackspace, XKB_KEY_BackSpace}, {keys::kEnter, XKB_KEY_Return}, {keys::kSpace, XKB_KEY_space},
        {keys::kCtrl, XKB_KEY_Control_L},      {keys::kV, XKB_KEY_v},
    };
    for (const auto& [key, sym] : editing) EXPECT_EQ(xkb_state_key_get_one_sym(state, key + 8), sym);
    // Control is held by its key, and the modifier mask the virtual
    // keyboard sends for Ctrl+V is Control's.
    xkb_state_update_key(state, keys::kCtrl + 8, XKB_KEY_DOWN);
    EXPECT_EQ(xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED), kControlMask);
    xkb_state_unref(state);
    xkb_keymap_unref(map);
    xkb_context_unref(ctx);
}

}  // namespace
}  // namespace lumiko::desktop
