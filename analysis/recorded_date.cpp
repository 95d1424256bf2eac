// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/recorded_date.h"

#include <cstdio>
#include <strings.h>

namespace quibo {
namespace {

int MonthOf(const char* name) {
    static const char* const kMonths[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                            "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int month = 0; month < 12; ++month)
        if (::strncasecmp(name, kMonths[month], 3) == 0) return month + 1;
    return 0;
}

bool Valid(int year, int month, int day, int hour, int minute, int second) {
    return year >= 1900 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 &&
           hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 60;
}

}  // namespace

std::optional<std::string> RecordedDate(std::string_view text) {
    const std::string copy(text.substr(0, 64));
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char weekday[4] = {}, monthName[4] = {}, s1 = 0, s2 = 0;
    if (std::sscanf(copy.c_str(), "%3s %3s %d %d:%d:%d %d", weekday, monthName, &day, &hour, &minute, &second,
                    &year) == 7)
        month = MonthOf(monthName);
    else if (std::sscanf(copy.c_str(), "%d%c%d%c%d %d:%d:%d", &year, &s1, &month, &s2, &day, &hour, &minute,
                         &second) != 8 ||
             s1 != s2 || (s1 != ':' && s1 != '-' && s1 != '/'))
        return std::nullopt;
    if (!Valid(year, month, day, hour, minute, second)) return std::nullopt;
    char iso[32];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02d", year, month, day, hour, minute, second);
    return iso;
}

}  // namespace quibo
