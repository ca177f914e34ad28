#include "app/main_window/main_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window/desktop.h"
#include "app/main_window/folder_tree.h"
#include "app/main_window/folder_tree_model.h"
#include "app/main_window/form_builders.h"
#include "app/main_window/qt_window_controls.h"
#include "app/main_window/qt_window_desktop.h"
#include "app/main_window/rename_preview_panel.h"
#include "app/main_window/window_fonts.h"
#include "app/program_picture.h"
#include "app/window_logic/main_window_logic.h"
#include "platform/file_system.h"

namespace vimbrel {
namespace {

// Room left between a page's farthest control and the page's edge.
constexpr int kPageMargin = 4;

} // namespace

TForm1::TForm1(Desktop& desktop, std::string appFolder, QWidget* parent) : QMainWindow(parent)
{
    buildForm();
    mControlsView = std::make_unique<QtWindowControls>(this, mControls);
    mDesktopView = std::make_unique<QtWindowDesktop>(this, desktop);
    mLogic = std::make_unique<MainWindowLogic>(
        *mControlsView, *mDesktopView, std::move(appFolder),
        fs::withSeparator(QCoreApplication::applicationDirPath().toStdString()));
    connectHandlers();
    FormCreate();
    connectPreview();
}

TForm1::~TForm1()
{
    FormDestroy();
    // The tree's selection may still change while the children are torn
    // down, after this object's members are gone.
    mControls.TreeDrive->selectionModel()->disconnect(this);
    mControls.TreeDrive->folderModel()->disconnect(this);
}

void TForm1::buildForm()
{
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("Vimbrel"));
    setWindowIcon(programIcon());
    setFont(windowFont(12));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* bar = new QWidget(central);
    buildButtonBar(bar, mControls);
    column->addWidget(bar);

    auto* page = new QTabWidget(central);
    page->setObjectName("Page");
    page->setTabPosition(QTabWidget::South);
    page->setUsesScrollButtons(true);
    column->addWidget(page, 1);
    mControls.Page = page;
    struct Tab
    {
        const char* name;
        const char* caption;
        QWidget** control;
    };
    const Tab tabs[] = {{"TabPath", "場所", &mControls.TabPath},
                        {"TabShow", "表示", &mControls.TabShow},
                        {"TabSet", "機能", &mControls.TabSet},
                        {"TabOther", "その他", &mControls.TabOther}};
    for (const Tab& tab : tabs) {
        auto* widget = new QWidget(page);
        widget->setObjectName(tab.name);
        page->addTab(widget, QString::fromUtf8(tab.caption));
        *tab.control = widget;
    }
    buildTabPath(mControls.TabPath, new FolderTreeModel(FolderTreeModel::desktopPlaces()),
                 mControls);
    buildTabShow(mControls.TabShow, mControls);
    buildTabFunction(mControls.TabSet, mControls);
    buildTabOther(mControls.TabOther, mControls);
    setCentralWidget(central);

    // Ctrl+Tab and Ctrl+PageDown go to the next tab, with Shift or PageUp to
    // the one before, wherever the focus is in the window.
    const auto stepPage = [page](int step) {
        for (int tried = 1; tried < page->count(); ++tried) {
            const int next = (page->currentIndex() + step * tried + page->count()) % page->count();
            if (page->isTabEnabled(next)) {
                page->setCurrentIndex(next);
                return;
            }
        }
    };
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [stepPage] { stepPage(1); });
    }
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::Key_PageUp)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [stepPage] { stepPage(-1); });
    }

    auto* status = new QStatusBar(this);
    buildStatusBar(status, mControls);
    setStatusBar(status);
    // Never smaller than the pages' controls need, whole: each page as large
    // as the place of its farthest control, and the bars around them.
    for (QWidget* tab : {mControls.TabShow, mControls.TabSet, mControls.TabOther}) {
        const QRect used = tab->childrenRect();
        tab->setMinimumSize(used.right() + 1 + kPageMargin, used.bottom() + 1 + kPageMargin);
    }
    setMinimumSize(minimumSizeHint());
    resize(400, 350);
}

void TForm1::connectHandlers()
{
    const FormControls& c = mControls;
    MainWindowLogic* logic = mLogic.get();
    connect(c.BtnShow, &QToolButton::clicked, this, &TForm1::BtnShowClick);
    connect(c.BtnVer, &QToolButton::clicked, this, &TForm1::BtnVerClick);
    connect(c.BtnHelp, &QToolButton::clicked, this, &TForm1::BtnHelpClick);
    connect(c.TreeDrive->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TForm1::TreeDriveChange);
    connect(c.TreeDrive->folderModel(), &FolderTreeModel::folderRenamed, this,
            [logic](const std::string& from, const std::string& to) {
                logic->FolderRenamed(from, to);
            });
    // Queued: the refusal comes while the tree's editor hands in its text,
    // and a modal box there would take the editor's focus and hand it in again.
    connect(
        c.TreeDrive->folderModel(), &FolderTreeModel::renameRefused, this,
        [logic](const QString& message) { logic->RenameRefused(message.toStdString()); },
        Qt::QueuedConnection);
    connect(c.TreeDrive, &FolderTree::openFolderRequested, this,
            [logic](const std::string& folder) { logic->OpenFolderRequested(folder); });
    // A radio button reports its change also when the program sets it, as
    // loading the settings does.
    for (QRadioButton* button : {c.RdoFNon, c.RdoFDwon, c.RdoFWork, c.RdoFETC}) {
        connect(button, &QRadioButton::toggled, this, &TForm1::RdoFETCClick);
    }
    connect(c.BtnFdr, &QToolButton::clicked, this, &TForm1::BtnFdrClick);
    connect(c.EditFHead, &QLineEdit::textChanged, this, &TForm1::EditFHeadChange);
    connect(c.SpinFCnt, &QSpinBox::textChanged, this, &TForm1::EditFHeadChange);
    connect(c.ChkZero, &QCheckBox::toggled, this, &TForm1::EditFHeadChange);
    connect(c.SpinKeta, &QSpinBox::valueChanged, this, &TForm1::EditFHeadChange);
    connect(c.BtnExec, &QToolButton::clicked, this, &TForm1::BtnExecClick);
    connect(c.BtnUndo, &QToolButton::clicked, this, &TForm1::BtnUndoClick);
}

