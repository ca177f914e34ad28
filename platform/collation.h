#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vimbrel {

// Locale-aware comparison of file names that ignores letter case, as the tool
// sorts pictures and rename lists. On POSIX through ICU, for the locale the
// environment names for collation (LC_ALL, then LC_COLLATE, then LANG); the C
// and POSIX locales use ICU's root collation, never byte order. On Windows
// through CompareStringEx with NORM_IGNORECASE, for the user's default locale.
class Collator
{
public:
    // The locale of the environment (Windows: the user's default locale).
    Collator();
    // An ICU or POSIX locale name ("ja_JP", "de_DE.UTF-8"; "" and "C" give
    // root), or on Windows a locale name ("ja-JP"; "" gives the invariant one).
    explicit Collator(const std::string& localeName);
    ~Collator();
    Collator(const Collator&) = delete;
    Collator& operator=(const Collator&) = delete;

    // Negative, zero or positive as `a` sorts before, equal to or after `b`.
    // Both are UTF-8; bytes that are not valid UTF-8 compare as U+FFFD.
    int compare(std::string_view a, std::string_view b) const;

    // Sorts ascending by compare(). Not stable: names that compare equal
    // stand in no defined order.
    void sort(std::vector<std::string>& names) const;

    // The locale the environment names for collation.
    static std::string environmentLocale();

private:
    struct State;
    State* mState = nullptr;
};

} // namespace vimbrel
