#include "settings/profile_file.h"

#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(ProfileFile, MissingFileSectionOrKeyGivesTheDefault)
{
    const ProfileFile empty;
    EXPECT_EQ(empty.readString("OTHER", "HEAD", "Sample"), "Sample");
    const ProfileFile file("[OTHER]\nHEAD=Mine\n");
    EXPECT_EQ(file.readString("OTHER", "PREFIX", "Sample"), "Sample");
    EXPECT_EQ(file.readString("MENU", "HEAD", "Sample"), "Sample");
    EXPECT_EQ(file.readString("OTHER", "HEAD", "Sample"), "Mine");
}

TEST(ProfileFile, ValuesLoseBlanksAndOnePairOfQuotes)
{
    const ProfileFile file("[S]\n"
                           "A =  two words \t\n"
                           "B=\"  kept inside  \"\n"
                           "C='single'\n"
                           "D=\"\"x\"\"\n"
                           "E=\"\n"
                           "F=\"mixed'\n"
                           "G=\n"
                           "H=a=b\n");
    EXPECT_EQ(file.readString("S", "A", "-"), "two words");
    EXPECT_EQ(file.readString("S", "B", "-"), "  kept inside  ");
    EXPECT_EQ(file.readString("S", "C", "-"), "single");
    EXPECT_EQ(file.readString("S", "D", "-"), "\"x\"");
    EXPECT_EQ(file.readString("S", "E", "-"), "\"");
    EXPECT_EQ(file.readString("S", "F", "-"), "\"mixed'");
    // An empty value is a value: the default is only for a missing key.
    EXPECT_EQ(file.readString("S", "G", "-"), "");
    EXPECT_EQ(file.readString("S", "H", "-"), "a=b");
}

TEST(ProfileFile, ValuesAreCutTo2047BytesBetweenCharacters)
{
    const ProfileFile ascii("[S]\nK=" + std::string(5000, 'a') + "\n");
    EXPECT_EQ(ascii.readString("S", "K", ""), std::string(2047, 'a'));
    // 2046 ASCII bytes, then a three-byte character across the limit.
    const ProfileFile split("[S]\nK=" + std::string(2046, 'a') + "写" + "\n");
    EXPECT_EQ(split.readString("S", "K", ""), std::string(2046, 'a'));
    const ProfileFile withNul(std::string("[S]\nK=ab\0cd\n", 12));
    EXPECT_EQ(withNul.readString("S", "K", ""), "ab");
}

TEST(ProfileFile, NamesMatchIgnoringCaseAndTheFirstDuplicateCounts)
{
    const ProfileFile file("KEY=before any section\n"
                           "[ menu ]\n"
                           "Asc=5\n"
                           "a line without equals\n"
                           "ASC=6\n"
                           "[OTHER]\n"
                           "HEAD=first\n"
                           "[MENU]\n"
                           "ASC=7\n"
                           "SHOW=2\n");
    EXPECT_EQ(file.readInteger("MENU", "ASC", 0), 5);
    // Only the first MENU section is searched.
    EXPECT_EQ(file.readInteger("MENU", "SHOW", 0), 0);
    EXPECT_EQ(file.readString("OTHER", "KEY", "none"), "none");
    EXPECT_EQ(file.readString("menu", "a line without equals", "none"), "none");
}

TEST(ProfileFile, ReadsCrLfAndByteOrderMark)
{
    const ProfileFile file("\xEF\xBB\xBF[FORM]\r\nTOP=12\r\nLEFT= 34 \r\n");
    EXPECT_EQ(file.readInteger("FORM", "TOP", 0), 12);
    EXPECT_EQ(file.readInteger("FORM", "LEFT", 0), 34);
    EXPECT_EQ(file.text(), "\xEF\xBB\xBF[FORM]\r\nTOP=12\r\nLEFT= 34 \r\n");
}

