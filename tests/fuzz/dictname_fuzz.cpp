// The dictionary choice over any 字典.txt, any listing of 词库\字典 and any
// selection or typed name: start-up reads only the tables and a file inside
// the dictionary folder, keeps that file's bytes as the dictionary, and a name
// saved from the settings window's list loads that same file at the next
// start.
#include <cstdlib>
#include <iostream>

#include "app/app.h"
#include "support/fuzz_input.h"
#include "support/memory_services.h"

namespace {

using lumiko::Text;
using lumiko::fuzz::MemoryServices;

// Whether names are trimmed, listed, saved and loaded by one rule whatever the
// case of ".txt", and a failed save is told.
constexpr bool kOneRuleForNames = true;

const Text kFolder = "词库\\字典";
const Text kChoice = "词库\\字典.txt";

[[noreturn]] void fail(const std::string& what) {
    std::cerr << what << '\n';
    std::abort();
}

// A name the panel takes as a dictionary's: not "." or "..", whole GBK text
// (ASCII, or a lead byte 0x81-0xFE with a trail byte 0x40-0xFE other than
// 0x7F), and no NUL, '\\' or '/' outside the two-byte characters (a trail
// byte may be 0x5C).
bool staysInFolder(std::string_view name) {
    if (name == "." || name == "..") return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (b >= 0x81 && b <= 0xFE) {
            if (i + 1 >= name.size()) return false;
            const auto t = static_cast<unsigned char>(name[++i]);
            if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
        } else if (b >= 0x80 || b == 0 || b == '\\' || b == '/') {
            return false;
        }
    }
    return true;
}

bool endsWithTxt(const Text& name, bool anyCase) {
    if (name.size() < 4) return false;
    Text tail = name.substr(name.size() - 4);
    if (anyCase)
        for (char& c : tail)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return tail == ".txt";
}

// Starts a panel over the files and checks what it read; returns the
// dictionary it keeps.
Text startAndCheck(MemoryServices& desk) {
    desk.reads.clear();
    lumiko::App app(desk);
    app.startUp();
    Text dictionaryRead;
    bool read = false;
    for (const Text& path : desk.reads) {
        if (path == "词库\\笔画.txt" || path == "词库\\附加笔画.txt" || path == "词库\\四角号码.txt" ||
            path == "词库\\联想词.txt" || path == kChoice)
            continue;
        const Text prefix = kFolder + "\\";
        if (path.rfind(prefix, 0) != 0) fail("read outside the tables: " + path);
        const Text file = path.substr(prefix.size());
        if (!staysInFolder(file) || !endsWithTxt(file, true))
            fail("dictionary path leaves the folder: " + path);
        if (const auto it = desk.files.find(path); it != desk.files.end()) {
            dictionaryRead = it->second;
            read = true;
        }
    }
    if (!read && !app.g.dictionaryText.empty()) fail("a dictionary kept without reading one");
    if (read && app.g.dictionaryText.str() != dictionaryRead) fail("the dictionary kept differs from its file");
    return app.g.dictionaryText.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lumiko::fuzz::FuzzInput in(data, size);
    MemoryServices desk;
    const Text stored = in.section();
    if (!stored.empty() || in.next(2)) desk.files[kChoice] = stored;
    // The listing: names separated by NUL, which no file name holds.
    std::vector<Text>& names = desk.folders[kFolder];
    const std::string listing = in.section();
    std::vector<std::string_view> listed;
    for (std::string_view rest = listing; !rest.empty() && listed.size() < 8;) {
        const size_t end = rest.find('\0');
        listed.push_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    for (const std::string_view name : listed) {
        if (name.empty()) continue;
        names.emplace_back(name);
        // Each listed file holds one line naming itself, so that a load shows which one it read.
        if (in.next(4) != 0) desk.files[kFolder + "\\" + Text(name)] = "abc " + Text(name);
    }

    const Text loaded = startAndCheck(desk);
    // The stored name with line breaks and blanks around it loads the file of that name.
    const size_t from = stored.find_first_not_of(" \r\n"), to = stored.find_last_not_of(" \r\n");
    const Text trimmed = from == Text::npos ? Text() : stored.substr(from, to - from + 1);
    if (const auto it = desk.files.find(kFolder + "\\" + trimmed + ".txt");
        kOneRuleForNames && !trimmed.empty() && staysInFolder(trimmed) && it != desk.files.end() &&
        loaded != it->second)
        fail("the stored name '" + stored + "' does not load its file");

    // The settings window: a selection, maybe a name typed over it, the save.
    lumiko::App app(desk);
    app.startUp();
    app.openSettings();
    lumiko::SettingsForm& w = *app.settings;
    const auto& items = w.列表框1.items;
    for (const Text& item : items)
        if (!endsWithTxt(item, true)) fail("listed a file that is no .txt: " + item);
    if (items.empty()) return 0;
    w.列表框1.selected = static_cast<int>(in.next(static_cast<std::uint32_t>(items.size())));
    w.列表框1.onSelect();
    const Text chosen = items[static_cast<size_t>(w.列表框1.selected)];
    const bool typed = in.next(4) == 0;
    if (typed) w.编辑框1.setText(in.section());
    desk.writesFail = in.next(8) == 0;
    desk.messages.clear();
    const int attempts = desk.writeAttempts;
    w.加载.onClick();
    if (desk.writesFail) {
        const bool told = !desk.messages.empty() && desk.messages.back().text.find("字典.txt") != Text::npos;
        if (kOneRuleForNames && desk.writeAttempts != attempts && !told) fail("a failed save is not told");
        return 0;
    }
    if (typed) return 0;

    // A listed name with nothing around it loads the file that was chosen.
    const Text base = chosen.substr(0, chosen.size() - 4);
    // (a colon, a drive's mark on Windows, is refused when saved)
    const bool plain = !base.empty() && staysInFolder(base) && base.find_first_of(" \t\r\n:") == Text::npos;
    const auto file = desk.files.find(kFolder + "\\" + chosen);
    if (!plain || !(kOneRuleForNames || endsWithTxt(chosen, false)) || file == desk.files.end()) return 0;
    // 字典.txt keeps the name without its ".txt", so when the folder also holds
    // the name with ".txt" in another case (X.TXT and X.TXt), either file may
    // be the one that loads.
    const Text loadedNow = startAndCheck(desk);
    bool matches = false;
    for (const Text& item : items)
        if (item.size() == chosen.size() && item.compare(0, base.size(), base) == 0 && endsWithTxt(item, true))
            if (const auto same = desk.files.find(kFolder + "\\" + item); same != desk.files.end())
                matches = matches || loadedNow == same->second;
    if (!matches) fail("saving " + chosen + " does not load it at the next start");
    return 0;
}
