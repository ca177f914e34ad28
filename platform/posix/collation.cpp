#include "platform/collation.h"

#include <unicode/ucol.h>

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

struct Collator::State
{
    UCollator* collator = nullptr;
};

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

Collator::Collator(const std::string& localeName) : mState(new State)
{
    UErrorCode status = U_ZERO_ERROR;
    mState->collator = ucol_open(icuLocaleFromPosix(localeName).c_str(), &status);
    if (U_FAILURE(status) || mState->collator == nullptr) {
        status = U_ZERO_ERROR;
        mState->collator = ucol_open("", &status);
    }
    // Secondary strength: accents count, letter case does not.
    ucol_setStrength(mState->collator, UCOL_SECONDARY);
}

Collator::~Collator()
{
    ucol_close(mState->collator);
    delete mState;
}

int Collator::compare(std::string_view a, std::string_view b) const
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result =
        ucol_strcollUTF8(mState->collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                         static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status)) {
        return a.compare(b);
    }
    return static_cast<int>(result);
}

} // namespace vimbrel
