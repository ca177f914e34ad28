#include "app/about_box.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace vimbrel {
namespace {

QString textOf(const TAboutBox& box, const char* name)
{
    const auto* label = box.findChild<QLabel*>(name);
    return label != nullptr ? label->text() : QStringLiteral("(missing)");
}

TEST(AboutBoxTest, ShowsTheProgramsTexts)
{
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), "バージョン情報");
    EXPECT_EQ(box.size(), QSize(298, 213));
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(textOf(box, "ProductName"), "Vimbrel");
    EXPECT_EQ(textOf(box, "Version"), "Ver0.90b");
    const std::pair<const char*, const char*> rows[] = {
        {"Name", "： Vimbrel Project"},
        {"Create", "： 01/06/11"},
        {"Updａｔｅ", "： 01/09/28"},
        {"取り扱い", "： Free"},
    };
    for (int i = 0; i < 4; ++i) {
        const std::string number = std::to_string(i + 1);
        EXPECT_EQ(textOf(box, ("Caption" + number).c_str()), QString::fromUtf8(rows[i].first));
        EXPECT_EQ(textOf(box, ("Value" + number).c_str()), QString::fromUtf8(rows[i].second));
    }
    const auto* picture = box.findChild<QLabel*>("ProgramIcon");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(62, 62));
    ASSERT_NE(box.OKButton(), nullptr);
    EXPECT_EQ(box.OKButton()->objectName(), "OKButton");
    EXPECT_TRUE(box.OKButton()->isDefault());
}

TEST(AboutBoxTest, EnterOkAndClosingOnlyHideTheBox)
{
    TAboutBox box;
    box.show();
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    box.show();
    box.OKButton()->click();
    EXPECT_FALSE(box.isVisible());
    box.show();
    EXPECT_TRUE(box.close());
    EXPECT_FALSE(box.isVisible());
    // Still the same box, shown again.
    box.show();
    EXPECT_TRUE(box.isVisible());
}

} // namespace
} // namespace vimbrel
