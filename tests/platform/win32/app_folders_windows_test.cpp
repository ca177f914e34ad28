// Where the Windows tool keeps the person's files.
#include "platform/app_folders.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/win32/wide_text.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

std::string knownFolder(REFKNOWNFOLDERID id)
{
    wchar_t* path = nullptr;
    EXPECT_TRUE(SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path)));
    const std::string folder = win32::narrow(path);
    ::CoTaskMemFree(path);
    return fs::withSeparator(folder);
}

TEST(WindowsAppFolders, AWritableProgramFolderKeepsEverything)
{
    testing::TempFolder dir;
    const AppFolders folders = appFoldersFor(dir.path());
    EXPECT_EQ(folders.program, dir.path());
    EXPECT_EQ(folders.settings, dir.path());
    EXPECT_EQ(folders.data, dir.path());
    // The probe that found it writable left nothing behind.
    EXPECT_TRUE(fs::listFolder(dir.path()).empty());
}

TEST(WindowsAppFolders, AProgramFolderThatCannotBeWrittenSendsThemToTheProfile)
{
    const AppFolders folders = appFoldersFor("C:\\Program Files\\Vimbrel\\", false);
    EXPECT_EQ(folders.program, "C:\\Program Files\\Vimbrel\\");
    EXPECT_EQ(folders.settings, knownFolder(FOLDERID_RoamingAppData) + "Vimbrel\\");
    EXPECT_EQ(folders.data, knownFolder(FOLDERID_LocalAppData) + "Vimbrel\\");
    EXPECT_TRUE(fs::isDirectory(folders.settings));
    EXPECT_TRUE(fs::isDirectory(folders.data));
}

} // namespace
} // namespace vimbrel