TEST(ProfileFile, IntegersAndBooleans)
{
    const ProfileFile file("[N]\n"
                           "HEX=0x1F\nUPPER=0XFF\nBARE=0x\nNEG=-3\nSPACED=  02\nQUOTED=\"7\"\n"
                           "EMPTY=\nWORD=abc\nTAIL=12a\nHUGE=99999999999\n"
                           "TWO=2\nZERO=0\nMINUS=-1\n");
    EXPECT_EQ(file.readInteger("N", "HEX", 0), 31);
    EXPECT_EQ(file.readInteger("N", "UPPER", 0), 255);
    EXPECT_EQ(file.readInteger("N", "BARE", 9), 9);
    EXPECT_EQ(file.readInteger("N", "NEG", 0), -3);
    EXPECT_EQ(file.readInteger("N", "SPACED", 0), 2);
    EXPECT_EQ(file.readInteger("N", "QUOTED", 0), 7);
    EXPECT_EQ(file.readInteger("N", "EMPTY", 10), 10);
    EXPECT_EQ(file.readInteger("N", "WORD", 10), 10);
    EXPECT_EQ(file.readInteger("N", "TAIL", 10), 10);
    EXPECT_EQ(file.readInteger("N", "HUGE", 10), 10);
    EXPECT_TRUE(file.readBool("N", "TWO", false));
    EXPECT_FALSE(file.readBool("N", "ZERO", true));
    EXPECT_TRUE(file.readBool("N", "MINUS", false));
    EXPECT_TRUE(file.readBool("N", "WORD", true));
    EXPECT_FALSE(file.readBool("N", "WORD", false));
    EXPECT_TRUE(file.readBool("N", "MISSING", true));
}

TEST(ProfileFile, WritingReplacesInPlaceAndAppendsWhereNeeded)
{
    ProfileFile file("; written by hand\n"
                     "[MENU]\n"
                     "  Asc = 0\n"
                     "UNKNOWN=keep me\n"
                     "\n"
                     "[mine]\n"
                     "X=1\n");
    file.writeBool("MENU", "ASC", true);
    file.writeString("MENU", "TIME1", "  02");
    file.writeInteger("OTHER", "COUNT", 5);
    file.writeInteger("OTHER", "KETA", 4);
    EXPECT_EQ(file.text(), "; written by hand\n"
                           "[MENU]\n"
                           "Asc=1\n"
                           "UNKNOWN=keep me\n"
                           "TIME1=  02\n"
                           "\n"
                           "[mine]\n"
                           "X=1\n"
                           "[OTHER]\n"
                           "COUNT=5\n"
                           "KETA=4\n");
    EXPECT_EQ(file.readString("MENU", "TIME1", ""), "02");
}

TEST(ProfileFile, WritingKeepsEachLinesEndAndEndsTheLastLine)
{
    ProfileFile file("[A]\r\nX=1\nY=2");
    file.writeString("A", "Z", "3");
    file.writeString("B", "W", "4");
    // New lines end like the file's first line.
    EXPECT_EQ(file.text(), "[A]\r\nX=1\nY=2\r\nZ=3\r\n[B]\r\nW=4\r\n");

    ProfileFile fresh;
    fresh.writeString("A", "X", "1");
    EXPECT_EQ(fresh.text(), "[A]\r\nX=1\r\n");
}

TEST(ProfileFile, AValueNeverAddsLines)
{
    ProfileFile file;
    file.writeString("IMAGE", "PATH", "x\r\n[OTHER]\nHEAD=evil");
    file.writeString("IMAGE", "NUL", std::string_view("a\0b", 3));
    EXPECT_EQ(file.text(), "[IMAGE]\r\nPATH=x  [OTHER] HEAD=evil\r\nNUL=a b\r\n");
    EXPECT_EQ(file.readString("OTHER", "HEAD", "Sample"), "Sample");
}

TEST(ProfileFile, BadInputNeverBreaksReadingOrWriting)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary += static_cast<char>((i * 37 + 11) % 256);
    }
    ProfileFile noise(binary);
    EXPECT_EQ(noise.readString("OTHER", "HEAD", "Sample"), "Sample");
    noise.writeString("OTHER", "HEAD", "New");
    EXPECT_EQ(noise.readString("OTHER", "HEAD", "Sample"), "New");

    // Many lines and one enormous line.
    std::string big = "[FILL]\n";
    for (int i = 0; i < 100000; ++i) {
        big += "K" + std::to_string(i) + "=v\n";
    }
    big += "LONG=" + std::string(8 << 20, 'x') + "\n[OTHER]\nCOUNT=7\n";
    ProfileFile large(big);
    EXPECT_EQ(large.readInteger("OTHER", "COUNT", 1), 7);
    EXPECT_EQ(large.readString("FILL", "LONG", "").size(), ProfileFile::kMaxValueBytes);
    large.writeInteger("OTHER", "COUNT", 8);
    EXPECT_EQ(large.text().size(), big.size());

    // "[unclosed" opens no section, so its key stays in the section before.
    const ProfileFile broken("[S]\n[unclosed\nK=1\n]\n[\n");
    EXPECT_EQ(broken.readString("unclosed", "K", "d"), "d");
    EXPECT_EQ(broken.readString("S", "K", "d"), "1");
}

} // namespace
} // namespace vimbrel
