// The window on Wayland's own platform plugin: a headless Weston compositor
// runs for the suite, in a runtime folder of its own, and the one
// QApplication of the process connects to it.
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "app/main_window/main_window.h"
#include "platform/file_system.h"
#include "tests/app/recording_desktop.h"
#include "tests/support/temp_folder.h"

extern char** environ;

namespace vimbrel {
namespace {

using testing::RecordingDesktop;
using testing::TempFolder;

constexpr const char* kSocket = "vimbrel-test";

class WaylandEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ::chmod(mRuntime.path().c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", mRuntime.path().c_str(), 1);
        ::setenv("WAYLAND_DISPLAY", kSocket, 1);
        std::string socketArgument = std::string("--socket=") + kSocket;
        char program[] = "weston";
        char backend[] = "--backend=headless-backend.so";
        char idle[] = "--idle-time=0";
        char* argv[] = {program, backend, socketArgument.data(), idle, nullptr};
        ASSERT_EQ(::posix_spawnp(&mWeston, "weston", nullptr, nullptr, argv, environ), 0)
            << "weston (Debian's package weston) is needed";
        // The compositor is ready once its socket is there.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!std::filesystem::exists(mRuntime.path() + kSocket)) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "weston did not start";
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        static int argc = 3;
        static char name[] = "test_app_wayland";
        static char platformOption[] = "-platform";
        static char platform[] = "wayland";
        static char* qtArgv[] = {name, platformOption, platform, nullptr};
        mApplication = std::make_unique<QApplication>(argc, qtArgv);
    }

    void TearDown() override
    {
        mApplication.reset();
        if (mWeston > 0) {
            ::kill(mWeston, SIGTERM);
            ::waitpid(mWeston, nullptr, 0);
        }
    }

private:
    TempFolder mRuntime;
    pid_t mWeston = 0;
    std::unique_ptr<QApplication> mApplication;
};

[[maybe_unused]] const ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new WaylandEnvironment);

TEST(WaylandWindow, ShowsOnTheNativePlatformAndSavesAtClose)
{
    ASSERT_EQ(QGuiApplication::platformName(), "wayland");
    TempFolder app;
    RecordingDesktop desktop;
    {
        TForm1 window(desktop, app.path());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_GT(window.width(), 0);
        window.close();
    }
    EXPECT_TRUE(fs::isFile(app.path() + "Vimbrel.INI"));
}

} // namespace
} // namespace vimbrel
