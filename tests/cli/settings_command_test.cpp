#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/commands.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::readFile;
using testing::TempFolder;

// The file a first start saves: every key, in the order of the key table,
// with its first-start value.
const std::string kFirstStartFile = "[FORM]\r\n"
                                    "TOP=100\r\n"
                                    "LEFT=100\r\n"
                                    "WIDTH=400\r\n"
                                    "HEIGHT=350\r\n"
                                    "[SYSTEM]\r\n"
                                    "PAGE=0\r\n"
                                    "[IMAGE]\r\n"
                                    "PATH=\"\"\r\n"
                                    "[MENU]\r\n"
                                    "SHOW=0\r\n"
                                    "ASC=1\r\n"
                                    "TIME1=  10\r\n"
                                    "TIME2= 100\r\n"
                                    "TIME3=  02\r\n"
                                    "IE_NORMAL=1\r\n"
                                    "SMALL_POS=0\r\n"
                                    "SMALL_PATH=\r\n"
                                    "SMALL_SUB=1\r\n"
                                    "[SUM]\r\n"
                                    "SHOW_NAME=0\r\n"
                                    "NAME_TYPE1=1\r\n"
                                    "[EXE]\r\n"
                                    "ALL_SEL=0\r\n"
                                    "PIC=JPEG,JPG,GIF,BMP\r\n"
                                    "MOVE=AVI\r\n"
                                    "DELETE=1\r\n"
                                    "[OTHER]\r\n"
                                    "RENAME=1\r\n"
                                    "HEAD=Sample\r\n"
                                    "COUNT=1\r\n"
                                    "ZERO=1\r\n"
                                    "KETA=4\r\n"
                                    "READ=1\r\n"
                                    "SUB_DIR=0\r\n"
                                    "AUTO=1\r\n";

struct Outcome
{
    int code;
    std::string out;
    std::string err;
};

Outcome settings(const std::vector<std::string>& args,
                 const std::string& programFolder = "/nonexistent/")
{
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::runSettings(args, programFolder, {out, err});
    return {code, out.str(), err.str()};
}

TEST(SettingsCommand, EmptyAppFolderPrintsTheFirstStartFile)
{
    TempFolder dir;
    const Outcome run = settings({"--app-folder", dir.path()});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, kFirstStartFile);
    // Printing writes nothing.
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(SettingsCommand, PrintsTheLoadedSettingsOfTheProgramFolderByDefault)
{
    TempFolder dir;
    dir.write("Vimbrel.INI", "[OTHER]\nCOUNT=0\nKETA=12\nNOTE=mine\n");
    const Outcome run = settings({}, dir.path());
    EXPECT_EQ(run.code, 0);
    // Clamped values, the unknown key kept, new lines ending like the file's.
    EXPECT_EQ(run.out.substr(0, 61),
              "[OTHER]\nCOUNT=1\nKETA=9\nNOTE=mine\nRENAME=1\nHEAD=Sample\nZERO=1\n");
    EXPECT_NE(run.out.find("\n[FORM]\nTOP=100\n"), std::string::npos);
}

TEST(SettingsCommand, WriteSavesTheFileInsteadOfPrintingIt)
{
    TempFolder dir;
    const std::string app = dir.makeFolder("app");
    // Given relative to the current folder and without the trailing separator.
    const testing::ScopedCurrentFolder inDir(dir.path());
    const Outcome run = settings({"--write", "--app-folder", "app"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(app + "Vimbrel.INI"), kFirstStartFile);
    // A second save of the loaded file changes nothing.
    EXPECT_EQ(settings({"--app-folder", app + "."}).out, kFirstStartFile);
}

TEST(SettingsCommand, WrongArgumentsPrintTheUsage)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--bogus"},
             {"--app-folder"},
             {"--app-folder", ""},
             {"--write", "--write"},
             {"--app-folder", "/tmp", "--app-folder", "/tmp"},
             {"/tmp"},
         }) {
        const Outcome run = settings(args);
        EXPECT_EQ(run.code, 2) << args.front();
        EXPECT_EQ(run.err, cli::kUsage);
        EXPECT_EQ(run.out, "");
    }
}

TEST(SettingsCommand, AFailedWriteIsReported)
{
    TempFolder dir;
    const std::string file = dir.write("plain", "x");
    const Outcome run = settings({"--app-folder", file, "--write"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, file + fs::kSeparator + "Vimbrel.INI に書き込めません\n");
    EXPECT_EQ(readFile(file), "x");
}

} // namespace
} // namespace vimbrel
