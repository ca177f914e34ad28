#include "app/win32/form_layout.h"

#include "app/win32/control_ids.h"

namespace vimbrel::win32 {
namespace {

constexpr int kNone = kStaticId;
using C = Control;
using K = Kind;
constexpr TabPage S = TabPage::Show;
constexpr TabPage F = TabPage::Function;
constexpr TabPage O = TabPage::Other;

// Left column top to bottom, then the right one; on the other pages from the
// top down. A radio button that starts its group carries `startsGroup`.
constexpr PlacedControl kPageControls[] = {
    // 表示
    {kNone, K::Group, "メニュー表示方法", S, 4, 2, 190, 42},
    {idOf(C::RdoFile), K::Radio, "ファイル名", S, 12, 20, 84, 18, true, true, true, Glyph::None,
     true},
    {idOf(C::RdoNum), K::Radio, "番号", S, 99, 20, 44, 18},
    {idOf(C::RdoPic), K::Radio, "画像", S, 144, 20, 44, 18},
    {kNone, K::Group, "小画像作成", S, 4, 46, 190, 120},
    {idOf(C::RdoFNon), K::Radio, "作らない", S, 12, 64, 120, 18, true, true, true, Glyph::None,
     true},
    {idOf(C::RdoFDwon), K::Radio, "選択フォルダ直下", S, 12, 82, 120, 18},
    {idOf(C::RdoFWork), K::Radio, "work内", S, 12, 100, 120, 18},
    {idOf(C::RdoFETC), K::Radio, "任意", S, 12, 118, 60, 18},
    {idOf(C::BtnFdr), K::Button, "指定", S, 74, 116, 57, 22, false, false, true, Glyph::Folder},
    {idOf(C::ChkFSub), K::Check, "差分作成", S, 12, 142, 120, 18, true},
    {kNone, K::Group, "メニュー表示順", S, 4, 168, 190, 58},
    {idOf(C::RdoAsc), K::Radio, "ファイル名 昇順", S, 12, 186, 170, 18, true, true, true,
     Glyph::None, true},
    {idOf(C::RdoDesc), K::Radio, "ファイル名 降順", S, 12, 204, 170, 18},
    {kNone, K::Group, "画像表示間隔", S, 198, 2, 190, 94},
    {kNone, K::Label, "タイマー１", S, 208, 23, 70, 16},
    {idOf(C::EditTime1), K::TimeEdit, "  10", S, 282, 20, 64, 22},
    {kNone, K::Label, "秒", S, 352, 23, 20, 16},
    {kNone, K::Label, "タイマー２", S, 208, 47, 70, 16},
    {idOf(C::EditTime2), K::TimeEdit, " 100", S, 282, 44, 64, 22},
    {kNone, K::Label, "秒", S, 352, 47, 20, 16},
    {kNone, K::Label, "タイマー３", S, 208, 71, 70, 16},
    {idOf(C::EditTime3), K::TimeEdit, "  02", S, 282, 68, 64, 22},
    {kNone, K::Label, "秒", S, 352, 71, 20, 16},
    {kNone, K::Group, "サムネイル", S, 198, 98, 190, 60},
    {idOf(C::ChkSumName), K::Check, "ファイル名表示", S, 206, 116, 170, 18},
    {idOf(C::RdoSumType1), K::Radio, "Type1", S, 218, 136, 70, 18, true, true, true, Glyph::None,
     true},
    {idOf(C::RdoSumType2), K::Radio, "Type2", S, 294, 136, 70, 18},
    {kNone, K::Group, "IE 起動", S, 198, 160, 190, 42},
    {idOf(C::RdoNormal), K::Radio, "標準", S, 206, 178, 70, 18, true, true, true, Glyph::None,
     true},
    {idOf(C::RdoMax), K::Radio, "最大", S, 284, 178, 70, 18},

    // 機能: the frames first, so that the controls over them stay in front.
    {kNone, K::SunkenFrame, "", F, 4, 4, 236, 222},
    {kNone, K::SunkenFrame, "", F, 244, 4, 144, 222},
    {idOf(C::ChkFSel), K::Check, "画像ファイルを絞る", F, 12, 12, 200, 18},
    {kNone, K::Label, "静止画 拡張子", F, 12, 38, 100, 16},
    {idOf(C::MemoPIC), K::Memo, "JPEG\r\nJPG\r\nGIF\r\nBMP", F, 12, 56, 100, 160},
    // The movie list is kept in the settings only; nobody edits it here.
    {kNone, K::Label, "動画 拡張子", F, 124, 38, 100, 16, false, false, false},
    {idOf(C::MemoMov), K::Memo, "AVI", F, 124, 56, 100, 160, false, false, false},
    {idOf(C::ChkDel), K::Check, "終了後ﾌｧｲﾙを削除", F, 252, 12, 132, 18},

    // その他
    {idOf(C::ChkFile), K::Check, "ファイル名をリネームする", O, 8, 6, 240, 18, true},
    {kNone, K::RaisedFrame, "", O, 8, 28, 380, 26},
    {kNone, K::Label, "[テスト] TEST.TXT ==>", O, 16, 33, 130, 16},
    {idOf(C::LblSample), K::Label, "Sample0001.TXT", O, 150, 33, 230, 16},
    {kNone, K::Label, "ファイル名", O, 8, 67, 60, 16},
    {idOf(C::EditFHead), K::Edit, "Sample", O, 74, 64, 146, 22},
    {kNone, K::Label, "＋", O, 226, 67, 16, 16},
    {idOf(C::SpinFCnt), K::Spin, "1", O, 244, 64, 64, 22},
    {idOf(C::ChkZero), K::Check, "ZEROサプレスする", O, 8, 96, 130, 18, true},
    {idOf(C::SpinKeta), K::ArrowSpin, "4", O, 140, 94, 40, 22},
    {kNone, K::Label, "桁", O, 184, 97, 20, 16},
    {idOf(C::ChkAutoNum), K::Check, "自動", O, 244, 96, 80, 18},
    {idOf(C::ChKRead), K::Check, "読み取り専用ファイルは解除する", O, 8, 124, 260, 18, true},
    {idOf(C::ChkDirs), K::Check, "選択フォルダ配下も行う ", O, 8, 148, 260, 18},
    {idOf(C::BtnExec), K::Button, "実行", O, 8, 176, 57, 22, false, true, true, Glyph::Execute},
    // 元に戻す waits for a rename run to leave a journal.
    {idOf(C::BtnUndo), K::Button, "元に戻す", O, 72, 176, 84, 22, false, false, true, Glyph::Undo},
};

constexpr BarButton kBarButtons[] = {
    {kBtnShowId, "表示", Glyph::Show},
    {kBtnVerId, "Ver", Glyph::Version},
    {kBtnHelpId, "Help", Glyph::Help},
};

constexpr TabCaption kTabs[] = {{TabPage::Path, "場所"},
                                {TabPage::Show, "表示"},
                                {TabPage::Function, "機能"},
                                {TabPage::Other, "その他"}};

} // namespace

std::span<const PlacedControl> pageControls()
{
    return kPageControls;
}

std::span<const BarButton> barButtons()
{
    return kBarButtons;
}

std::span<const TabCaption> tabs()
{
    return kTabs;
}

} // namespace vimbrel::win32
