#include "platform/collation.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vimbrel {
namespace {

using Names = std::vector<std::string>;

TEST(Collation, IgnoresCaseInEveryLocale)
{
    for (const char* locale : {"", "C", "POSIX", "en_US.UTF-8", "ja_JP.UTF-8", "de_DE"}) {
        Collator collator(locale);
        Names names = {"C.jpg", "b.jpg", "A.jpg"};
        collator.sort(names);
        EXPECT_EQ(names, (Names{"A.jpg", "b.jpg", "C.jpg"})) << locale;
        EXPECT_EQ(collator.compare("abc.JPG", "ABC.jpg"), 0) << locale;
    }
}

TEST(Collation, IsNeitherByteNorNumericOrder)
{
    Collator collator("C");
    Names names = {"img2.jpg", "IMG10.JPG"};
    collator.sort(names);
    EXPECT_EQ(names, (Names{"IMG10.JPG", "img2.jpg"}));
}

TEST(Collation, LocaleComesFromTheEnvironment)
{
    const char* saved = std::getenv("LC_ALL");
    const std::string restore = saved != nullptr ? saved : "";
    ::setenv("LC_ALL", "ja_JP.UTF-8", 1);
    EXPECT_EQ(Collator::environmentLocale(), "ja_JP");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(Collator::environmentLocale(), "");
    if (saved != nullptr) {
        ::setenv("LC_ALL", restore.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

TEST(Collation, MalformedUtf8DoesNotCrash)
{
    Collator collator("");
    Names names = {"\xff\xfe.jpg", "a.jpg", "\xe3\x81.jpg"};
    collator.sort(names);
    EXPECT_EQ(names.size(), 3U);
}

} // namespace
} // namespace vimbrel
