// The information strip over any tables, dictionary and subject, checked
// against a plain pass over the lines: a code is listed for every line that is
// exactly 1 to 20 code characters (digits for the mode's table, lowercase
// letters for the dictionary), one space and the subject without its blanks,
// in table order; lines end at CR or LF.
#include <cstdlib>
#include <iostream>

#include "app/app.h"
#include "support/fuzz_input.h"
#include "support/memory_services.h"

namespace {

using lumiko::Text;

template <typename Pred>
Text plainCodes(const std::string& table, const Text& bare, Pred isCodeChar) {
    Text out;
    size_t start = 0;
    while (start <= table.size()) {
        size_t end = table.find_first_of("\r\n", start);
        if (end == std::string::npos) end = table.size();
        const std::string_view line(table.data() + start, end - start);
        start = end + 1;
        const size_t space = line.find(' ');
        if (space == std::string_view::npos || space == 0 || space > 20 || line.substr(space + 1) != bare) continue;
        bool code = true;
        for (const char c : line.substr(0, space)) code = code && isCodeChar(c);
        if (code) out += Text(line.substr(0, space)) + " ";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A panel of its own for each input, so that everything it allocates is
    // released before the leak check that follows each input.
    lumiko::fuzz::MemoryServices desk;
    lumiko::App app(desk);
    app.startUp();

    lumiko::fuzz::FuzzInput in(data, size);
    const std::string stroke = in.section() + "\r\n", extra = in.section() + "\r\n";
    const std::string fourCorner = in.section() + "\r\n", dictionary = in.section();
    const Text name = in.section(), subject = in.section();
    app.g.strokeTable = stroke;
    app.g.extraStrokeTable = extra;
    app.g.fourCornerTable = fourCorner;
    app.g.dictionaryText = dictionary;
    app.g.dictionaryName = name;
    const std::string* table = &stroke;
    switch (in.next(3)) {
    case 0: app.enterStrokeMode(); break;
    case 1:
        app.enterExtraStrokeMode();
        table = &extra;
        break;
    default:
        app.enterFourCornerMode();
        table = &fourCorner;
    }
    app.form.编辑框.setText(subject);  // refreshes the strip

    const Text bare = lumiko::removeSpaces(subject);
    Text readings;
    for (const Text& r : desk.pinyinReadings(subject)) readings += r + "  ";
    const Text codes = plainCodes(*table, bare, [](char c) { return c >= '0' && c <= '9'; });
    const Text entries = plainCodes(dictionary, bare, [](char c) { return c >= 'a' && c <= 'z'; });
    const Text want = "       拼音: [ " + readings + subject + " ]    " + "反查: [  " + codes + "  " + bare +
                      "  ]\r\n" + "       " + name + "字典: [  " + entries + "  " + bare + "  ]";
    if (app.form.编辑框1.text() != want) {
        std::cerr << "strip differs:\n" << app.form.编辑框1.text() << "\nplain:\n" << want << "\n";
        std::abort();
    }
    return 0;
}
