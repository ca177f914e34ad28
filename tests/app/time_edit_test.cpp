#include "app/main_window/time_edit.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vimbrel {
namespace {

TEST(TimeEditTest, TextsShowWithTheFixedPointAndComeBackUnchanged)
{
    TimeEdit edit;
    const std::pair<const char*, const char*> cases[] = {
        {"  10", "  1.0"}, {" 100", " 10.0"}, {"  02", "  0.2"}, {"1234", "123.4"},
        {"  1", "  1. "},  {"", "   . "},     {"1 2", "1 2. "},
    };
    for (const auto& [text, shown] : cases) {
        edit.setTimeText(text);
        EXPECT_EQ(edit.displayText().toStdString(), shown) << text;
        EXPECT_EQ(edit.timeText(), text) << text;
    }
}

TEST(TimeEditTest, TextsThatDoNotFitKeepOnlyTheirDigitPlaces)
{
    TimeEdit edit;
    edit.setTimeText("12345");
    EXPECT_EQ(edit.timeText(), "1234");
    edit.setTimeText("-5");
    EXPECT_EQ(edit.timeText(), " 5");
}

TEST(TimeEditTest, TypingFillsThePlacesAroundThePoint)
{
    TimeEdit edit;
    edit.setTimeText("");
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, "0025");
    EXPECT_EQ(edit.displayText(), "002.5");
    EXPECT_EQ(edit.timeText(), "0025");
    // Clearing the last place leaves a text one place shorter.
    edit.setCursorPosition(5);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.timeText(), "002");
    EXPECT_EQ(edit.maxLength(), 5);
    EXPECT_TRUE(edit.font().fixedPitch());
}

} // namespace
} // namespace vimbrel
