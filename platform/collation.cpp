#include "platform/collation.h"

#include <unicode/ucol.h>

#include <algorithm>
#include <cstdlib>

namespace vimbrel {
namespace {

// "ja_JP.UTF-8@euro" -> "ja_JP"; "C" and "POSIX" -> "" (root).
std::string icuLocaleFromPosix(std::string name)
{
    const size_t cut = name.find_first_of(".@");
    if (cut != std::string::npos) {
        name.resize(cut);
    }
    if (name == "C" || name == "POSIX") {
        return {};
    }
    return name;
}

} // namespace

std::string Collator::environmentLocale()
{
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return icuLocaleFromPosix(value);
        }
    }
    return {};
}

Collator::Collator() : Collator(environmentLocale()) {}

Collator::Collator(const std::string& localeName)
{
    UErrorCode status = U_ZERO_ERROR;
    mCollator = ucol_open(icuLocaleFromPosix(localeName).c_str(), &status);
    if (U_FAILURE(status) || mCollator == nullptr) {
        status = U_ZERO_ERROR;
        mCollator = ucol_open("", &status);
    }
    // Secondary strength: accents count, letter case does not.
    ucol_setStrength(mCollator, UCOL_SECONDARY);
}

Collator::~Collator()
{
    ucol_close(mCollator);
}

int Collator::compare(std::string_view a, std::string_view b) const
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(mCollator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status)) {
        return a.compare(b);
    }
    return static_cast<int>(result);
}

void Collator::sort(std::vector<std::string>& names) const
{
    std::sort(names.begin(), names.end(),
              [this](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
}

} // namespace vimbrel
