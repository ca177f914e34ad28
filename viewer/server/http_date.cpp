#include "viewer/server/http_date.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace vimbrel {
namespace {

constexpr std::array<std::string_view, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 7> kLongDays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and
// back; month 1-12. The calendar repeats every 400 years (146097 days).
int64_t daysFromCivil(int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct Civil
{
    int64_t year;
    int month;
    int day;
};

Civil civilFromDays(int64_t days)
{
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shifted = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = int(shifted < 10 ? shifted + 3 : shifted - 9);
    return {yearOfEra + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

// Reads the text of an HTTP date piece by piece; any mismatch fails it.
class Reader
{
public:
    explicit Reader(std::string_view text) : mText(text) {}

    bool literal(std::string_view expected)
    {
        if (mText.substr(0, expected.size()) != expected) {
            return false;
        }
        mText.remove_prefix(expected.size());
        return true;
    }

    // A number of `minDigits` to `maxDigits` digits; blanks before it are
    // skipped where `padded` (asctime pads the day with one).
    bool number(int minDigits, int maxDigits, int& value, bool padded = false)
    {
        if (padded && !mText.empty() && mText.front() == ' ') {
            mText.remove_prefix(1);
        }
        int digits = 0;
        value = 0;
        while (digits < maxDigits && !mText.empty() && mText.front() >= '0' &&
               mText.front() <= '9') {
            value = value * 10 + (mText.front() - '0');
            mText.remove_prefix(1);
            ++digits;
        }
        return digits >= minDigits;
    }

    template <size_t N> bool name(const std::array<std::string_view, N>& names, int& index)
    {
        for (size_t i = 0; i < N; ++i) {
            if (literal(names[i])) {
                index = int(i);
                return true;
            }
        }
        return false;
    }

    bool time(int& hour, int& minute, int& second)
    {
        return number(2, 2, hour) && literal(":") && number(2, 2, minute) && literal(":") &&
               number(2, 2, second) && hour < 24 && minute < 60 && second <= 60;
    }

    bool atEnd() const { return mText.empty(); }

private:
    std::string_view mText;
};

std::optional<std::time_t> timeOf(int year, int month, int day, int hour, int minute, int second)
{
    if (month < 0 || month > 11 || day < 1 || day > 31) {
        return std::nullopt;
    }
    const int64_t days = daysFromCivil(year, month + 1, day);
    return std::time_t(days * 86400 + hour * 3600 + minute * 60 + second);
}

} // namespace

std::string httpDate(std::time_t time)
{
    const int64_t seconds = int64_t(time);
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t inDay = seconds - days * 86400;
    const Civil date = civilFromDays(days);
    const int64_t weekday = ((days % 7) + 7 + 4) % 7; // 1970-01-01 was a Thursday
    char text[48];
    std::snprintf(text, sizeof text, "%s, %02d %s %04lld %02d:%02d:%02d GMT",
                  kDays[size_t(weekday)].data(), date.day, kMonths[size_t(date.month - 1)].data(),
                  static_cast<long long>(date.year), int(inDay / 3600), int(inDay / 60 % 60),
                  int(inDay % 60));
    return text;
}

std::optional<std::time_t> parseHttpDate(const std::string& text)
{
    int weekday = 0;
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    // IMF-fixdate: "Sun, 06 Nov 1994 08:49:37 GMT"
    Reader fixdate(text);
    if (fixdate.name(kDays, weekday) && fixdate.literal(", ") && fixdate.number(2, 2, day) &&
        fixdate.literal(" ") && fixdate.name(kMonths, month) && fixdate.literal(" ") &&
        fixdate.number(4, 4, year) && fixdate.literal(" ") && fixdate.time(hour, minute, second) &&
        fixdate.literal(" GMT") && fixdate.atEnd()) {
        return timeOf(year, month, day, hour, minute, second);
    }
    // RFC 850: "Sunday, 06-Nov-94 08:49:37 GMT"; two-digit years from 1969 on.
    Reader rfc850(text);
    if (rfc850.name(kLongDays, weekday) && rfc850.literal(", ") && rfc850.number(2, 2, day) &&
        rfc850.literal("-") && rfc850.name(kMonths, month) && rfc850.literal("-") &&
        rfc850.number(2, 2, year) && rfc850.literal(" ") && rfc850.time(hour, minute, second) &&
        rfc850.literal(" GMT") && rfc850.atEnd()) {
        return timeOf(year + (year < 69 ? 2000 : 1900), month, day, hour, minute, second);
    }
    // asctime: "Sun Nov  6 08:49:37 1994"
    Reader asctime(text);
    if (asctime.name(kDays, weekday) && asctime.literal(" ") && asctime.name(kMonths, month) &&
        asctime.literal(" ") && asctime.number(1, 2, day, true) && asctime.literal(" ") &&
        asctime.time(hour, minute, second) && asctime.literal(" ") && asctime.number(4, 4, year) &&
        asctime.atEnd()) {
        return timeOf(year, month, day, hour, minute, second);
    }
    return std::nullopt;
}

} // namespace vimbrel
