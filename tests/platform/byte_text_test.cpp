#include "platform/byte_text.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(ByteText, ExtensionsOfTheLastPathComponentUpperCased)
{
    EXPECT_EQ(text::upperExtension("/a/b/photo.jpeg"), "JPEG");
    EXPECT_EQ(text::upperExtension("x.y.Emf"), "EMF");
    EXPECT_EQ(text::upperExtension("写真.heic"), "HEIC");
    // A dot in a folder's name is no extension of the file.
    EXPECT_EQ(text::upperExtension("/pictures.old/README"), "");
    EXPECT_EQ(text::upperExtension("noextension"), "");
    EXPECT_EQ(text::upperExtension("trailing."), "");
}

TEST(ByteText, CaseOfAsciiLettersOnlyIgnored)
{
    EXPECT_TRUE(text::equalIgnoringAsciiCase("Host", "hOST"));
    EXPECT_FALSE(text::equalIgnoringAsciiCase("Host", "Hosts"));
    // Bytes of other characters are compared as they are: "Ａ" is no "ａ",
    // and "[" (after "Z") is no "{" (after "z").
    EXPECT_FALSE(text::equalIgnoringAsciiCase("Ａ", "ａ"));
    EXPECT_FALSE(text::equalIgnoringAsciiCase("[", "{"));

    EXPECT_EQ(text::findIgnoringAsciiCase("<HTML><HEAD>", "<head>"), 6u);
    EXPECT_EQ(text::findIgnoringAsciiCase("<html><Head><head>", "<head>"), 6u);
    EXPECT_EQ(text::findIgnoringAsciiCase("<html><body>", "<head>"), std::string_view::npos);
    EXPECT_EQ(text::findIgnoringAsciiCase("<hea", "<head>"), std::string_view::npos);
    EXPECT_EQ(text::findIgnoringAsciiCase("", ""), 0u);
}

} // namespace
} // namespace vimbrel
