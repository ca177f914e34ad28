#pragma once

namespace vimbrel {

// The controls of the main window that its behaviour reads or changes, under
// the names the window gives them. Each shell maps them to its widgets.
enum class Control
{
    // 表示
    RdoFile,
    RdoNum,
    RdoPic,
    RdoFNon,
    RdoFDwon,
    RdoFWork,
    RdoFETC,
    BtnFdr,
    ChkFSub,
    RdoAsc,
    RdoDesc,
    EditTime1,
    EditTime2,
    EditTime3,
    ChkSumName,
    RdoSumType1,
    RdoSumType2,
    RdoNormal,
    RdoMax,
    // 機能
    ChkFSel,
    MemoPIC,
    MemoMov,
    ChkDel,
    // その他
    TabOther,
    ChkFile,
    LblSample,
    EditFHead,
    SpinFCnt,
    ChkZero,
    SpinKeta,
    ChKRead,
    ChkDirs,
    ChkAutoNum,
    BtnExec,
    BtnUndo,
    // The status bar's second and fourth panels.
    StatusCount,
    StatusPath,
    // A note over the whole status bar for a while; an empty text takes it
    // away at once.
    StatusNote,
};

// How long a note stays over the status bar.
inline constexpr int kStatusNoteMilliseconds = 20000;

// The pages of the page control, in their order.
enum class TabPage
{
    Path,
    Show,
    Function,
    Other
};

} // namespace vimbrel
