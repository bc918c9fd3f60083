#include "platform/posix/clock.h"

#include <ctime>
#include <string>

#include "platform/posix/encoding.h"

namespace lumiko::posix {

namespace {
std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }
}  // namespace

DateTime localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    DateTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.weekday = tm.tm_wday + 1;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    return t;
}

int weekdayOf(int year, int month, int day) {
    // Sakamoto's method; 0 = Sunday.
    static constexpr int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12) return 1;
    if (month < 3) --year;
    int w = (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
    if (w < 0) w += 7;
    return w + 1;
}

Text dateText(const DateTime& t) {
    return utf8ToGbk(std::to_string(t.year) + utf8(u8"年") + std::to_string(t.month) +
                     utf8(u8"月") + std::to_string(t.day) + utf8(u8"日"));
}

Text timeText(const DateTime& t) {
    return utf8ToGbk(std::to_string(t.hour) + utf8(u8"时") + std::to_string(t.minute) +
                     utf8(u8"分") + std::to_string(t.second) + utf8(u8"秒"));
}

}  // namespace lumiko::posix
