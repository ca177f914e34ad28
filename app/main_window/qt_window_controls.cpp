#include "app/main_window/qt_window_controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>

#include "app/main_window/folder_tree.h"
#include "app/main_window/folder_tree_model.h"
#include "app/main_window/memo_lines.h"
#include "app/main_window/time_edit.h"

namespace vimbrel {
namespace {

QString qt(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

QtWindowControls::QtWindowControls(QWidget* window, const FormControls& controls)
    : mWindow(window), mControls(controls)
{
}

QWidget* QtWindowControls::widget(Control control) const
{
    const FormControls& c = mControls;
    switch (control) {
    case Control::RdoFile:
        return c.RdoFile;
    case Control::RdoNum:
        return c.RdoNum;
    case Control::RdoPic:
        return c.RdoPic;
    case Control::RdoFNon:
        return c.RdoFNon;
    case Control::RdoFDwon:
        return c.RdoFDwon;
    case Control::RdoFWork:
        return c.RdoFWork;
    case Control::RdoFETC:
        return c.RdoFETC;
    case Control::BtnFdr:
        return c.BtnFdr;
    case Control::ChkFSub:
        return c.ChkFSub;
    case Control::RdoAsc:
        return c.RdoAsc;
    case Control::RdoDesc:
        return c.RdoDesc;
    case Control::EditTime1:
        return c.EditTime1;
    case Control::EditTime2:
        return c.EditTime2;
    case Control::EditTime3:
        return c.EditTime3;
    case Control::ChkSumName:
        return c.ChkSumName;
    case Control::RdoSumType1:
        return c.RdoSumType1;
    case Control::RdoSumType2:
        return c.RdoSumType2;
    case Control::RdoNormal:
        return c.RdoNormal;
    case Control::RdoMax:
        return c.RdoMax;
    case Control::ChkFSel:
        return c.ChkFSel;
    case Control::MemoPIC:
        return c.MemoPIC;
    case Control::MemoMov:
        return c.MemoMov;
    case Control::ChkDel:
        return c.ChkDel;
    case Control::TabOther:
        return c.TabOther;
    case Control::ChkFile:
        return c.ChkFile;
    case Control::LblSample:
        return c.LblSample;
    case Control::EditFHead:
        return c.EditFHead;
    case Control::SpinFCnt:
        return c.SpinFCnt;
    case Control::ChkZero:
        return c.ChkZero;
    case Control::SpinKeta:
        return c.SpinKeta;
    case Control::ChKRead:
        return c.ChKRead;
    case Control::ChkDirs:
        return c.ChkDirs;
    case Control::ChkAutoNum:
        return c.ChkAutoNum;
    case Control::BtnExec:
        return c.BtnExec;
    case Control::BtnUndo:
        return c.BtnUndo;
    case Control::StatusCount:
        return c.StatusPanels[1];
    case Control::StatusPath:
        return c.StatusPanels[3];
    case Control::StatusNote:
        return c.Status;
    }
    return nullptr;
}

bool QtWindowControls::isChecked(Control control) const
{
    const auto* button = qobject_cast<const QAbstractButton*>(widget(control));
    return button != nullptr && button->isChecked();
}

void QtWindowControls::setChecked(Control control, bool checked)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget(control))) {
        button->setChecked(checked);
    }
}

std::string QtWindowControls::text(Control control) const
{
    QWidget* w = widget(control);
    if (const auto* time = dynamic_cast<const TimeEdit*>(w)) {
        return time->timeText();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        return edit->text().toStdString();
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(w)) {
        return spin->text().toStdString();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text().toStdString();
    }
    if (const auto* status = qobject_cast<const QStatusBar*>(w)) {
        return status->currentMessage().toStdString();
    }
    return {};
}

void QtWindowControls::setText(Control control, const std::string& text)
{
    QWidget* w = widget(control);
    if (auto* status = qobject_cast<QStatusBar*>(w)) {
        if (text.empty()) {
            status->clearMessage();
        } else {
            status->showMessage(qt(text), kStatusNoteMilliseconds);
        }
    } else if (auto* time = dynamic_cast<TimeEdit*>(w)) {
        time->setTimeText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(qt(text));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(qt(text));
    }
}

