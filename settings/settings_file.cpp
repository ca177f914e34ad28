#include "settings/settings_file.h"

#include <algorithm>
#include <string_view>

#include "platform/byte_text.h"
#include "platform/file_error.h"
#include "platform/file_system.h"
#include "platform/file_writer.h"
#include "platform/sys_calls.h"
#include "platform/whole_file.h"
#include "settings/comma_text.h"
#include "settings/profile_file.h"
#include "settings/settings_encoding.h"
#include "settings/time_mask_text.h"

namespace vimbrel {
namespace {

// The stored numbers of the time edits when TIME1 to TIME3 are missing or
// unreadable, in tenths of a second.
constexpr int kTime1Default = 10;
constexpr int kTime2Default = 100;
constexpr int kTime3Default = 2;
// The largest number the four positions of a time edit can show.
constexpr int kTimeMax = 9999;
// A settings file is well under a kilobyte; one beyond this is no settings
// file the program wrote. It loads as no file and is never written over.
constexpr size_t kMaxFileBytes = 1 << 20;

std::string writeFailure(const std::string& path)
{
    return path + " に書き込めません";
}

// The time edit text for a stored number; a number the edit cannot hold
// counts as unreadable.
std::string timeText(const ProfileFile& file, std::string_view key, int fallback)
{
    const int tenths = file.readInteger("MENU", key, fallback);
    return TimeMaskText(tenths >= 0 && tenths <= kTimeMax ? tenths : fallback);
}

void dropBlankLines(std::vector<std::string>& lines)
{
    std::erase_if(lines, [](const std::string& line) { return text::trimControls(line).empty(); });
}

// The file a save replaces: a link to a plain file is followed, so that the
// link stays and its target gets the new content.
std::string saveTarget(const std::string& path)
{
    return fs::linkedFile(path);
}

// The new content of `target`; errors name `path`, the settings file as the
// user knows it.
std::string bytesToSave(const std::string& path, const std::string& target, const Options& options,
                        const WindowState& window)
{
    const WholeFile current = readWholeFile(target, kMaxFileBytes);
    if (current.state == WholeFile::State::Unreadable &&
        current.errorNumber != sys::error::kIsFolder) {
        // Writing over a file that could not be read would lose its content.
        throw FileError(writeFailure(path), current.errorNumber);
    }
    ProfileFile file(current.state == WholeFile::State::Read ? decodeSettingsText(current.bytes)
                                                             : std::string());
    writeSettings(file, options, window);
    return file.text();
}

} // namespace

std::string settingsFilePath(const std::string& appFolder)
{
    return fs::withSeparator(appFolder) + kSettingsFileName;
}

LoadedSettings readSettings(const ProfileFile& file)
{
    LoadedSettings loaded;
    const Options firsts;
    WindowState& window = loaded.window;
    window.Top = file.readInteger("FORM", "TOP", window.Top);
    window.Left = file.readInteger("FORM", "LEFT", window.Left);
    window.Width = file.readInteger("FORM", "WIDTH", window.Width);
    window.Height = file.readInteger("FORM", "HEIGHT", window.Height);
    window.Page = file.readInteger("SYSTEM", "PAGE", 0);
    loaded.treePathText = file.readString("IMAGE", "PATH", "");
    window.TreePath = splitCommaText(loaded.treePathText);

    Options& options = loaded.options;
    switch (file.readInteger("MENU", "SHOW", 0)) {
    case 1:
        options.select(&Options::RdoPic);
        break;
    case 2:
        options.select(&Options::RdoNum);
        break;
    default:
        options.select(&Options::RdoFile);
        break;
    }
    options.select(file.readBool("MENU", "ASC", true) ? &Options::RdoAsc : &Options::RdoDesc);
    options.EditTime1 = timeText(file, "TIME1", kTime1Default);
    options.EditTime2 = timeText(file, "TIME2", kTime2Default);
    options.EditTime3 = timeText(file, "TIME3", kTime3Default);
    options.select(file.readBool("MENU", "IE_NORMAL", true) ? &Options::RdoNormal
                                                            : &Options::RdoMax);
    const int smallPosition = file.readInteger("MENU", "SMALL_POS", 0);
    std::string smallPath = file.readString("MENU", "SMALL_PATH", "");
    switch (smallPosition) {
    case 1:
        options.select(&Options::RdoFDwon);
        break;
    case 2:
        options.select(&Options::RdoFWork);
        break;
    case 3:
        options.select(&Options::RdoFETC);
        options.SmallFolder = fs::withSeparator(smallPath);
        break;
    default:
        options.select(&Options::RdoFNon);
        break;
    }
    options.ChkFSub = file.readBool("MENU", "SMALL_SUB", firsts.ChkFSub);

    options.ChkSumName = file.readBool("SUM", "SHOW_NAME", firsts.ChkSumName);
    options.select(file.readBool("SUM", "NAME_TYPE1", true) ? &Options::RdoSumType1
                                                            : &Options::RdoSumType2);

    options.ChkFSel = file.readBool("EXE", "ALL_SEL", firsts.ChkFSel);
    options.MemoPIC = splitCommaText(file.readString("EXE", "PIC", joinCommaText(firsts.MemoPIC)));
    options.MemoMov = splitCommaText(file.readString("EXE", "MOVE", joinCommaText(firsts.MemoMov)));
    dropBlankLines(options.MemoPIC);
    dropBlankLines(options.MemoMov);
    options.ChkDel = file.readBool("EXE", "DELETE", firsts.ChkDel);

    options.ChkFile = file.readBool("OTHER", "RENAME", firsts.ChkFile);
    options.EditFHead = file.readString("OTHER", "HEAD", firsts.EditFHead);
    options.SpinFCnt =
        std::clamp(file.readInteger("OTHER", "COUNT", firsts.SpinFCnt), kSpinFCntMin, kSpinFCntMax);
    options.ChkZero = file.readBool("OTHER", "ZERO", firsts.ChkZero);
    options.SpinKeta =
        std::clamp(file.readInteger("OTHER", "KETA", firsts.SpinKeta), kSpinKetaMin, kSpinKetaMax);
    options.ChKRead = file.readBool("OTHER", "READ", firsts.ChKRead);
    options.ChkDirs = file.readBool("OTHER", "SUB_DIR", firsts.ChkDirs);
    options.ChkAutoNum = file.readBool("OTHER", "AUTO", firsts.ChkAutoNum);
    return loaded;
}

void writeSettings(ProfileFile& file, const Options& options, const WindowState& window)
{
    file.writeInteger("FORM", "TOP", window.Top);
    file.writeInteger("FORM", "LEFT", window.Left);
    file.writeInteger("FORM", "WIDTH", window.Width);
    file.writeInteger("FORM", "HEIGHT", window.Height);
    file.writeInteger("SYSTEM", "PAGE", window.Page == 0 ? 0 : 1);
    file.writeString("IMAGE", "PATH", "\"" + joinCommaText(window.TreePath) + "\"");
    file.writeInteger("MENU", "SHOW", options.RdoPic ? 1 : options.RdoNum ? 2 : 0);
    file.writeBool("MENU", "ASC", options.RdoAsc);
    file.writeString("MENU", "TIME1", options.EditTime1);
    file.writeString("MENU", "TIME2", options.EditTime2);
    file.writeString("MENU", "TIME3", options.EditTime3);
    file.writeBool("MENU", "IE_NORMAL", options.RdoNormal);
    file.writeInteger("MENU", "SMALL_POS",
                      options.RdoFDwon   ? 1
                      : options.RdoFWork ? 2
                      : options.RdoFETC  ? 3
                                         : 0);
    file.writeString("MENU", "SMALL_PATH", options.SmallFolder);
    file.writeBool("MENU", "SMALL_SUB", options.ChkFSub);
    file.writeBool("SUM", "SHOW_NAME", options.ChkSumName);
    file.writeBool("SUM", "NAME_TYPE1", options.RdoSumType1);
    file.writeBool("EXE", "ALL_SEL", options.ChkFSel);
    file.writeString("EXE", "PIC", joinCommaText(options.MemoPIC));
    file.writeString("EXE", "MOVE", joinCommaText(options.MemoMov));
    file.writeBool("EXE", "DELETE", options.ChkDel);
    file.writeBool("OTHER", "RENAME", options.ChkFile);
    file.writeString("OTHER", "HEAD", options.EditFHead);
    file.writeInteger("OTHER", "COUNT", options.SpinFCnt);
    file.writeBool("OTHER", "ZERO", options.ChkZero);
    file.writeInteger("OTHER", "KETA", options.SpinKeta);
    file.writeBool("OTHER", "READ", options.ChKRead);
    file.writeBool("OTHER", "SUB_DIR", options.ChkDirs);
    file.writeBool("OTHER", "AUTO", options.ChkAutoNum);
}

LoadedSettings LoadSettings(const std::string& appFolder)
{
    const WholeFile stored = readWholeFile(settingsFilePath(appFolder), kMaxFileBytes);
    if (stored.state != WholeFile::State::Read) {
        return readSettings(ProfileFile());
    }
    return readSettings(ProfileFile(decodeSettingsText(stored.bytes)));
}

std::string settingsFileBytes(const std::string& appFolder, const Options& options,
                              const WindowState& window)
{
    const std::string path = settingsFilePath(appFolder);
    return bytesToSave(path, saveTarget(path), options, window);
}

void SaveSettings(const std::string& appFolder, const Options& options, const WindowState& window)
{
    const std::string path = settingsFilePath(appFolder);
    const std::string target = saveTarget(path);
    if (fs::isReadOnlyFile(target)) {
        // A read-only settings file is kept as it is, as the user asked.
        throw FileError(writeFailure(path), sys::error::kAccessDenied);
    }
    const std::string bytes = bytesToSave(path, target, options, window);
    if (const int error = replaceFileAtomically(target, bytes)) {
        throw FileError(writeFailure(path), error);
    }
}

} // namespace vimbrel
