#include "platform/collation.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace vimbrel {

struct Collator::State
{
    std::wstring locale; // empty for the invariant locale
};

std::string Collator::environmentLocale()
{
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = ::GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return length > 1 ? win32::narrow(std::wstring_view(name, size_t(length - 1))) : std::string();
}

Collator::Collator() : Collator(environmentLocale()) {}

Collator::Collator(const std::string& localeName) : mState(new State{win32::widen(localeName)})
{
    // A name the system does not know compares as the invariant locale.
    if (!mState->locale.empty() && ::IsValidLocaleName(mState->locale.c_str()) == 0) {
        mState->locale.clear();
    }
}

Collator::~Collator()
{
    delete mState;
}

int Collator::compare(std::string_view a, std::string_view b) const
{
    const std::wstring first = win32::widen(a);
    const std::wstring second = win32::widen(b);
    const wchar_t* locale = mState->locale.empty() ? LOCALE_NAME_INVARIANT : mState->locale.c_str();
    const int result =
        ::CompareStringEx(locale, NORM_IGNORECASE, first.c_str(), static_cast<int>(first.size()),
                          second.c_str(), static_cast<int>(second.size()), nullptr, nullptr, 0);
    if (result == 0) {
        return a.compare(b);
    }
    return result - CSTR_EQUAL;
}

} // namespace vimbrel
