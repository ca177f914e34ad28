#include <QLabel>
#include <QToolButton>

#include "app/main_window/desktop.h"
#include "app/main_window/folder_tree.h"
#include "app/main_window/folder_tree_model.h"
#include "app/main_window/main_window.h"
#include "platform/file_system.h"
#include "viewer/show/extensions.h"

namespace vimbrel {
namespace {

// Moves `path` along when it lies in or below the renamed folder `from`.
bool followRename(std::string& path, const std::string& from, const std::string& to)
{
    const std::string oldFolder = fs::withSeparator(from);
    if (path.rfind(oldFolder, 0) != 0) {
        return false;
    }
    path = fs::withSeparator(to) + path.substr(oldFolder.size());
    return true;
}

} // namespace

void TForm1::onTreeCurrentChanged(const QModelIndex&, const QModelIndex&)
{
    TreeDriveChange();
}

void TForm1::TreeDriveChange()
{
    // The tree selects its root while the window is still being built.
    if (!mListsExist) {
        return;
    }
    guarded([this] {
        const FolderTree* tree = mControls.TreeDrive;
        const QModelIndex item = tree->currentIndex();
        mSmallFolder.clear();
        mTreePath.clear();
        mSelectedFolder = fs::withSeparator(tree->folderPath(item));
        mTreePath = tree->captionsBelowRoot(item);
        mControls.StatusPanels[3]->setText(QString::fromStdString(mSelectedFolder));
        mControls.StatusPanels[1]->setText(QString::number(countFiles()));
    });
}

int TForm1::countFiles() const
{
    if (mSelectedFolder.empty()) {
        return 0; // the root item is no folder that a listing can open
    }
    // The extension list as it stands: a command cleans it, counting does not.
    const Options current = options();
    int count = 0;
    for (const fs::DirEntry& entry : fs::listFolder(mSelectedFolder)) {
        if (!entry.directory && (!current.ChkFSel || IsImageFile(current, entry.name))) {
            ++count;
        }
    }
    return count;
}

void TForm1::SelectTreePath(const std::vector<std::string>& storedPath)
{
    mSelectedFolder.clear();
    mTreePath.clear();
    if (storedPath.empty()) {
        return;
    }
    mTreePath = storedPath;
    FolderTree* tree = mControls.TreeDrive;
    FolderTreeModel* model = tree->folderModel();
    QModelIndex current = tree->rootItem();
    tree->expand(current);
    for (size_t i = 0; i < storedPath.size(); ++i) {
        const QModelIndex child = model->childByCaption(current, storedPath[i]);
        if (!child.isValid()) {
            return; // expanded as far as the captions match, no folder chosen
        }
        current = child;
        if (i + 1 < storedPath.size()) {
            tree->expand(current);
        } else if (tree->currentIndex() == current) {
            TreeDriveChange(); // selecting the item again would not report it
        } else {
            tree->setCurrentIndex(current);
            tree->scrollTo(current);
        }
    }
}

void TForm1::onFolderRenamed(const std::string& oldPath, const std::string& newPath)
{
    // A renamed folder on the way to the chosen one moves the chosen folder,
    // its captions and the small-image folder with it.
    if (followRename(mSelectedFolder, oldPath, newPath)) {
        mTreePath = mControls.TreeDrive->captionsBelowRoot(mControls.TreeDrive->currentIndex());
        mControls.StatusPanels[3]->setText(QString::fromStdString(mSelectedFolder));
    }
    if (followRename(mSmallFolder, oldPath, newPath)) {
        mControls.BtnFdr->setToolTip(QString::fromStdString(mSmallFolder));
    }
}

void TForm1::onRenameRefused(const QString& message)
{
    mDesktop.showMessage(this, message.toStdString());
}

void TForm1::onOpenFolderRequested(const std::string& folder)
{
    mDesktop.openFolder(folder);
}

} // namespace vimbrel
