#pragma once

#include <string>

namespace vimbrel::show_messages {

// The messages with which the Show command stops. Line breaks are CR
// characters, as the message box shows them.
inline constexpr const char* kNoFolder = "フォルダが選択されてません";
inline constexpr const char* kNoWorkArea = "ワーク領域が作成できません";
inline constexpr const char* kNoFiles = "ファイルがありません";

inline std::string folderMissing(const std::string& SelectedFolder)
{
    return "選択したフォルダが存在しません\rPATH=" + SelectedFolder;
}

inline std::string smallFolderIsPictureFolder(const std::string& SelectedFolder)
{
    return "「小画像作成先フォルダ」と「選択フォルダ」が同じになっています。\r\rPATH=" +
           SelectedFolder;
}

inline std::string smallFolderNotChosen(const std::string& SelectedFolder)
{
    return "「小画像作成先フォルダ」が選択されてません。\r\rPATH=" + SelectedFolder;
}

} // namespace vimbrel::show_messages
