// The timer tick (focus tracking, handwriting hand-over, the one-time pad
// opening, the queued date line) and the information strip.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/app.h"
#include "web/handwriting.h"

namespace lumiko {

namespace {

// The codes of every line of `table` that is 1 to 20 code characters, one
// blank and exactly `subject`, each followed by one blank, in table order.
// Lines end at '\r' or '\n', so a subject holding one matches nothing. The
// subject is compared byte for byte, never read as a pattern. The table's
// reverse index answers at once, however often a line repeats.
std::string_view codesOf(const SharedText& table, const Text& subject, CodeChars chars, Text& scratch) {
    if (subject.find_first_of("\r\n") != Text::npos) return {};
    return table.codesOf(subject, chars, scratch);
}

}  // namespace

bool App::tickMayCommit() const {
    return !g.pendingHandwriting.empty() || !g.pendingListText.empty() ||
           (g.padOpenPending != 0 && svc_.browserReady());
}

void App::tick() {
    if (!indexesPrepared_) prepareIndexes();
    if (learning_.unsaved()) saveLearning(false);

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
        // Cleared like any text read, so that it is not read again.
        if (!handwriting::typable(g.pendingHandwriting)) {
            svc_.log(handwriting::refusalNote(g.pendingHandwriting));
            g.pendingHandwriting.clear();
        }
    } else {
        commitText(removeSpaces(g.pendingHandwriting));
        form.编辑框.setText(g.pendingHandwriting);
        refreshInfoStrip();
        g.pendingHandwriting.clear();
    }

    // The pad is opened at the first tick that finds the page there (the
    // browser view may be made only when the page is first shown), and only
    // with a network; it is not tried again.
    if (g.padOpenPending == 1 && svc_.browserReady()) {
        if (svc_.networkState() == 1) webPage.clickLinkTo(handwriting::kPadLink);
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
    Text codesScratch, entriesScratch;
    const std::string_view codes = codesOf(g.lookupTable, bare, CodeChars::Digits, codesScratch);
    const std::string_view entries = codesOf(g.dictionaryText, bare, CodeChars::Letters, entriesScratch);

    // Appended piece by piece: the code lists can be long.
    Text strip;
    strip.reserve(codes.size() + entries.size() + 2 * bare.size() + readings.size() + subject.size() +
                  g.dictionaryName.size() + 64);
    for (std::string_view piece : {std::string_view("       拼音: [ "), std::string_view(readings),
                                   std::string_view(subject), std::string_view(" ]    反查: [  "),
                                   std::string_view(codes), std::string_view("  "), std::string_view(bare),
                                   std::string_view("  ]\r\n       "), std::string_view(g.dictionaryName),
                                   std::string_view("字典: [  "), std::string_view(entries),
                                   std::string_view("  "), std::string_view(bare), std::string_view("  ]")})
        strip.append(piece);
    form.编辑框1.setText(std::move(strip));
}

}  // namespace lumiko
