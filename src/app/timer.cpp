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
// followed by one blank, in table order. Lines end at '\r' or '\n'. The
// subject is compared byte for byte, never read as a pattern, so no byte of
// a GBK character can change what matches. Rather than walking every line,
// it looks for the blank and the subject and checks the line around them.
template <typename Pred>
void appendCodes(std::string_view table, std::string_view subject, Pred isCodeChar, Text& out) {
    if (subject.find_first_of("\r\n") != std::string_view::npos) return;
    // Built by appending: GCC 12 at -O3 misreads " " + text as an
    // overlapping copy and stops the build.
    Text needle(1, ' ');
    needle.append(subject);
    for (int at = findText(table, needle); at != -1; at = findText(table, needle, at + 1)) {
        const size_t blank = static_cast<size_t>(at - 1);
        const size_t end = blank + needle.size();
        if (end < table.size() && table[end] != '\r' && table[end] != '\n') continue;
        size_t start = blank;
        while (start > 0 && blank - start <= 20 && isCodeChar(table[start - 1])) --start;
        const size_t length = blank - start;
        if (length == 0 || length > 20) continue;
        if (start > 0 && table[start - 1] != '\r' && table[start - 1] != '\n') continue;
        out.append(table.substr(start, length));
        out.push_back(' ');
    }
}

}  // namespace

bool App::tickMayCommit() const {
    return !g.pendingHandwriting.empty() || !g.pendingListText.empty() || g.padOpenPending != 0;
}

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
        webPage.attach();
        g.pendingHandwriting = webPage.value("kw");
        webPage.setValue("kw", "");
    } else {
        commitText(removeSpaces(g.pendingHandwriting));
        form.编辑框.setText(g.pendingHandwriting);
        refreshInfoStrip();
        g.pendingHandwriting.clear();
    }

    // The pad is opened at the first tick only, and only with a network.
    if (g.padOpenPending == 1) {
        if (svc_.networkState() == 1) webPage.clickLinkTo(kPadLink);
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
