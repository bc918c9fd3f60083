// The local clock and the desktop's text forms of dates and times.
#pragma once

#include "engine/gbktext.h"
#include "platform/services.h"

namespace lumiko::posix {

// The current local date and time.
DateTime localNow();

// Day of the week of a date of the Gregorian calendar, 1 = Sunday … 7 =
// Saturday.
int weekdayOf(int year, int month, int day);

// "2026年3月5日": the date-only text form (GBK).
Text dateText(const DateTime& t);
// "14时7分9秒": the time-part text form (GBK); no leading zeros.
Text timeText(const DateTime& t);

}  // namespace lumiko::posix
