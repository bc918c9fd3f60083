#include "simulator.h"

#include <charconv>
#include <exception>
#include <functional>
#include <map>

#include "json.h"
#include "platform/look.h"
#include "platform/posix/encoding.h"

namespace lumiko::sim {

namespace {

using posix::utf8ToGbk;

[[noreturn]] void fail(std::string what) { throw Simulator::Error{std::move(what)}; }

// Appended piece by piece: GCC 12 at -O3 misreads "'" + std::string(s) as an
// overlapping copy.
std::string quoted(std::string_view s) {
    std::string q;
    q.reserve(s.size() + 2);
    q += '\'';
    q += s;
    q += '\'';
    return q;
}

std::vector<std::string_view> splitWords(std::string_view s) {
    std::vector<std::string_view> words;
    for (;;) {
        const size_t sp = s.find(' ');
        words.push_back(s.substr(0, sp));
        if (sp == std::string_view::npos) break;
        s.remove_prefix(sp + 1);
    }
    for (const auto w : words)
        if (w.empty()) fail("malformed line: words must be separated by exactly one space");
    return words;
}

long long toNumber(std::string_view s, long long lo, long long hi, std::string_view what) {
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi)
        fail("malformed " + std::string(what) + " " + quoted(s) + " (expected a whole number from " +
             std::to_string(lo) + " to " + std::to_string(hi) + ")");
    return v;
}

int coordinate(std::string_view s) { return static_cast<int>(toNumber(s, -1000000, 1000000, "coordinate")); }

void expectWords(const std::vector<std::string_view>& w, size_t lo, size_t hi, std::string_view usage) {
    if (w.size() < lo || w.size() > hi) fail("malformed line (usage: " + std::string(usage) + ")");
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The line up to (not including) the space after its first `words` words.
std::string_view leadingWords(std::string_view line, size_t words) {
    size_t end = 0;
    for (size_t i = 0; i < words; ++i) {
        end = line.find(' ', i == 0 ? 0 : end + 1);
        if (end == std::string_view::npos) return line;
    }
    return line.substr(0, end);
}

// The rest of the line after its first `words` words.
std::string_view restAfter(std::string_view line, size_t words) {
    for (size_t i = 0; i < words; ++i) {
        const size_t sp = line.find(' ');
        if (sp == std::string_view::npos) return {};
        line.remove_prefix(sp + 1);
    }
    return line;
}

std::string jsonTexts(const std::vector<Text>& texts) {
    std::vector<std::string> members;
    members.reserve(texts.size());
    for (const auto& t : texts) members.push_back(jsonGbk(t));
    return jsonArray(members);
}

template <typename Ints>
std::string jsonInts(const Ints& ints) {
    std::vector<std::string> members;
    for (const int v : ints) members.push_back(std::to_string(v));
    return jsonArray(members);
}

const char* keyName(Key k) {
    switch (k) {
    case Key::Backspace: return "Backspace";
    case Key::Space: return "Space";
    case Key::Enter: return "Enter";
    case Key::CtrlV: return "Ctrl+V";
    }
    return "?";
}

// The stored pages of a list as the panel draws them.
std::vector<Text> pageCaptions(const PagedList& list, Text (*caption)(const CandidateList&)) {
    std::vector<Text> texts;
    for (const CandidateList& page : list.history) texts.push_back(caption(page));
    return texts;
}

std::string globalValue(const Globals& g, std::string_view name) {
    using Get = std::function<std::string(const Globals&)>;
    static const std::map<std::string_view, Get> globals = {
        {"picksSinceStroke", [](const Globals& x) { return std::to_string(x.picksSinceStroke); }},
        {"commitsInRow", [](const Globals& x) { return std::to_string(x.commitsInRow); }},
        {"searchCode", [](const Globals& x) { return jsonGbk(x.searchCode); }},
        {"searchTable", [](const Globals& x) { return jsonGbk(x.searchTable); }},
        {"associationTable", [](const Globals& x) { return jsonGbk(x.associationTable); }},
        {"pageIndex", [](const Globals& x) { return std::to_string(x.gridList.pageIndex); }},
        {"pageTexts", [](const Globals& x) { return jsonTexts(pageCaptions(x.gridList, look::gridCaption)); }},
        {"searchPos", [](const Globals& x) { return std::to_string(x.gridList.searchPos); }},
        {"singleDigitState", [](const Globals& x) { return std::to_string(x.singleDigitState); }},
        {"firstCandidate", [](const Globals& x) { return jsonGbk(x.firstCandidate); }},
        {"wordEdges", [](const Globals& x) { return jsonInts(x.wordEdges); }},
        {"blankPositions", [](const Globals& x) { return jsonInts(x.blankPositions); }},
        {"codeActive", [](const Globals& x) { return std::to_string(x.codeActive); }},
        {"pickedText", [](const Globals& x) { return jsonGbk(x.pickedText); }},
        {"lookupTable", [](const Globals& x) { return jsonGbk(x.lookupTable); }},
        {"strokeTable", [](const Globals& x) { return jsonGbk(x.strokeTable); }},
        {"extraStrokeTable", [](const Globals& x) { return jsonGbk(x.extraStrokeTable); }},
        {"fourCornerTable", [](const Globals& x) { return jsonGbk(x.fourCornerTable); }},
        {"dictionaryText", [](const Globals& x) { return jsonGbk(x.dictionaryText); }},
        {"dictionaryName", [](const Globals& x) { return jsonGbk(x.dictionaryName); }},
        {"hintPageIndex", [](const Globals& x) { return std::to_string(x.stripList.pageIndex); }},
        {"hintPages", [](const Globals& x) { return jsonTexts(pageCaptions(x.stripList, look::stripPageCaption)); }},
        {"hintSearchPos", [](const Globals& x) { return std::to_string(x.stripList.searchPos); }},
        {"hintTable", [](const Globals& x) { return jsonGbk(x.hintTable); }},
        {"padOpenPending", [](const Globals& x) { return std::to_string(x.padOpenPending); }},
        {"pendingListText", [](const Globals& x) { return jsonGbk(x.pendingListText); }},
        {"pendingHandwriting", [](const Globals& x) { return jsonGbk(x.pendingHandwriting); }},
    };
    const auto it = globals.find(name);
    if (it == globals.end()) fail("unknown global " + quoted(name));
    return it->second(g);
}

bool validDate(int y, int m, int d) {
    static constexpr int days[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1 || d > days[m - 1]) return false;
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return !(m == 2 && d == 29 && !leap);
}

}  // namespace

bool Simulator::ended() const { return app_.exited || desk_.quitCalled; }

namespace {

// A control of the panel, or of the settings window for "settings/NAME".
Control& findControl(App& app, std::string_view name) {
    constexpr std::string_view prefix = "settings/";
    if (name.substr(0, prefix.size()) == prefix) {
        if (!app.settings) fail("the dictionary settings window is not open (" + quoted(name) + ")");
        if (Control* c = app.settings->find(utf8ToGbk(name.substr(prefix.size())))) return *c;
        fail("unknown control " + quoted(name));
    }
    if (Control* c = app.form.find(utf8ToGbk(name))) return *c;
    fail("unknown control " + quoted(name));
}

std::string property(App& app, std::string_view name, std::string_view prop) {
    if (prop == "checked") {
        const MenuItem* item = app.form.findMenuItem(utf8ToGbk(name));
        if (!item || !item->submenu.empty()) fail("unknown menu item " + quoted(name));
        return jsonBool(item->checked);
    }
    const Control& c = findControl(app, name);
    if (prop == "left") return std::to_string(c.left);
    if (prop == "top") return std::to_string(c.top);
    if (prop == "width") return std::to_string(c.width);
    if (prop == "height") return std::to_string(c.height);
    if (prop == "visible") return jsonBool(c.visible);
    if (prop == "enabled") return jsonBool(c.enabled);
    if (prop == "fontsize") return std::to_string(c.fontSize);
    if (prop == "color") return std::to_string(c.color);
    if (prop == "pointer") return jsonString(c.pointer == Pointer::Hand ? "hand" : "default");
    if (prop == "picture") return jsonString(c.picture ? c.picture->name : std::string());
    fail("unknown property " + quoted(prop));
}

std::string hexOf(std::string_view bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

std::pair<int, int> cellOf(std::string_view r, std::string_view c) {
    return {static_cast<int>(toNumber(r, 0, Control::kGridRows - 1, "row")),
            static_cast<int>(toNumber(c, 0, Control::kGridCols - 1, "column"))};
}

}  // namespace

namespace {

// One command line, split into words, with what its handler works on.
struct Command {
    App& app;
    FakeServices& desk;
    std::string_view line;
    std::vector<std::string_view> w;
    const Simulator& sim;
    bool live;  // the panel still runs: events reach it
    std::ostream& out;
};

void showQuery(Command& c) {
    expectWords(c.w, 2, 4, "show NAME | show NAME.PROP | show global NAME | show cell R C | show list NAME | show typed|keys|clipboard|messages|opened|panel|tray|exited");
    App& app = c.app;
    FakeServices& desk = c.desk;
    std::ostream& out = c.out;
    const std::string_view what = c.w[1];
    if (what == "global") {
        expectWords(c.w, 3, 3, "show global NAME");
        out << globalValue(app.g, c.w[2]) << '\n';
        return;
    }
    if (what == "cell") {
        expectWords(c.w, 4, 4, "show cell R C");
        const auto [r, col] = cellOf(c.w[2], c.w[3]);
        out << jsonGbk(app.form.表格1.cells[static_cast<size_t>(r)][static_cast<size_t>(col)]) << '\n';
        return;
    }
    if (what == "list") {
        expectWords(c.w, 3, 3, "show list NAME");
        const Control& list = findControl(app, c.w[2]);
        if (list.kind != ControlKind::ListBox) fail(quoted(c.w[2]) + " is not a list box");
        out << jsonTexts(list.items) << '\n';
        return;
    }
    expectWords(c.w, 2, 2, "show NAME");
    using Query = std::function<std::string()>;
    const std::map<std::string_view, Query> records = {
        {"typed", [&] { return jsonGbk(desk.typedBytes()); }},
        {"keys",
         [&] {
             std::vector<std::string> keys;
             for (const Key k : desk.keys) keys.push_back(jsonString(keyName(k)));
             return jsonArray(keys);
         }},
        {"clipboard", [&] { return jsonGbk(desk.clipboard); }},
        {"messages",
         [&] {
             std::vector<std::string> boxes;
             for (const auto& m : desk.messages)
                 boxes.push_back(jsonObject({{"title", jsonGbk(m.title)},
                                             {"text", jsonGbk(m.text)},
                                             {"buttons", jsonString(m.buttons == Buttons::Ok ? "ok" : "yesno")}}));
             return jsonArray(boxes);
         }},
        {"opened", [&] { return jsonTexts(desk.opened); }},
        {"panel",
         [&] {
             const PanelForm& f = app.form;
             return jsonObject({{"visible", jsonBool(f.visible)},
                                {"minimized", jsonBool(f.minimized)},
                                {"left", std::to_string(f.left)},
                                {"top", std::to_string(f.top)},
                                {"width", std::to_string(f.width)},
                                {"height", std::to_string(f.height)}});
         }},
        {"tray", [&] { return jsonObject({{"visible", jsonBool(desk.trayVisible)}, {"tip", jsonGbk(desk.trayTip)}}); }},
        {"exited", [&] { return jsonBool(c.sim.ended()); }},
    };
    if (const auto it = records.find(what); it != records.end()) out << it->second() << '\n';
    else if (const size_t dot = what.find('.'); dot != std::string_view::npos)
        out << property(app, what.substr(0, dot), what.substr(dot + 1)) << '\n';
    else out << jsonGbk(findControl(app, what).text()) << '\n';
}

void hexQuery(Command& c) {
    expectWords(c.w, 2, 2, "hex NAME");
    c.out << hexOf(findControl(c.app, c.w[1]).text()) << '\n';
}

void clickEvent(Command& c, bool right) {
    expectWords(c.w, 2, 4, right ? "rclick NAME [X Y]" : "click NAME [X Y]");
    if (c.w.size() == 3) fail("malformed line: give both X and Y or neither");
    Control& target = findControl(c.app, c.w[1]);
    const int x = c.w.size() == 4 ? coordinate(c.w[2]) : target.width / 2;
    const int y = c.w.size() == 4 ? coordinate(c.w[3]) : target.height / 2;
    if (!c.live || !target.enabled) return;
    if (!right) {
        if (target.onLeftUp) target.onLeftUp(x, y);
        if (target.onClick) target.onClick();
    } else if (target.onRightUp) {
        target.onRightUp(x, y);
    }
}

void doubleClickEvent(Command& c) {
    expectWords(c.w, 2, 2, "dblclick NAME");
    Control& target = findControl(c.app, c.w[1]);
    if (c.live && target.enabled && target.onDoubleClick) target.onDoubleClick();
}

void moveEvent(Command& c) {
    expectWords(c.w, 4, 4, "move NAME X Y");
    Control& target = findControl(c.app, c.w[1]);
    const int x = coordinate(c.w[2]), y = coordinate(c.w[3]);
    if (c.live && target.enabled && target.onMouseMove) target.onMouseMove(x, y);
}

void selectEvent(Command& c) {
    expectWords(c.w, 3, 3, "select NAME INDEX");
    Control& list = findControl(c.app, c.w[1]);
    if (list.kind != ControlKind::ListBox) fail(quoted(c.w[1]) + " is not a list box");
    const long long index = toNumber(c.w[2], 0, 1000000000, "index");
    if (index >= static_cast<long long>(list.items.size()))
        fail("list box " + quoted(c.w[1]) + " has no line " + std::to_string(index));
    if (!c.live || !list.enabled) return;
    list.selected = static_cast<int>(index);
    if (list.onSelect) list.onSelect();
}

void typeEvent(Command& c) {
    expectWords(c.w, 2, 2, "type NAME TEXT");
    Control& box = findControl(c.app, c.w[1]);
    if (box.kind != ControlKind::EditBox) fail(quoted(c.w[1]) + " is not an edit box");
    if (c.live && box.enabled) box.setText(utf8ToGbk(restAfter(c.line, 2)));
}

void cellEvent(Command& c) {
    expectWords(c.w, 3, 3, "cell R C");
    const auto [r, col] = cellOf(c.w[1], c.w[2]);
    Control& grid = c.app.form.表格1;
    if (!c.live || !grid.enabled) return;
    grid.currentRow = r;
    grid.currentCol = col;
    const int cw = grid.width / Control::kGridCols, ch = grid.height / Control::kGridRows;
    if (grid.onLeftUp) grid.onLeftUp(col * cw + cw / 2, r * ch + ch / 2);
}

void menuEvent(Command& c) {
    expectWords(c.w, 2, 2, "menu ITEM");
    const Text item = utf8ToGbk(c.w[1]);
    const MenuItem* m = c.app.form.findMenuItem(item);
    if (!m || !m->submenu.empty()) fail("unknown menu item " + quoted(c.w[1]));
    if (c.live) c.app.chooseMenu(item);
}

void trayEvent(Command& c) {
    expectWords(c.w, 2, 2, "tray left|right");
    if (c.w[1] != "left" && c.w[1] != "right") fail("unknown tray click " + quoted(c.w[1]) + " (left or right)");
    if (!c.live) return;
    if (c.w[1] == "left") c.app.trayLeftClick();
    else c.app.trayRightClick();
}

void closeEvent(Command& c) {
    expectWords(c.w, 1, 1, "close");
    if (c.live) c.app.closeRequest();
}

void tickEvent(Command& c) {
    expectWords(c.w, 1, 2, "tick [N]");
    const long long n = c.w.size() == 2 ? toNumber(c.w[1], 0, 1000000, "tick count") : 1;
    for (long long i = 0; i < n && !c.sim.ended(); ++i) c.app.tick();
}

void setClock(FakeServices& desk, std::string_view value) {
    // YYYY-MM-DD HH:MM:SS
    const auto bad = [&] { fail("malformed clock " + quoted(value) + " (YYYY-MM-DD HH:MM:SS)"); };
    if (value.size() != 19 || value[4] != '-' || value[7] != '-' || value[10] != ' ' || value[13] != ':' ||
        value[16] != ':')
        bad();
    const auto part = [&](size_t at, size_t len) {
        const std::string_view p = value.substr(at, len);
        for (const char ch : p)
            if (ch < '0' || ch > '9') bad();
        return static_cast<int>(toNumber(p, 0, 9999, "clock field"));
    };
    const int y = part(0, 4), mo = part(5, 2), d = part(8, 2);
    const int h = part(11, 2), mi = part(14, 2), s = part(17, 2);
    if (y < 1 || !validDate(y, mo, d) || h > 23 || mi > 59 || s > 59) bad();
    desk.setClock(y, mo, d, h, mi, s);
}

void setFocus(FakeServices& desk, std::string_view value) {
    if (value == "none") {
        desk.focusKnown = false;
        return;
    }
    std::uint64_t handle = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), handle);
    if (value.empty() || ec != std::errc() || end != value.data() + value.size())
        fail("malformed window handle " + quoted(value) + " (a number or none)");
    desk.focusKnown = true;
    desk.focus = handle;
}

void setPage(FakeServices& desk, std::string_view text, std::string_view value) {
    if (value == "none") {
        desk.documentReachable = false;
    } else if (value == "kw" || text.substr(0, 3) == "kw ") {
        desk.documentReachable = true;
        desk.document.field->setValue(utf8ToGbk(restAfter(text, 1)));
    } else {
        fail("malformed line (usage: set page kw TEXT | set page none)");
    }
}

void setEnvironment(Command& c) {
    expectWords(c.w, 2, 2, "set WHAT VALUE");
    FakeServices& desk = c.desk;
    const std::string_view what = c.w[1];
    const std::string_view text = restAfter(c.line, 2);  // for page and http
    const std::string_view value = trimBlanks(text);
    if (what == "network") {
        if (value != "0" && value != "1") fail("malformed network state " + quoted(value) + " (0 or 1)");
        desk.network = value == "1" ? 1 : 0;
    } else if (what == "clock") {
        setClock(desk, value);
    } else if (what == "focus") {
        setFocus(desk, value);
    } else if (what == "page") {
        setPage(desk, text, value);
    } else if (what == "http") {
        desk.httpOk = value != "fail";
        desk.httpBody = desk.httpOk ? utf8ToGbk(text) : std::string();
    } else if (what == "answer") {
        if (value != "yes" && value != "no") fail("malformed answer " + quoted(value) + " (yes or no)");
        desk.answerYes = value == "yes";
    } else {
        fail("unknown setting " + quoted(what));
    }
}

// Every command: its handler, and whether its last argument is a text that
// runs to the end of the line, blanks included.
struct CommandEntry {
    void (*run)(Command&);
    bool takesText = false;
};

const std::map<std::string_view, CommandEntry>& commandTable() {
    static const std::map<std::string_view, CommandEntry> table = {
        {"show", {showQuery}},
        {"hex", {hexQuery}},
        {"click", {[](Command& c) { clickEvent(c, false); }}},
        {"rclick", {[](Command& c) { clickEvent(c, true); }}},
        {"dblclick", {doubleClickEvent}},
        {"move", {moveEvent}},
        {"select", {selectEvent}},
        {"type", {typeEvent, true}},
        {"cell", {cellEvent}},
        {"menu", {menuEvent}},
        {"tray", {trayEvent}},
        {"close", {closeEvent}},
        {"tick", {tickEvent}},
        {"set", {setEnvironment, true}},
    };
    return table;
}

}  // namespace

void Simulator::execute(std::string_view line, std::ostream& out) {
    const std::string_view cmd = line.substr(0, line.find(' '));
    const auto& table = commandTable();
    const auto it = table.find(cmd);
    // TEXT arguments are the rest of the line, blanks included; elsewhere
    // trailing blanks are tolerated.
    const bool takesText = it != table.end() && it->second.takesText;
    auto w = splitWords(takesText ? leadingWords(line, 2) : trimBlanks(line));
    if (it == table.end()) fail("unknown command " + quoted(cmd));
    Command c{app_, desk_, line, std::move(w), *this, !ended(), out};
    it->second.run(c);
}

int Simulator::run(std::istream& in, std::ostream& out, std::ostream& err) {
    std::string line;
    for (long lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line.front() == '#') continue;
        try {
            execute(line, out);
        } catch (const Error& e) {
            out.flush();
            err << "line " << lineNo << ": " << e.what << '\n';
            return 2;
        } catch (const std::exception& e) {
            out.flush();
            err << "line " << lineNo << ": internal error: " << e.what() << '\n';
            return 3;
        }
        out.flush();
    }
    return 0;
}

}  // namespace lumiko::sim
