#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct UCollator;

namespace vimbrel {

// Locale-aware comparison of file names that ignores letter case, as the tool
// sorts pictures and rename lists. The locale is the one the environment names
// for collation (LC_ALL, then LC_COLLATE, then LANG); the C and POSIX locales
// use ICU's root collation, never byte order.
class Collator
{
public:
    // The locale of the environment.
    Collator();
    // An ICU or POSIX locale name ("ja_JP", "de_DE.UTF-8"); "" and "C" give root.
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

    // The ICU locale the environment names for collation.
    static std::string environmentLocale();

private:
    UCollator* mCollator = nullptr;
};

} // namespace vimbrel
