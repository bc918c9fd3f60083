#include "platform/qt/typing/keymap.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>

#include "platform/qt/charcompose.h"
#include "platform/qt/x11input.h"

namespace lumiko::desktop {

namespace {
std::string keysymName(char32_t cp) {
    const unsigned long sym = keysymFor(cp);
    if (sym == 0) return {};
    char name[64];
    if (xkb_keysym_get_name(static_cast<xkb_keysym_t>(sym), name, sizeof name) <= 0) return {};
    return name;
}

std::string keyName(std::uint32_t key) { return "I" + std::to_string(key + 8); }
}  // namespace

std::string keymapText(const std::u32string& chars) {
    std::string codes, symbols;
    for (std::size_t i = 0; i < chars.size() && i < keys::kMaxChars; ++i) {
        const std::string sym = keysymName(chars[i]);
        if (sym.empty()) continue;
        const auto key = static_cast<std::uint32_t>(keys::kFirstChar + i);
        codes += "  <" + keyName(key) + "> = " + std::to_string(key + 8) + ";\n";
        symbols += "  key <" + keyName(key) + "> { [ " + sym + " ] };\n";
    }
    return "xkb_keymap {\n"
           "xkb_keycodes \"lumiko\" {\n"
           "  minimum = 8;\n  maximum = 255;\n"
           "  <BKSP> = 22;\n  <RTRN> = 36;\n  <LCTL> = 37;\n  <AB04> = 55;\n  <SPCE> = 65;\n" +
           codes +
           "};\n"
           "xkb_types \"lumiko\" { include \"complete\" };\n"
           "xkb_compatibility \"lumiko\" { include \"complete\" };\n"
           "xkb_symbols \"lumiko\" {\n"
           "  key <BKSP> { [ BackSpace ] };\n  key <RTRN> { [ Return ] };\n"
           "  key <LCTL> { [ Control_L ] };\n  key <AB04> { [ v, V ] };\n  key <SPCE> { [ space ] };\n"
           "  modifier_map Control { <LCTL> };\n" +
           symbols + "};\n};\n";
}

std::vector<Run> splitRuns(const std::u32string& text, std::size_t maxChars) {
    std::vector<Run> runs;
    for (const char32_t cp : text) {
        if (runs.empty()) runs.emplace_back();
        Run* run = &runs.back();
        if (run->chars.find(cp) == std::u32string::npos) {
            if (run->chars.size() == maxChars) run = &runs.emplace_back();
            run->chars.push_back(cp);
        }
        run->text.push_back(cp);
    }
    return runs;
}

std::u32string codePoints(const std::string& utf8) {
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = firstCodePoint(utf8.substr(i, 4));
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        const std::size_t len = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
        if (cp == 0 && b0 != 0) {
            ++i;
            continue;
        }
        out.push_back(cp);
        i += len;
    }
    return out;
}

}  // namespace lumiko::desktop
