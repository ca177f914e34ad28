#include "app/help_window.h"

#include <filesystem>

#include <QTextBrowser>
#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

TEST(HelpWindowTest, ShowsTheHelpFileAndReadsItAfreshEachTime)
{
    TempFolder folder;
    const std::string file = folder.write("Vimbrel.html", "<html><body><p>最初</p></body></html>");
    HelpWindow window(file);
    window.showContents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.browser()->toPlainText().contains("最初"));
    folder.write("Vimbrel.html", "<html><body><p>二番目</p></body></html>");
    window.showContents();
    EXPECT_TRUE(window.browser()->toPlainText().contains("二番目"));
}

TEST(HelpWindowTest, AMissingHelpFileIsReportedInTheWindow)
{
    TempFolder folder;
    HelpWindow window(folder / "Vimbrel.html");
    window.showContents();
    EXPECT_TRUE(window.isVisible());
    const QString shown = window.browser()->toPlainText();
    EXPECT_TRUE(shown.contains("ヘルプファイルが見つかりません。"));
    EXPECT_TRUE(shown.contains(QString::fromStdString(folder / "Vimbrel.html")));
}

TEST(HelpWindowTest, TheShippedHelpFileExplainsEveryTab)
{
    HelpWindow window(VIMBREL_HELP_SOURCE);
    window.showContents();
    const QString shown = window.browser()->toPlainText();
    for (const char* topic : {"場所", "表示", "機能", "その他", "サムネイル表示", "実行"}) {
        EXPECT_TRUE(shown.contains(QString::fromUtf8(topic))) << topic;
    }
    EXPECT_FALSE(shown.contains("ヘルプファイルが見つかりません。"));
    // Where the settings, the rename record and Work/ live, beside the
    // program and when installed.
    for (const char* place : {"Vimbrel.INI", "Vimbrel.rename.log", "~/.config/vimbrel/",
                              "~/.local/share/vimbrel/Work/", "%APPDATA%\\Vimbrel\\"}) {
        EXPECT_TRUE(shown.contains(QString::fromUtf8(place))) << place;
    }
}

} // namespace
} // namespace vimbrel
