// The date page of the palette, the choice of a date line, and the text of
// a palette cell.
#include <string>

#include "palette/palette.h"

namespace lumiko::palette {

namespace {

Text weekdayName(int weekday) {
    // 1 = Sunday … 7 = Saturday.
    static constexpr const char* kNumerals[] = {"一", "二", "三", "四", "五", "六"};
    if (weekday >= 2 && weekday <= 7) return Text("星期") + kNumerals[weekday - 2];
    return "星期日";
}

Text number(int n) { return std::to_string(n); }

// Lines 9 and 10: the time with its half-day, first as it is, then with a
// one-digit hour padded to two.
void addHalfDayLines(std::vector<Text>& lines, const DateTime& t, const Text& minute,
                     const Text& second) {
    const Text prefix = t.hour < 12 ? "上午 " : "下午 ";
    Text hour = t.hour <= 12 ? number(t.hour) : number(t.hour - 12);
    const Text rest = ":" + minute + ":" + second;
    lines.push_back(prefix + hour + rest);
    if (hour.size() == 1) hour = "0" + hour;
    lines.push_back(prefix + hour + rest);
}

}  // namespace

void showDatePage(Control& list, Control& grid, DesktopWindow& clock) {
    list.items.clear();
    list.selected = -1;
    grid.visible = false;
    list.visible = true;

    const DateTime t = clock.now();
    const Text y = number(t.year), m = number(t.month), d = number(t.day);
    const Text w = weekdayName(t.weekday);
    const Text h = number(t.hour), n = number(t.minute), s = number(t.second);
    DateTime dateOnly = t;
    dateOnly.hour = dateOnly.minute = dateOnly.second = 0;
    const Text dateText = clock.dateText(dateOnly);

    auto& lines = list.items;
    lines.push_back(y + "-" + m + "-" + d);
    lines.push_back(rightText(y, 2) + "-" + m + "-" + d);
    lines.push_back(dateText);
    lines.push_back(y + " " + m + " " + d);
    lines.push_back(w + " " + y + " " + m + " " + d);
    lines.push_back(w + " " + dateText);
    lines.push_back(h + ":" + n);
    lines.push_back(h + ":" + n + ":" + s);
    addHalfDayLines(lines, t, n, s);
    // Line 11 reads the clock twice more: once for its date, once for its time.
    const Text datePart = clock.dateText(clock.now());
    lines.push_back(datePart + clock.timeText(clock.now()));

    // Marks line 1 only; a line is queued when the user chooses one.
    list.selected = 0;
}

Text chosenDateLine(const Control& list) {
    const bool valid = list.selected >= 0 && list.selected < static_cast<int>(list.items.size());
    return valid ? list.items[static_cast<size_t>(list.selected)] : Text();
}

Text currentCellText(const Control& grid) {
    if (grid.currentRow >= 0 && grid.currentRow < Control::kGridRows && grid.currentCol >= 0 &&
        grid.currentCol < Control::kGridCols)
        return removeSpaces(
            grid.cells[static_cast<size_t>(grid.currentRow)][static_cast<size_t>(grid.currentCol)]);
    return Text();
}

}  // namespace lumiko::palette
