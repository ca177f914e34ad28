#include "app/main_window/main_window.h"

#include <exception>

#include <QCheckBox>
#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window/desktop.h"
#include "app/main_window/folder_tree.h"
#include "app/main_window/folder_tree_model.h"
#include "app/main_window/form_builders.h"
#include "app/main_window/window_fonts.h"
#include "app/main_window/window_user_interface.h"
#include "app/program_picture.h"
#include "platform/file_system.h"
#include "settings/settings_file.h"
#include "viewer/show/work_folder_cleanup.h"

namespace vimbrel {

TForm1::TForm1(Desktop& desktop, std::string appFolder, QWidget* parent)
    : QMainWindow(parent), mDesktop(desktop), mAppFolder(std::move(appFolder))
{
    buildForm();
    mUi = std::make_unique<WindowUserInterface>(this, mControls, mDesktop);
    connectHandlers();
    guarded([this] { FormCreate(); });
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

    auto* status = new QStatusBar(this);
    buildStatusBar(status, mControls);
    setStatusBar(status);
    resize(400, 350);
}

void TForm1::connectHandlers()
{
    const FormControls& c = mControls;
    connect(c.BtnShow, &QToolButton::clicked, this, &TForm1::BtnShowClick);
    connect(c.BtnVer, &QToolButton::clicked, this, &TForm1::BtnVerClick);
    connect(c.BtnHelp, &QToolButton::clicked, this, &TForm1::BtnHelpClick);
    connect(c.TreeDrive->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TForm1::onTreeCurrentChanged);
    connect(c.TreeDrive->folderModel(), &FolderTreeModel::folderRenamed, this,
            &TForm1::onFolderRenamed);
    // Queued: the refusal comes while the tree's editor hands in its text,
    // and a modal box there would take the editor's focus and hand it in again.
    connect(c.TreeDrive->folderModel(), &FolderTreeModel::renameRefused, this,
            &TForm1::onRenameRefused, Qt::QueuedConnection);
    connect(c.TreeDrive, &FolderTree::openFolderRequested, this, &TForm1::onOpenFolderRequested);
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

void TForm1::guarded(const std::function<void()>& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        mDesktop.showError(this, error.what());
    }
}

void TForm1::FormCreate()
{
    mFolders = mAppFolder.empty()
                   ? appFoldersFor(QCoreApplication::applicationDirPath().toStdString())
                   : appFoldersIn(mAppFolder);
    mShowState = ShowState{};
    mTreePath.clear();
    mListsExist = true;
    mSelectedFolder.clear();
    const LoadedSettings loaded = LoadSettings(mFolders.settings);
    applyLoadedSettings(loaded.options, loaded.window);
    updateUndoButton();
}

void TForm1::FormDestroy()
{
    if (mDestroyed) {
        return;
    }
    mDestroyed = true;
    guarded([this] {
        mShowState.ImageNames = {};
        // Saving reads the tree path and the small-image folder, so those
        // stay until it is done. An error here skips the rest.
        SaveSettings(mFolders.settings, options(), windowState());
        mTreePath.clear();
        mShowState.SmallNames = {};
        mListsExist = false;
        if (mControls.ChkDel->isChecked()) {
            DeleteFolderFiles(mFolders.data + "Work/");
        }
    });
}

} // namespace vimbrel
