#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

#include "app/main_window/main_window.h"
#include "app/main_window/memo_lines.h"
#include "app/main_window/time_edit.h"
#include "platform/whole_number.h"

namespace vimbrel {
namespace {

// A spin box's value as its text spells it: the minimum when the text is no
// number, and never outside the box's range.
int spinValue(const QSpinBox* spin)
{
    const int value = readWholeNumberOr(spin->cleanText().toStdString(), spin->minimum());
    return std::clamp(value, spin->minimum(), spin->maximum());
}

void check(QRadioButton* button, bool checked)
{
    if (checked) {
        button->setChecked(true);
    }
}

} // namespace

Options TForm1::options() const
{
    const FormControls& c = mControls;
    Options o;
    o.RdoFile = c.RdoFile->isChecked();
    o.RdoPic = c.RdoPic->isChecked();
    o.RdoNum = c.RdoNum->isChecked();
    o.RdoAsc = c.RdoAsc->isChecked();
    o.RdoDesc = c.RdoDesc->isChecked();
    o.EditTime1 = c.EditTime1->timeText();
    o.EditTime2 = c.EditTime2->timeText();
    o.EditTime3 = c.EditTime3->timeText();
    o.RdoNormal = c.RdoNormal->isChecked();
    o.RdoMax = c.RdoMax->isChecked();
    o.ChkSumName = c.ChkSumName->isChecked();
    o.RdoSumType1 = c.RdoSumType1->isChecked();
    o.RdoSumType2 = c.RdoSumType2->isChecked();
    o.RdoFNon = c.RdoFNon->isChecked();
    o.RdoFDwon = c.RdoFDwon->isChecked();
    o.RdoFWork = c.RdoFWork->isChecked();
    o.RdoFETC = c.RdoFETC->isChecked();
    o.ChkFSub = c.ChkFSub->isChecked();
    o.SmallFolder = mSmallFolder;
    o.MemoPIC = memoLines(c.MemoPIC);
    o.MemoMov = memoLines(c.MemoMov);
    o.ChkFSel = c.ChkFSel->isChecked();
    o.ChkDel = c.ChkDel->isChecked();
    o.ChkFile = c.ChkFile->isChecked();
    o.EditFHead = c.EditFHead->text().toStdString();
    o.SpinFCnt = spinValue(c.SpinFCnt);
    o.ChkZero = c.ChkZero->isChecked();
    o.SpinKeta = spinValue(c.SpinKeta);
    o.ChKRead = c.ChKRead->isChecked();
    o.ChkDirs = c.ChkDirs->isChecked();
    o.ChkAutoNum = c.ChkAutoNum->isChecked();
    return o;
}

WindowState TForm1::windowState() const
{
    WindowState state;
    state.Top = y();
    state.Left = x();
    state.Width = width();
    state.Height = height();
    state.Page = mControls.Page->currentWidget() == mControls.TabPath ? 0 : 1;
    state.TreePath = mTreePath;
    return state;
}

void TForm1::applyDirectSettings(const Options& loaded)
{
    const FormControls& c = mControls;
    c.ChkFSub->setChecked(loaded.ChkFSub);
    c.ChkSumName->setChecked(loaded.ChkSumName);
    // Type2 is the opposite of Type1; a checked radio button cannot be
    // unchecked directly, only by checking the other.
    (loaded.RdoSumType1 ? c.RdoSumType1 : c.RdoSumType2)->setChecked(true);
    c.ChkFSel->setChecked(loaded.ChkFSel);
    setMemoLines(c.MemoPIC, loaded.MemoPIC);
    setMemoLines(c.MemoMov, loaded.MemoMov);
    c.ChkDel->setChecked(loaded.ChkDel);
    c.ChkFile->setChecked(loaded.ChkFile);
    c.EditFHead->setText(QString::fromStdString(loaded.EditFHead));
    c.SpinFCnt->setValue(loaded.SpinFCnt);
    c.ChkZero->setChecked(loaded.ChkZero);
    c.SpinKeta->setValue(loaded.SpinKeta);
    c.ChKRead->setChecked(loaded.ChKRead);
    c.ChkDirs->setChecked(loaded.ChkDirs);
    c.ChkAutoNum->setChecked(loaded.ChkAutoNum);
}

void TForm1::applyLoadedSettings(const Options& loaded, const WindowState& state)
{
    const FormControls& c = mControls;
    move(state.Left, state.Top);
    resize(state.Width, state.Height);
    applyDirectSettings(loaded);

    // The values held back until the direct ones are in place.
    c.Page->setCurrentWidget(state.Page != 0 ? c.TabShow : c.TabPath);
    check(c.RdoPic, loaded.RdoPic);
    check(c.RdoNum, loaded.RdoNum && !loaded.RdoPic);
    check(c.RdoFile, !loaded.RdoPic && !loaded.RdoNum);
    check(loaded.RdoAsc ? c.RdoAsc : c.RdoDesc, true);
    c.EditTime1->setTimeText(loaded.EditTime1);
    c.EditTime2->setTimeText(loaded.EditTime2);
    c.EditTime3->setTimeText(loaded.EditTime3);
    check(loaded.RdoNormal ? c.RdoNormal : c.RdoMax, true);

    removeBlankLines(c.MemoPIC);
    removeBlankLines(c.MemoMov);

    std::string smallPath = loaded.SmallFolder;
    if (!smallPath.empty() && smallPath.back() != '/') {
        smallPath.push_back('/');
    }
    QRadioButton* smallButton = loaded.RdoFDwon   ? c.RdoFDwon
                                : loaded.RdoFWork ? c.RdoFWork
                                : loaded.RdoFETC  ? c.RdoFETC
                                                  : c.RdoFNon;
    smallButton->setChecked(true);
    RdoFETCClick();
    EditFHeadChange();

    // Choosing the stored folder empties SmallFolder, so it is restored after.
    SelectTreePath(state.TreePath);
    if (c.RdoFETC->isChecked()) {
        mSmallFolder = smallPath;
        c.BtnFdr->setToolTip(QString::fromStdString(smallPath));
    }
}

void TForm1::showCommandResults(const Options& after)
{
    const FormControls& c = mControls;
    if (memoLines(c.MemoPIC) != after.MemoPIC) {
        setMemoLines(c.MemoPIC, after.MemoPIC);
    }
    if (memoLines(c.MemoMov) != after.MemoMov) {
        setMemoLines(c.MemoMov, after.MemoMov);
    }
    if (spinValue(c.SpinFCnt) != after.SpinFCnt) {
        c.SpinFCnt->setValue(after.SpinFCnt);
    }
}

} // namespace vimbrel
