#include "viewer/server/http_date.h"

#include <array>
#include <cstring>

namespace vimbrel {

std::string httpDate(std::time_t time)
{
    std::tm parts = {};
    ::gmtime_r(&time, &parts);
    // strftime's %a and %b follow the locale; HTTP wants the English names.
    static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[40];
    std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d GMT",
                  kDays[size_t(parts.tm_wday) % 7], parts.tm_mday,
                  kMonths[size_t(parts.tm_mon) % 12], parts.tm_year + 1900, parts.tm_hour,
                  parts.tm_min, parts.tm_sec);
    return text;
}

std::optional<std::time_t> parseHttpDate(const std::string& text)
{
    static constexpr std::array<const char*, 3> kForms = {
        "%a, %d %b %Y %H:%M:%S GMT", // IMF-fixdate
        "%A, %d-%b-%y %H:%M:%S GMT", // RFC 850
        "%a %b %e %H:%M:%S %Y",      // asctime
    };
    for (const char* form : kForms) {
        std::tm parts = {};
        const char* end = ::strptime(text.c_str(), form, &parts);
        if (end != nullptr && *end == '\0') {
            return ::timegm(&parts);
        }
    }
    return std::nullopt;
}

} // namespace vimbrel
