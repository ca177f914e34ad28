#include "app/main_window/folder_tree.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "app/main_window/folder_tree_model.h"

namespace vimbrel {

FolderTree::FolderTree(FolderTreeModel* model, QWidget* parent)
    : QTreeView(parent), mModel(model), mMenu(new QMenu(this))
{
    mModel->setParent(this);
    setModel(mModel);
    setHeaderHidden(true);
    setIndentation(19);
    setRootIsDecorated(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setUniformRowHeights(true);
    // Tab leaves the tree; only the arrows, Home/End and typing choose a
    // folder, so that moving the focus never changes what 実行 renames.
    setTabKeyNavigation(false);

    mOpenAction = mMenu->addAction(QStringLiteral("ファイルマネージャで開く"));
    mRenameAction = mMenu->addAction(QStringLiteral("名前の変更"));
    mMenu->addSeparator();
    mRefreshAction = mMenu->addAction(QStringLiteral("最新の情報に更新"));
    connect(mOpenAction, &QAction::triggered, this, &FolderTree::openSelected);
    connect(mRenameAction, &QAction::triggered, this, &FolderTree::renameSelected);
    connect(mRefreshAction, &QAction::triggered, this, &FolderTree::refreshSelected);
    // F5 refreshes as in every file manager (keyPressEvent); the menu shows it.
    mRefreshAction->setShortcut(QKeySequence(Qt::Key_F5));

    // The open folders follow the disk.
    connect(this, &QTreeView::expanded, mModel, &FolderTreeModel::watch);
    connect(this, &QTreeView::collapsed, mModel, &FolderTreeModel::unwatch);

    expand(rootItem());
    setCurrentIndex(rootItem());
}

QModelIndex FolderTree::rootItem() const
{
    return mModel->rootItem();
}

QModelIndex FolderTree::selectedItem() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.front();
}

std::string FolderTree::folderPath(const QModelIndex& index) const
{
    return mModel->folderPath(index);
}

std::vector<std::string> FolderTree::captionsBelowRoot(const QModelIndex& index) const
{
    std::vector<std::string> captions;
    for (QModelIndex item = index; item.isValid() && item != rootItem(); item = item.parent()) {
        captions.insert(captions.begin(), mModel->caption(item));
    }
    return captions;
}

void FolderTree::contextMenuEvent(QContextMenuEvent* event)
{
    const QModelIndex item = indexAt(event->pos());
    if (!item.isValid()) {
        return;
    }
    setCurrentIndex(item);
    const bool folder = !folderPath(item).empty();
    mOpenAction->setEnabled(folder);
    mRenameAction->setEnabled((mModel->flags(item) & Qt::ItemIsEditable) != 0);
    // popup() rather than exec(): the menu does not hold up the window.
    mMenu->popup(event->globalPos());
}

void FolderTree::openSelected()
{
    const std::string folder = folderPath(selectedItem());
    if (!folder.empty()) {
        emit openFolderRequested(folder);
    }
}

void FolderTree::renameSelected()
{
    const QModelIndex item = selectedItem();
    if (item.isValid()) {
        edit(item);
    }
}

void FolderTree::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F5 && event->modifiers() == Qt::NoModifier) {
        refreshSelected();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FolderTree::refreshSelected()
{
    const QModelIndex item = selectedItem();
    if (item.isValid()) {
        mModel->refresh(item);
    }
}

} // namespace vimbrel
