// Pictures of the main window's four tabs and the About box, kept in the test
// output of the build tree for people to look at.
#include <filesystem>

#include <QImage>
#include <QTabWidget>
#include <gtest/gtest.h>

#include "app/about_box.h"
#include "app/main_window/main_window.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

TEST(ScreenshotTest, EachTabIsPicturedAtTheBuiltSize)
{
    const std::filesystem::path output = VIMBREL_TEST_OUTPUT;
    std::filesystem::create_directories(output);
    testing::RecordingDesktop desktop;
    testing::TempFolder app;
    TForm1 window(desktop, app.path());
    window.show();
    const char* names[] = {"path", "show", "function", "other"};
    for (int tab = 0; tab < 4; ++tab) {
        window.controls().Page->setCurrentIndex(tab);
        const QImage picture = window.grab().toImage();
        ASSERT_EQ(picture.size(), QSize(400, 350));
        const std::filesystem::path file = output / ("window-" + std::string(names[tab]) + ".png");
        ASSERT_TRUE(picture.save(QString::fromStdString(file.string())));
        EXPECT_TRUE(std::filesystem::file_size(file) > 0);
    }
    TAboutBox box(&window);
    box.show();
    ASSERT_TRUE(box.grab().save(QString::fromStdString((output / "about.png").string())));
}

} // namespace
} // namespace vimbrel
