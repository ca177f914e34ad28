#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file_error.h"
#include "platform/sys_calls.h"
#include "tests/support/temp_folder.h"

namespace vimbrel {
namespace {

using testing::readFile;
using testing::TempFolder;
using Lines = std::vector<std::string>;

LoadedSettings loadFrom(const TempFolder& dir, std::string_view content)
{
    dir.write("Vimbrel.INI", content);
    return LoadSettings(dir.path());
}

// The settings of a file that holds `section` with the one line `line`.
LoadedSettings loadLine(std::string_view section, std::string_view line)
{
    TempFolder dir;
    return loadFrom(dir, "[" + std::string(section) + "]\r\n" + std::string(line) + "\r\n");
}

std::string savedText(const Options& options, const WindowState& window = {})
{
    TempFolder dir;
    SaveSettings(dir.path(), options, window);
    return readFile(dir / "Vimbrel.INI");
}

// Saves `options` and loads them again from the file.
LoadedSettings roundTrip(const Options& options, const WindowState& window = {})
{
    TempFolder dir;
    SaveSettings(dir.path(), options, window);
    return LoadSettings(dir.path());
}

void expectFirstStartValues(const LoadedSettings& loaded)
{
    const WindowState& w = loaded.window;
    EXPECT_EQ(w.Top, 100);
    EXPECT_EQ(w.Left, 100);
    EXPECT_EQ(w.Width, 400);
    EXPECT_EQ(w.Height, 350);
    EXPECT_EQ(w.Page, 0);
    EXPECT_TRUE(w.TreePath.empty());
    EXPECT_EQ(loaded.treePathText, "");
    const Options& o = loaded.options;
    EXPECT_TRUE(o.RdoFile && !o.RdoPic && !o.RdoNum);
    EXPECT_TRUE(o.RdoAsc && !o.RdoDesc);
    EXPECT_EQ(o.EditTime1, "  10");
    EXPECT_EQ(o.EditTime2, " 100");
    EXPECT_EQ(o.EditTime3, "  02");
    EXPECT_TRUE(o.RdoNormal && !o.RdoMax);
    EXPECT_FALSE(o.ChkSumName);
    EXPECT_TRUE(o.RdoSumType1 && !o.RdoSumType2);
    EXPECT_TRUE(o.RdoFNon && !o.RdoFDwon && !o.RdoFWork && !o.RdoFETC);
    EXPECT_TRUE(o.ChkFSub);
    EXPECT_EQ(o.SmallFolder, "");
    EXPECT_EQ(o.MemoPIC, (Lines{"JPEG", "JPG", "GIF", "BMP"}));
    EXPECT_EQ(o.MemoMov, Lines{"AVI"});
    EXPECT_FALSE(o.ChkFSel);
    EXPECT_TRUE(o.ChkDel);
    EXPECT_TRUE(o.ChkFile);
    EXPECT_EQ(o.EditFHead, "Sample");
    EXPECT_EQ(o.SpinFCnt, 1);
    EXPECT_TRUE(o.ChkZero);
    EXPECT_EQ(o.SpinKeta, 4);
    EXPECT_TRUE(o.ChKRead);
    EXPECT_FALSE(o.ChkDirs);
    EXPECT_TRUE(o.ChkAutoNum);
}

TEST(SettingsFile, FirstStartGivesTheFirstStartValuesAndCreatesNothing)
{
    TempFolder dir;
    expectFirstStartValues(LoadSettings(dir.path()));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    // A missing app folder is a first start too.
    expectFirstStartValues(LoadSettings(dir / "not/there/"));
}

TEST(SettingsFile, EveryFieldIsWrittenInTableOrderAndReadBack)
{
    Options o;
    o.select(&Options::RdoNum);
    o.select(&Options::RdoDesc);
    o.EditTime1 = "   5";
    o.EditTime2 = "1234";
    o.EditTime3 = " 300";
    o.select(&Options::RdoMax);
    o.ChkSumName = true;
    o.select(&Options::RdoSumType2);
    o.select(&Options::RdoFETC);
    o.ChkFSub = false;
    o.SmallFolder = "/home/me/small/";
    o.MemoPIC = {"jpg", " png "};
    o.MemoMov = {};
    o.ChkFSel = true;
    o.ChkDel = false;
    o.ChkFile = false;
    o.EditFHead = "写真";
    o.SpinFCnt = 9999;
    o.ChkZero = false;
    o.SpinKeta = 0;
    o.ChKRead = false;
    o.ChkDirs = true;
    o.ChkAutoNum = false;
    WindowState w;
    w.Top = -20;
    w.Left = 3000;
    w.Width = 640;
    w.Height = 480;
    w.Page = 3;
    w.TreePath = {"home", "me"};
    const std::string expected = "[FORM]\r\nTOP=-20\r\nLEFT=3000\r\nWIDTH=640\r\nHEIGHT=480\r\n"
                                 "[SYSTEM]\r\nPAGE=1\r\n"
                                 "[IMAGE]\r\nPATH=\"home,me\"\r\n"
                                 "[MENU]\r\nSHOW=2\r\nASC=0\r\nTIME1=   5\r\nTIME2=1234\r\n"
                                 "TIME3= 300\r\nIE_NORMAL=0\r\nSMALL_POS=3\r\n"
                                 "SMALL_PATH=/home/me/small/\r\nSMALL_SUB=0\r\n"
                                 "[SUM]\r\nSHOW_NAME=1\r\nNAME_TYPE1=0\r\n"
                                 "[EXE]\r\nALL_SEL=1\r\nPIC=jpg,\" png \"\r\nMOVE=\r\nDELETE=0\r\n"
                                 "[OTHER]\r\nRENAME=0\r\nHEAD=写真\r\nCOUNT=9999\r\nZERO=0\r\n"
                                 "KETA=0\r\nREAD=0\r\nSUB_DIR=1\r\nAUTO=0\r\n";
    TempFolder dir;
    SaveSettings(dir.path(), o, w);
    ASSERT_EQ(readFile(dir / "Vimbrel.INI"), expected);

    // Loading and saving again changes nothing: every key is read back.
    const LoadedSettings loaded = LoadSettings(dir.path());
    EXPECT_EQ(loaded.window.Page, 1);
    EXPECT_EQ(loaded.options.EditTime1, "  05");
    EXPECT_EQ(loaded.options.MemoPIC, (Lines{"jpg", " png "}));
    EXPECT_TRUE(loaded.options.MemoMov.empty());
    TempFolder again;
    SaveSettings(again.path(), loaded.options, loaded.window);
    EXPECT_EQ(readFile(again / "Vimbrel.INI"),
              std::string(expected).replace(expected.find("   5"), 4, "  05"));
}

TEST(SettingsFile, TimeEditsKeepTheirTextOrFallBack)
{
    Options o;
    o.EditTime1 = "";
    o.EditTime2 = "";
    o.EditTime3 = "";
    EXPECT_NE(savedText(o).find("TIME1=\r\nTIME2=\r\nTIME3=\r\n"), std::string::npos);
    LoadedSettings loaded = roundTrip(o);
    EXPECT_EQ(loaded.options.EditTime1, "  10");
    EXPECT_EQ(loaded.options.EditTime2, " 100");
    EXPECT_EQ(loaded.options.EditTime3, "  02");

    // "  02" is written with its spaces, read as 2 and shown as "  02" again.
    o.EditTime1 = "  02";
    // Tenths left empty: the text stops after the last filled position.
    o.EditTime2 = "  1";
    // A blank between two digits makes the value no number.
    o.EditTime3 = " 1 0";
    EXPECT_NE(savedText(o).find("TIME1=  02\r\nTIME2=  1\r\nTIME3= 1 0\r\n"), std::string::npos);
    loaded = roundTrip(o);
    EXPECT_EQ(loaded.options.EditTime1, "  02");
    EXPECT_EQ(loaded.options.EditTime2, "  01");
    EXPECT_EQ(loaded.options.EditTime3, "  02");

    // Numbers the four positions cannot show count as unreadable.
    EXPECT_EQ(loadLine("MENU", "TIME1=10000").options.EditTime1, "  10");
    EXPECT_EQ(loadLine("MENU", "TIME1=-5").options.EditTime1, "  10");
    EXPECT_EQ(loadLine("MENU", "TIME1=9999").options.EditTime1, "9999");
    EXPECT_EQ(loadLine("MENU", "TIME2=0x10").options.EditTime2, "  16");
}

TEST(SettingsFile, RadioGroupsFollowTheStoredNumbers)
{
    EXPECT_TRUE(loadLine("MENU", "ASC=2").options.RdoAsc);
    const Options abc = loadLine("MENU", "ASC=abc").options;
    EXPECT_TRUE(abc.RdoAsc && !abc.RdoDesc);
    const Options desc = loadLine("MENU", "ASC=0").options;
    EXPECT_TRUE(desc.RdoDesc && !desc.RdoAsc);

    EXPECT_TRUE(loadLine("MENU", "SHOW=1").options.RdoPic);
    const Options num = loadLine("MENU", "SHOW=2").options;
    EXPECT_TRUE(num.RdoNum && !num.RdoFile && !num.RdoPic);
    const Options outside = loadLine("MENU", "SHOW=5").options;
    EXPECT_TRUE(outside.RdoFile && !outside.RdoPic && !outside.RdoNum);

    EXPECT_TRUE(loadLine("MENU", "IE_NORMAL=0").options.RdoMax);
    const Options type2 = loadLine("SUM", "NAME_TYPE1=0").options;
    EXPECT_TRUE(type2.RdoSumType2 && !type2.RdoSumType1);
    EXPECT_TRUE(loadLine("MENU", "SMALL_POS=2").options.RdoFWork);
    const Options noSmall = loadLine("MENU", "SMALL_POS=-1").options;
    EXPECT_TRUE(noSmall.RdoFNon && !noSmall.RdoFETC);
    EXPECT_EQ(loadLine("SYSTEM", "PAGE=7").window.Page, 7);
}

TEST(SettingsFile, SmallFolderOnlyForTheFreeChoice)
{
    TempFolder dir;
    LoadedSettings loaded = loadFrom(dir, "[MENU]\nSMALL_POS=3\nSMALL_PATH=/pics/small\n");
    EXPECT_TRUE(loaded.options.RdoFETC);
    EXPECT_EQ(loaded.options.SmallFolder, "/pics/small/");
    loaded = loadFrom(dir, "[MENU]\nSMALL_POS=3\nSMALL_PATH=/pics/small/\n");
    EXPECT_EQ(loaded.options.SmallFolder, "/pics/small/");
    loaded = loadFrom(dir, "[MENU]\nSMALL_POS=3\nSMALL_PATH=\n");
    EXPECT_EQ(loaded.options.SmallFolder, "");
    for (const char* position : {"0", "1", "2", "4", "x"}) {
        loaded = loadFrom(dir, "[MENU]\nSMALL_POS=" + std::string(position) +
                                   "\nSMALL_PATH=/pics/small/\n");
        EXPECT_EQ(loaded.options.SmallFolder, "") << position;
    }
}

TEST(SettingsFile, ExtensionListsLoseBlankLinesOnly)
{
    TempFolder dir;
    LoadedSettings loaded = loadFrom(dir, "[EXE]\nPIC=JPG PNG\nMOVE=\n");
    EXPECT_EQ(loaded.options.MemoPIC, (Lines{"JPG", "PNG"}));
    EXPECT_TRUE(loaded.options.MemoMov.empty());
    loaded = loadFrom(dir, "[EXE]\nPIC=\" jpg \",,\"  \",\"\t\",gif,\nMOVE=\"\"\n");
    EXPECT_EQ(loaded.options.MemoPIC, (Lines{" jpg ", "gif"}));
    EXPECT_TRUE(loaded.options.MemoMov.empty());
}

TEST(SettingsFile, TreePathSurvivesQuotesAndBlanks)
{
    WindowState w;
    w.TreePath = {"My Pictures"};
    EXPECT_NE(savedText({}, w).find("PATH=\"\"My Pictures\"\"\r\n"), std::string::npos);
    LoadedSettings loaded = roundTrip({}, w);
    EXPECT_EQ(loaded.window.TreePath, Lines{"My Pictures"});
    EXPECT_EQ(loaded.treePathText, "\"My Pictures\"");

    w.TreePath = {"a b", "写真", "say \"x\"", ""};
    loaded = roundTrip({}, w);
    EXPECT_EQ(loaded.window.TreePath, w.TreePath);
    w.TreePath = {""};
    EXPECT_EQ(roundTrip({}, w).window.TreePath, Lines{""});
    // A folder name with a line break cannot add keys to the file.
    w.TreePath = {"x\n[OTHER]\nHEAD=evil"};
    loaded = roundTrip({}, w);
    EXPECT_EQ(loaded.options.EditFHead, "Sample");
    EXPECT_EQ(loaded.window.TreePath, Lines{"x [OTHER] HEAD=evil"});
}

TEST(SettingsFile, SpinValuesAreClamped)
{
    TempFolder dir;
    LoadedSettings loaded = loadFrom(dir, "[OTHER]\nCOUNT=0\nKETA=12\n");
    EXPECT_EQ(loaded.options.SpinFCnt, 1);
    EXPECT_EQ(loaded.options.SpinKeta, 9);
    loaded = loadFrom(dir, "[OTHER]\nCOUNT=123456\nKETA=-3\n");
    EXPECT_EQ(loaded.options.SpinFCnt, 9999);
    EXPECT_EQ(loaded.options.SpinKeta, 0);
    loaded = loadFrom(dir, "[OTHER]\nCOUNT=0x1F\nKETA=0X2\n");
    EXPECT_EQ(loaded.options.SpinFCnt, 31);
    EXPECT_EQ(loaded.options.SpinKeta, 2);
    loaded = loadFrom(dir, "[OTHER]\nCOUNT=abc\nKETA=\n");
    EXPECT_EQ(loaded.options.SpinFCnt, 1);
    EXPECT_EQ(loaded.options.SpinKeta, 4);
}

TEST(SettingsFile, SavingKeepsWhatTheProgramDoesNotKnow)
{
    TempFolder dir;
    dir.write("Vimbrel.INI", "; my notes\n"
                             "[other]\n"
                             "head = Old\n"
                             "COLOUR=blue\n"
                             "\n"
                             "[PLUGIN]\n"
                             "X=1\n");
    Options o;
    o.EditFHead = "New";
    SaveSettings(dir.path(), o, {});
    EXPECT_EQ(readFile(dir / "Vimbrel.INI"),
              "; my notes\n"
              "[other]\n"
              "head=New\n"
              "COLOUR=blue\n"
              "RENAME=1\n"
              "COUNT=1\nZERO=1\nKETA=4\nREAD=1\nSUB_DIR=0\nAUTO=1\n"
              "\n"
              "[PLUGIN]\n"
              "X=1\n"
              "[FORM]\nTOP=100\nLEFT=100\nWIDTH=400\nHEIGHT=350\n"
              "[SYSTEM]\nPAGE=0\n"
              "[IMAGE]\nPATH=\"\"\n"
              "[MENU]\nSHOW=0\nASC=1\nTIME1=  10\nTIME2= 100\nTIME3=  02\nIE_NORMAL=1\n"
              "SMALL_POS=0\nSMALL_PATH=\nSMALL_SUB=1\n"
              "[SUM]\nSHOW_NAME=0\nNAME_TYPE1=1\n"
              "[EXE]\nALL_SEL=0\nPIC=JPEG,JPG,GIF,BMP\nMOVE=AVI\nDELETE=1\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "Vimbrel.INI.new"));
}

TEST(SettingsFile, FileFromWindowsInCodePage932)
{
    TempFolder dir;
    // HEAD=写真 and SMALL_PATH=/home/me/小画像 in code page 932.
    const LoadedSettings loaded = loadFrom(dir, "\x8E\xCA\x90\x5E=unknown\r\n"
                                                "[OTHER]\r\nHEAD=\x8E\xCA\x90\x5E\r\n"
                                                "[MENU]\r\nSMALL_POS=3\r\n"
                                                "SMALL_PATH=/home/me/\x8F\xAC\x89\xE6\x91\x9C\r\n");
    EXPECT_EQ(loaded.options.EditFHead, "写真");
    EXPECT_EQ(loaded.options.SmallFolder, "/home/me/小画像/");
    SaveSettings(dir.path(), loaded.options, loaded.window);
    const std::string saved = readFile(dir / "Vimbrel.INI");
    EXPECT_EQ(saved.substr(0, 16), "写真=unknown\r\n");
    EXPECT_NE(saved.find("\r\nHEAD=写真\r\n"), std::string::npos);
    EXPECT_EQ(LoadSettings(dir.path()).options.EditFHead, "写真");
}

TEST(SettingsFile, BadFilesLoadWithTheDefaults)
{
    TempFolder dir;
    expectFirstStartValues(loadFrom(dir, ""));
    expectFirstStartValues(loadFrom(dir, "\xEF\xBB\xBF"));
    std::string binary;
    for (int i = 0; i < 65536; ++i) {
        binary += static_cast<char>((i * 151 + 7) % 251);
    }
    expectFirstStartValues(loadFrom(dir, binary));
    // Damaged bytes among good lines: the good lines still count.
    LoadedSettings loaded =
        loadFrom(dir, "\xEF\xBB\xBF[OTHER]\r\nHEAD=ok\r\n\xFF\xFE\x80junk\r\nCOUNT=3\n");
    EXPECT_EQ(loaded.options.EditFHead, "ok");
    EXPECT_EQ(loaded.options.SpinFCnt, 3);
    loaded = loadFrom(dir, "[OTHER]\nHEAD=\xFF\xFEok\n");
    EXPECT_EQ(loaded.options.EditFHead, "\xEF\xBF\xBD\xEF\xBF\xBDok");
    // Close to the largest file read: a million lines before the keys.
    loaded = loadFrom(dir, std::string((1 << 20) - 64, '\n') + "[OTHER\n=\n[OTHER]\nCOUNT=5\n");
    EXPECT_EQ(loaded.options.SpinFCnt, 5);
    // Beyond it the file is no settings file and is not read.
    expectFirstStartValues(loadFrom(dir, "[OTHER]\nCOUNT=5\n" + std::string(1 << 20, ' ')));

    // A folder or a pipe where the file should be.
    TempFolder folder;
    folder.makeFolder("Vimbrel.INI");
    expectFirstStartValues(LoadSettings(folder.path()));
    TempFolder pipe;
    ASSERT_EQ(::mkfifo((pipe / "Vimbrel.INI").c_str(), 0600), 0);
    expectFirstStartValues(LoadSettings(pipe.path()));
}

void expectWriteFailure(const std::string& appFolder, const std::string& path)
{
    try {
        SaveSettings(appFolder, Options{}, WindowState{});
        ADD_FAILURE() << "the save reported no failure";
    } catch (const FileError& error) {
        EXPECT_EQ(std::string(error.what()), path + " に書き込めません");
    }
}

TEST(SettingsFile, FailedSaveLeavesTheOldFileAsItWas)
{
    TempFolder dir;
    const std::string old = "[OTHER]\r\nHEAD=Old\r\nMINE=1\r\n";
    const std::string path = dir.write("Vimbrel.INI", old);
    {
        sys::Calls calls = sys::ScopedCalls::real();
        calls.write = [](int, const void*, size_t) -> std::ptrdiff_t {
            return sys::fail(sys::error::kDiskFull);
        };
        sys::ScopedCalls full(calls);
        expectWriteFailure(dir.path(), path);
    }
    EXPECT_EQ(readFile(path), old);
    EXPECT_FALSE(std::filesystem::exists(path + ".new"));

    // The owner's write permission is taken away: the file is kept.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    expectWriteFailure(dir.path(), path);
    EXPECT_EQ(readFile(path), old);

    // A file too large to be the program's is not written over either.
    TempFolder huge;
    const std::string big = "[OTHER]\nCOUNT=5\n" + std::string((1 << 20) + 1, '#');
    const std::string bigPath = huge.write("Vimbrel.INI", big);
    expectWriteFailure(huge.path(), bigPath);
    EXPECT_EQ(readFile(bigPath), big);

    // The app folder is a file; the folder is a folder named like the file.
    const std::string file = dir.write("plain", "x");
    expectWriteFailure(file + "/", file + "/Vimbrel.INI");
    TempFolder folder;
    folder.makeFolder("Vimbrel.INI");
    expectWriteFailure(folder.path(), folder / "Vimbrel.INI");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Vimbrel.INI"));
}

TEST(SettingsFile, SavingThroughALinkKeepsTheLink)
{
    TempFolder dir;
    const std::string target = dir.write("real/settings.ini", "[MINE]\nX=1\n");
    dir.makeFolder("app");
    std::filesystem::create_symlink(target, dir / "app/Vimbrel.INI");
    SaveSettings(dir / "app/", Options{}, WindowState{});
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "app/Vimbrel.INI"));
    EXPECT_EQ(readFile(target).substr(0, 24), "[MINE]\nX=1\n[FORM]\nTOP=10");
}

} // namespace
} // namespace vimbrel
