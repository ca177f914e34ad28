#include "cli/stream_interface.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vimbrel::testing {
namespace {

TEST(StreamInterface, EachCrOfAMessageIsALineBreak)
{
    std::ostringstream err;
    cli::StreamInterface ui(err, false);
    ui.showMessage("「小画像作成先フォルダ」が選択されてません。\r\rPATH=/p/");
    EXPECT_EQ(err.str(), "「小画像作成先フォルダ」が選択されてません。\n\nPATH=/p/\n");
    EXPECT_TRUE(ui.messageShown());
}

TEST(StreamInterface, ProgressOnlyWhenAsked)
{
    std::ostringstream quiet;
    cli::StreamInterface silent(quiet, false);
    EXPECT_TRUE(silent.reportProgress(1, 2));
    EXPECT_EQ(quiet.str(), "");

    std::ostringstream shown;
    cli::StreamInterface terminal(shown, true);
    EXPECT_TRUE(terminal.reportProgress(1, 2));
    terminal.showMessage("x");
    EXPECT_TRUE(terminal.reportProgress(2, 2));
    EXPECT_EQ(shown.str(), "\r小画像 1/2\nx\n\r小画像 2/2\n");
}

TEST(StreamInterface, RecordsTheViewerItWasAskedToOpen)
{
    std::ostringstream err;
    cli::StreamInterface ui(err, false);
    EXPECT_FALSE(ui.viewer().has_value());
    ui.openViewer({"/w/index.htm", "/w/", "/p/", ""}, true);
    ASSERT_TRUE(ui.viewer().has_value());
    EXPECT_EQ(ui.viewer()->indexPath, "/w/index.htm");
}

} // namespace
} // namespace vimbrel::testing
