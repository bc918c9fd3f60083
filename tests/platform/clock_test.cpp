// Weekdays and the desktop's date and time texts.
#include <gtest/gtest.h>

#include "platform/posix/clock.h"

namespace lumiko::posix {
namespace {

TEST(Clock, WeekdayCountsFromSunday) {
    struct Case {
        int y, m, d, weekday;
    };
    const Case cases[] = {
        {2026, 1, 1, 5},   // Thursday
        {2026, 3, 5, 5},   // Thursday
        {2026, 3, 8, 1},   // Sunday
        {2026, 3, 9, 2},   // Monday
        {2026, 3, 14, 7},  // Saturday
        {2024, 2, 29, 5},  // leap day, Thursday
        {2000, 1, 1, 7},   // Saturday
        {1900, 3, 1, 5},   // Thursday, after a century without leap day
    };
    for (const auto& c : cases) EXPECT_EQ(weekdayOf(c.y, c.m, c.d), c.weekday) << c.y << '-' << c.m << '-' << c.d;
}

TEST(Clock, TextFormsHaveNoLeadingZeros) {
    const DateTime t{2026, 3, 5, 5, 14, 7, 9};
    EXPECT_EQ(dateText(t), "2026年3月5日");
    EXPECT_EQ(timeText(t), "14时7分9秒");
    EXPECT_EQ(timeText(DateTime{2026, 1, 1, 5, 0, 0, 0}), "0时0分0秒");
}

TEST(Clock, NowIsAPlausibleLocalTime) {
    const DateTime t = localNow();
    EXPECT_GE(t.year, 2024);
    EXPECT_EQ(t.weekday, weekdayOf(t.year, t.month, t.day));
}

}  // namespace
}  // namespace lumiko::posix
