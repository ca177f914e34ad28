#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>

#include "app/main_window/control_factory.h"
#include "app/main_window/form_builders.h"

namespace vimbrel {
namespace {

QFrame* makeBevel(QWidget* page, const char* name, QRect place)
{
    auto* bevel = new QFrame(page);
    bevel->setObjectName(name);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setGeometry(place);
    return bevel;
}

QPlainTextEdit* makeMemo(QWidget* page, const char* name, const char* lines, QRect place)
{
    auto* memo = new QPlainTextEdit(QString::fromUtf8(lines), page);
    memo->setObjectName(name);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // An extension never holds a tab: Tab moves on, as in every other box.
    memo->setTabChangesFocus(true);
    memo->setGeometry(place);
    return memo;
}

} // namespace

void buildTabFunction(QWidget* page, FormControls& c)
{
    // The frames come first so that the controls over them stay in front.
    c.Bevel3 = makeBevel(page, "Bevel3", {4, 4, 236, 222});
    c.Bevel4 = makeBevel(page, "Bevel4", {244, 4, 144, 222});
    c.ChkFSel = makeCheck(page, "ChkFSel", "画像ファイルを絞る", {12, 12, 200, 18});
    c.Label9 = makeLabel(page, "Label9", "静止画 拡張子", {12, 38, 100, 16});
    c.MemoPIC = makeMemo(page, "MemoPIC", "JPEG\nJPG\nGIF\nBMP", {12, 56, 100, 160});
    // The movie list is kept in the settings only; nobody edits it here.
    c.Label10 = makeLabel(page, "Label10", "動画 拡張子", {124, 38, 100, 16});
    c.MemoMov = makeMemo(page, "MemoMov", "AVI", {124, 56, 100, 160});
    c.Label10->setEnabled(false);
    c.Label10->hide();
    c.MemoMov->setEnabled(false);
    c.MemoMov->hide();
    c.ChkDel = makeCheck(page, "ChkDel", "終了後ﾌｧｲﾙを削除", {252, 12, 132, 18});
}

} // namespace vimbrel