void QtWindowControls::setValue(Control control, int value)
{
    if (auto* spin = qobject_cast<QSpinBox*>(widget(control))) {
        spin->setValue(value);
    }
}

std::vector<std::string> QtWindowControls::lines(Control control) const
{
    const auto* memo = qobject_cast<const QPlainTextEdit*>(widget(control));
    return memo != nullptr ? memoLines(memo) : std::vector<std::string>{};
}

void QtWindowControls::setLines(Control control, const std::vector<std::string>& lines)
{
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget(control))) {
        setMemoLines(memo, lines);
    }
}

void QtWindowControls::setEnabled(Control control, bool enabled)
{
    if (QWidget* w = widget(control)) {
        w->setEnabled(enabled);
    }
}

void QtWindowControls::setHint(Control control, const std::string& hint)
{
    if (QWidget* w = widget(control)) {
        w->setToolTip(qt(hint));
    }
}

QWidget* QtWindowControls::page(TabPage page) const
{
    switch (page) {
    case TabPage::Path:
        return mControls.TabPath;
    case TabPage::Show:
        return mControls.TabShow;
    case TabPage::Function:
        return mControls.TabSet;
    case TabPage::Other:
        return mControls.TabOther;
    }
    return mControls.TabPath;
}

TabPage QtWindowControls::currentPage() const
{
    for (TabPage candidate : {TabPage::Path, TabPage::Show, TabPage::Function, TabPage::Other}) {
        if (mControls.Page->currentWidget() == page(candidate)) {
            return candidate;
        }
    }
    return TabPage::Path;
}

void QtWindowControls::showPage(TabPage shown)
{
    mControls.Page->setCurrentWidget(page(shown));
}

WindowBounds QtWindowControls::bounds() const
{
    const QSize size = mWindow->size() == mShownSize ? mStoredSize : mWindow->size();
    return {mWindow->x(), mWindow->y(), size.width(), size.height()};
}

void QtWindowControls::setBounds(const WindowBounds& bounds)
{
    mWindow->move(bounds.left, bounds.top);
    mStoredSize = QSize(bounds.width, bounds.height);
    mShownSize = mStoredSize.expandedTo(mWindow->minimumSize());
    mWindow->resize(mShownSize);
}

// Tree items are the model's own keys of its items.
TreeItem QtWindowControls::rootItem()
{
    return TreeItem(mControls.TreeDrive->rootItem().internalPointer());
}

TreeItem QtWindowControls::currentItem()
{
    return TreeItem(mControls.TreeDrive->currentIndex().internalPointer());
}

void QtWindowControls::expand(TreeItem item)
{
    mControls.TreeDrive->expand(mControls.TreeDrive->folderModel()->itemFor(item));
}

TreeItem QtWindowControls::childByCaption(TreeItem parent, const std::string& caption)
{
    FolderTreeModel* model = mControls.TreeDrive->folderModel();
    return TreeItem(model->childByCaption(model->itemFor(parent), caption).internalPointer());
}

void QtWindowControls::select(TreeItem item)
{
    const QModelIndex index = mControls.TreeDrive->folderModel()->itemFor(item);
    mControls.TreeDrive->setCurrentIndex(index);
    mControls.TreeDrive->scrollTo(index);
}

std::string QtWindowControls::folderPath(TreeItem item)
{
    return mControls.TreeDrive->folderPath(mControls.TreeDrive->folderModel()->itemFor(item));
}

std::vector<std::string> QtWindowControls::captionsBelowRoot(TreeItem item)
{
    return mControls.TreeDrive->captionsBelowRoot(
        mControls.TreeDrive->folderModel()->itemFor(item));
}

bool QtWindowControls::selectFolder(const std::string& folder)
{
    const QModelIndex index = mControls.TreeDrive->folderModel()->itemForPath(folder);
    if (!index.isValid()) {
        return false;
    }
    select(TreeItem(index.internalPointer()));
    return true;
}

} // namespace vimbrel
