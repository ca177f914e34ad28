// How the program runs and ends: a viewer left open in the browser keeps it
// serving after its window has closed, a later start shows the window
// again, a stop ends it at once; the Work folder is emptied last. And one
// program for each person.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QHostInfo>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include "app/main_window/main_window.h"
#include "app/program_lifetime.h"
#include "app/single_instance.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using namespace std::chrono_literals;
using testing::captionsOf;
using testing::RecordingDesktop;
using testing::TempFolder;

class ProgramLifetimeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pictures.write("set/a.jpg", "x");
        window = std::make_unique<TForm1>(desktop, app.path());
        window->SelectTreePath(captionsOf(pictures / "set"));
        window->controls().ChkDel->setChecked(true); // 終了後ﾌｧｲﾙを削除
        window->controls().BtnShow->click();
        ASSERT_TRUE(std::filesystem::exists(app / "Work/index.htm"));
    }

    void TearDown() override { QApplication::setQuitOnLastWindowClosed(true); }

    bool workThere() const { return std::filesystem::exists(app / "Work/index.htm"); }

    RecordingDesktop desktop;
    TempFolder app;
    TempFolder pictures;
    std::unique_ptr<TForm1> window;
};

TEST_F(ProgramLifetimeTest, AViewerLeftOpenKeepsTheProgramServingAndItsPagesUntilItGoes)
{
    desktop.viewer.open = true;
    ProgramLifetime lifetime(*window, 10ms);
    bool serving = false;
    bool pagesKept = false;
    bool saved = false;
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    QTimer::singleShot(200, window.get(), [&] {
        serving = lifetime.servingOn() && !window->isVisible();
        pagesKept = workThere();
        saved = std::filesystem::exists(app / "Vimbrel.INI");
        desktop.viewer.open = false; // the last viewer window goes
    });
    EXPECT_EQ(lifetime.run(), 0);
    EXPECT_TRUE(serving);
    EXPECT_TRUE(pagesKept);
    EXPECT_TRUE(saved);
    EXPECT_FALSE(workThere()); // emptied at the very end
}

TEST_F(ProgramLifetimeTest, ALaterStartShowsTheWindowAgainAndAStopEndsAtOnce)
{
    desktop.viewer.open = true;
    ProgramLifetime lifetime(*window, 10ms);
    bool shownAgain = false;
    bool keptServing = false;
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    QTimer::singleShot(100, window.get(), [&] {
        lifetime.showAgain(QByteArray::fromStdString(pictures / "set"));
        shownAgain = window->isVisible() && !lifetime.servingOn();
    });
    QTimer::singleShot(200, window.get(), [&] {
        keptServing = workThere();
        lifetime.stop(); // SIGTERM: the viewer is still open, the end comes now
    });
    EXPECT_EQ(lifetime.run(), 0);
    EXPECT_TRUE(shownAgain);
    EXPECT_TRUE(keptServing);
    EXPECT_EQ(window->SelectedFolder(), pictures / "set/");
    EXPECT_FALSE(workThere());
}

TEST_F(ProgramLifetimeTest, WithNoViewerOpenClosingEndsAtOnce)
{
    ProgramLifetime lifetime(*window, 1h); // it never needs to look
    QTimer::singleShot(0, window.get(), [&] { window->close(); });
    EXPECT_EQ(lifetime.run(), 0);
    EXPECT_FALSE(workThere());
}

TEST(SingleInstance, ALaterStartHandsItsFolderToTheFirst)
{
    TempFolder runtime;
    SingleInstance first(QString::fromStdString(runtime / "vimbrel"));
    ASSERT_TRUE(first.first());
    SingleInstance later(QString::fromStdString(runtime / "vimbrel"));
    EXPECT_FALSE(later.first());
    QSignalSpy activated(&first, &SingleInstance::activated);
    EXPECT_TRUE(later.handOver("/pics/写真"));
    ASSERT_TRUE(activated.wait(5000));
    EXPECT_EQ(activated.at(0).at(0).toByteArray(), QByteArray("/pics/写真"));
    EXPECT_TRUE(later.handOver(""));
    ASSERT_TRUE(activated.wait(5000));
    EXPECT_EQ(activated.at(1).at(0).toByteArray(), QByteArray());
}

TEST(SingleInstance, ALockLeftByAProgramThatIsGoneIsTakenOver)
{
    TempFolder runtime;
    std::filesystem::create_directories(runtime / "vimbrel");
    // A process number no program has now, on this machine.
    std::ofstream(runtime / "vimbrel/vimbrel.lock")
        << "2147483646\n"
        << QCoreApplication::applicationName().toStdString() << "\n"
        << QHostInfo::localHostName().toStdString() << "\n";
    SingleInstance first(QString::fromStdString(runtime / "vimbrel"));
    EXPECT_TRUE(first.first());
}

} // namespace
} // namespace vimbrel
