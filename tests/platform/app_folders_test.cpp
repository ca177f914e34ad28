#include "platform/app_folders.h"

#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::TempFolder;

// Sets an environment variable for the lifetime of the object.
class ScopedVariable
{
public:
    ScopedVariable(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name)) {
            mOld = old;
            mHadOld = true;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { mHadOld ? ::setenv(mName, mOld.c_str(), 1) : ::unsetenv(mName); }

private:
    const char* mName;
    std::string mOld;
    bool mHadOld = false;
};

TEST(AppFolders, AWritableProgramFolderKeepsEverything)
{
    TempFolder temp;
    const AppFolders folders = appFoldersFor(temp.path());
    EXPECT_EQ(folders.program, temp.path());
    EXPECT_EQ(folders.settings, temp.path());
    EXPECT_EQ(folders.data, temp.path());
    EXPECT_EQ(appFoldersIn(temp / "x").data, temp / "x/");
}

TEST(AppFolders, AnInstalledProgramKeepsThePersonsFilesInTheXdgFolders)
{
    TempFolder temp;
    {
        const ScopedVariable config("XDG_CONFIG_HOME", (temp / "config").c_str());
        const ScopedVariable data("XDG_DATA_HOME", (temp / "data").c_str());
        const AppFolders folders = appFoldersFor("/usr/lib/vimbrel", false);
        EXPECT_EQ(folders.program, "/usr/lib/vimbrel/");
        EXPECT_EQ(folders.settings, temp / "config/vimbrel/");
        EXPECT_EQ(folders.data, temp / "data/vimbrel/");
        EXPECT_TRUE(fs::isDirectory(folders.settings));
        EXPECT_TRUE(fs::isDirectory(folders.data));
    }
    // Unset or relative variables fall back to the home folder.
    const ScopedVariable home("HOME", temp.path().c_str());
    const ScopedVariable config("XDG_CONFIG_HOME", "relative/config");
    const ScopedVariable data("XDG_DATA_HOME", nullptr);
    const AppFolders folders = appFoldersFor("/usr/lib/vimbrel/", false);
    EXPECT_EQ(folders.settings, temp / ".config/vimbrel/");
    EXPECT_EQ(folders.data, temp / ".local/share/vimbrel/");
}

} // namespace
} // namespace vimbrel
