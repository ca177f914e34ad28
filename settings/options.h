#pragma once

#include <string>
#include <vector>

namespace vimbrel {

// Every choice the person can make in the main window, one field per option
// control, named after the control, with its first-start value. The commands
// read it at the moment they run and keep no copy.
//
// Radio groups are booleans of which exactly one is true; change them with
// select(), which clears the other buttons of the group.
struct Options
{
    // メニュー表示方法: "ファイル名", "画像", "番号"
    bool RdoFile = true;
    bool RdoPic = false;
    bool RdoNum = false;
    // メニュー表示順: "ファイル名 昇順", "ファイル名 降順"
    bool RdoAsc = true;
    bool RdoDesc = false;
    // 画像表示間隔: the texts of the three time edits, tenths of a second,
    // four digit positions without the fixed point ("  10" shows as 1.0).
    std::string EditTime1 = "  10";
    std::string EditTime2 = " 100";
    std::string EditTime3 = "  02";
    // IE 起動: "標準", "最大"
    bool RdoNormal = true;
    bool RdoMax = false;
    // サムネイル: "ファイル名表示", "Type1", "Type2"
    bool ChkSumName = false;
    bool RdoSumType1 = true;
    bool RdoSumType2 = false;
    // 小画像作成: "作らない", "選択フォルダ直下", "work内", "任意", "差分作成"
    bool RdoFNon = true;
    bool RdoFDwon = false;
    bool RdoFWork = false;
    bool RdoFETC = false;
    bool ChkFSub = true;
    // The folder chosen with 指定 for small images, ending in "/", or empty.
    std::string SmallFolder;
    // 静止画 拡張子 and 動画 拡張子: one extension per line, without the point.
    std::vector<std::string> MemoPIC = {"JPEG", "JPG", "GIF", "BMP"};
    std::vector<std::string> MemoMov = {"AVI"};
    // 画像ファイルを絞る, 終了後ﾌｧｲﾙを削除
    bool ChkFSel = false;
    bool ChkDel = true;
    // The rename tab: ファイル名をリネームする, the prefix, the start number
    // (1 to 9999), ZEROサプレスする, the width (0 to 9),
    // 読み取り専用ファイルは解除する, 選択フォルダ配下も行う, 自動
    bool ChkFile = true;
    std::string EditFHead = "Sample";
    int SpinFCnt = 1;
    bool ChkZero = true;
    int SpinKeta = 4;
    bool ChKRead = true;
    bool ChkDirs = false;
    bool ChkAutoNum = true;

    // Checks `button` and clears the other buttons of its group, for example
    // options.select(&Options::RdoDesc).
    void select(bool Options::*button);
};

// The ranges of the two spin boxes; a value set from outside is clamped.
inline constexpr int kSpinFCntMin = 1;
inline constexpr int kSpinFCntMax = 9999;
inline constexpr int kSpinKetaMin = 0;
inline constexpr int kSpinKetaMax = 9;

} // namespace vimbrel