void TForm1::connectPreview()
{
    const FormControls& c = mControls;
    MainWindowLogic* logic = mLogic.get();
    mPreview = new RenamePreviewPanel(
        c.MemoPreview, c.LblPreview,
        [logic] {
            return RenamePreviewPanel::Subject{logic->options(), logic->SelectedFolder()};
        },
        this);
    RenamePreviewPanel* preview = mPreview;
    const auto schedule = [preview] { preview->schedule(); };
    // Everything the run reads; 実行 and 元に戻す change the folder itself.
    connect(c.EditFHead, &QLineEdit::textChanged, this, schedule);
    connect(c.SpinFCnt, &QSpinBox::valueChanged, this, schedule);
    connect(c.SpinKeta, &QSpinBox::valueChanged, this, schedule);
    for (QCheckBox* check : {c.ChkFile, c.ChkZero, c.ChkAutoNum, c.ChKRead, c.ChkDirs, c.ChkFSel}) {
        connect(check, &QCheckBox::toggled, this, schedule);
    }
    connect(c.MemoPIC, &QPlainTextEdit::textChanged, this, schedule);
    connect(c.TreeDrive->selectionModel(), &QItemSelectionModel::currentChanged, this, schedule);
    connect(c.TreeDrive->folderModel(), &FolderTreeModel::folderRenamed, this, schedule);
    connect(c.BtnExec, &QToolButton::clicked, this, schedule);
    connect(c.BtnUndo, &QToolButton::clicked, this, schedule);
    connect(c.Page, &QTabWidget::currentChanged, this,
            [preview, page = c.Page, tab = c.TabOther](int) {
                preview->setShown(page->currentWidget() == tab);
            });
    preview->setShown(c.Page->currentWidget() == c.TabOther);
}

void TForm1::FormCreate()
{
    mLogic->FormCreate();
}
void TForm1::FormClose()
{
    mLogic->FormClose();
}
void TForm1::FormDestroy()
{
    mLogic->FormDestroy();
}
bool TForm1::ViewerStillOpen()
{
    return mLogic->ViewerStillOpen();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}
void TForm1::BtnShowClick()
{
    mLogic->BtnShowClick();
}
void TForm1::BtnVerClick()
{
    mLogic->BtnVerClick();
}
void TForm1::BtnHelpClick()
{
    mLogic->BtnHelpClick();
}
void TForm1::TreeDriveChange()
{
    mLogic->TreeDriveChange();
}
void TForm1::RdoFETCClick()
{
    mLogic->RdoFETCClick();
}
void TForm1::BtnFdrClick()
{
    mLogic->BtnFdrClick();
}
void TForm1::EditFHeadChange()
{
    mLogic->EditFHeadChange();
}
void TForm1::BtnExecClick()
{
    mLogic->BtnExecClick();
}
void TForm1::BtnUndoClick()
{
    mLogic->BtnUndoClick();
}

void TForm1::SelectTreePath(const std::vector<std::string>& storedPath)
{
    mLogic->SelectTreePath(storedPath);
}

void TForm1::StartWithFolder(const std::string& folder)
{
    mLogic->StartWithFolder(folder);
}

void TForm1::setAboutBox(QWidget* aboutBox)
{
    mDesktopView->setAboutBox(aboutBox);
}
Options TForm1::options() const
{
    return mLogic->options();
}
WindowState TForm1::windowState() const
{
    return mLogic->windowState();
}
const std::string& TForm1::AppFolder() const
{
    return mLogic->AppFolder();
}
const AppFolders& TForm1::folders() const
{
    return mLogic->folders();
}
const std::string& TForm1::SelectedFolder() const
{
    return mLogic->SelectedFolder();
}
const std::string& TForm1::SmallFolder() const
{
    return mLogic->SmallFolder();
}
const std::vector<std::string>& TForm1::TreePath() const
{
    return mLogic->TreePath();
}
WindowUserInterface& TForm1::userInterface() const
{
    return mLogic->userInterface();
}
HelpWindow* TForm1::helpWindow() const
{
    return mDesktopView->helpWindow();
}
QProgressDialog* TForm1::progressDialog() const
{
    return mDesktopView->progressDialog();
}

} // namespace vimbrel
