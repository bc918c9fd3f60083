// The timer tick (focus tracking, handwriting hand-over, the one-time pad
// opening, the queued date line) and the information strip.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/app.h"

namespace lumiko {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

// Appends the code of every line of `table` that is 1 to 20 characters
// accepted by `isCodeChar`, one blank and exactly `subject`, each code
// followed by one blank. Lines end at '\r' or '\n'. The subject is compared
// byte for byte, never read as a pattern, so no byte of a GBK character can
// change what matches.
template <typename Pred>
void appendCodes(std::string_view table, std::string_view subject, Pred isCodeChar, Text& out) {
    size_t pos = 0;
    while (pos < table.size()) {
        size_t end = table.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = table.size();
        const std::string_view line = table.substr(pos, end - pos);
        pos = end + 1;

        size_t n = 0;
        while (n < line.size() && n <= 20 && isCodeChar(line[n])) ++n;
        if (n == 0 || n > 20 || n >= line.size() || line[n] != ' ') continue;
        if (line.substr(n + 1) != subject) continue;
        out.append(line.substr(0, n));
        out.push_back(' ');
    }
}

}  // namespace

void App::tick() {
    // Focus tracking, only while the panel is shown: hidden, the panel keeps
    // the window it saw last.
    if (form.visible) {
        std::uint64_t handle = 0;
        form.底盘标签.setText(svc_.focusedWindow(handle) ? std::to_string(handle) : Text());
    }

    // Handwriting: one tick reads and clears the page's field, the next
    // commits what was read.
    if (g.pendingHandwriting.empty()) {
        webPage.attach(nullptr, 0, 0, 1);
        g.pendingHandwriting = webPage.getValue("kw", WebPage::ByName);
        webPage.setValue("kw", WebPage::ByName, "");
    } else {
        commitText(removeSpaces(g.pendingHandwriting));
        form.编辑框.setText(g.pendingHandwriting);
        refreshInfoStrip();
        g.pendingHandwriting.clear();
    }

    // The pad is opened at the first tick only, and only with a network.
    if (g.padOpenPending == 1) {
        if (svc_.networkState() == 1) webPage.clickLink("javascript:void(0)", WebPage::ByAddress, 0);
        g.padOpenPending = 0;
    }

    // A date line chosen since the last tick.
    if (!g.pendingListText.empty()) {
        commitText(removeSpaces(g.pendingListText));
        g.pendingListText.clear();
    }
}

void App::refreshInfoStrip() {
    const Text subject = form.编辑框.text();
    const Text bare = removeSpaces(subject);

    Text readings;
    for (const auto& reading : svc_.pinyinReadings(subject)) readings += reading + "  ";

    switch (mode()) {
    case Mode::Stroke: g.lookupTable = g.strokeTable; break;
    case Mode::ExtraStroke: g.lookupTable = g.extraStrokeTable; break;
    case Mode::FourCorner: g.lookupTable = g.fourCornerTable; break;
    }
    Text codes;
    appendCodes(g.lookupTable, bare, isDigit, codes);
    Text entries;
    appendCodes(g.dictionaryText, bare, isLowerLetter, entries);

    Text strip = "       拼音: [ " + readings + subject + " ]    ";
    strip += "反查: [  " + codes + "  " + bare + "  ]\r\n";
    strip += "       " + g.dictionaryName + "字典: [  " + entries + "  " + bare + "  ]";
    form.编辑框1.setText(std::move(strip));
}

}  // namespace lumiko
