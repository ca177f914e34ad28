// vimbrel itself, started twice by the same person: the second start hands
// its folder to the first, whose window shows it, and leaves no process of
// its own; the first ends on SIGTERM with its settings saved.
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

std::string builtAppFolder()
{
    const char* folder = std::getenv("VIMBREL_APP_FOLDER");
    return folder != nullptr && *folder != '\0' ? folder : VIMBREL_APP_FOLDER_PATH;
}

TEST(SecondStart, HandsItsFolderToTheFirstAndEnds)
{
    TempFolder root;
    // The program in an app folder of its own, so that its settings land
    // there; a runtime folder of the test's own for the lock and socket.
    const std::string app = root.makeFolder("app");
    std::filesystem::copy_file(builtAppFolder() + "/vimbrel", app + "vimbrel");
    const std::string runtime = root.makeFolder("runtime");
    ::chmod(runtime.c_str(), 0700);
    const std::string first = root.makeFolder("first");
    const std::string second = root.makeFolder("second");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));

    QProcess running;
    running.setProcessEnvironment(environment);
    running.start(QString::fromStdString(app + "vimbrel"), {QString::fromStdString(first)});
    ASSERT_TRUE(running.waitForStarted(10000));
    // The first listens once its socket is there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(runtime + "vimbrel/vimbrel.socket") &&
           std::chrono::steady_clock::now() < deadline && running.state() == QProcess::Running) {
        running.waitForFinished(50);
    }
    ASSERT_TRUE(std::filesystem::exists(runtime + "vimbrel/vimbrel.socket"))
        << running.readAllStandardError().toStdString();
    QProcess later;
    later.setProcessEnvironment(environment);
    later.start(QString::fromStdString(app + "vimbrel"), {QString::fromStdString(second)});
    ASSERT_TRUE(later.waitForFinished(30000)) << "the second start did not end";
    EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();
    EXPECT_EQ(running.state(), QProcess::Running);

    running.terminate(); // SIGTERM
    ASSERT_TRUE(running.waitForFinished(30000));
    EXPECT_EQ(running.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(running.exitCode(), 0) << running.readAllStandardError().toStdString();
    // The first took the second's folder: it is the one saved, by the
    // captions of the tree that lead to it.
    const std::string settings = testing::readFile(app + "Vimbrel.INI");
    EXPECT_NE(settings.find(",second\"\r\n"), std::string::npos) << settings;
    EXPECT_EQ(settings.find(",first\""), std::string::npos) << settings;
}

} // namespace
} // namespace vimbrel
