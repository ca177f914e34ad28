#pragma once

#include <string>
#include <vector>

#include <QTreeView>

class QAction;
class QMenu;

namespace vimbrel {

class FolderTreeModel;

// The folder tree of the 場所 tab: the root item, the places below it and
// their folders, an indent of 19 pixels, no lines at the root. A right click
// selects the item under the mouse and offers to open the folder in the file
// manager, to rename it in place (which renames the folder on disk) and to
// list its folders again (also F5).
class FolderTree : public QTreeView
{
    Q_OBJECT

public:
    // `model` is the tree's own from then on.
    FolderTree(FolderTreeModel* model, QWidget* parent = nullptr);

    FolderTreeModel* folderModel() const { return mModel; }
    QModelIndex rootItem() const;
    // The selected item, or an invalid index when there is none.
    QModelIndex selectedItem() const;
    // The folder of an item without trailing "/", "" for the root item.
    std::string folderPath(const QModelIndex& index) const;
    // The captions from the level below the root down to `index`, outermost
    // first; empty for the root item.
    std::vector<std::string> captionsBelowRoot(const QModelIndex& index) const;

    // The menu a right click shows, for tests to look into.
    QMenu* contextMenu() const { return mMenu; }

signals:
    // The person chose to open a folder in the file manager.
    void openFolderRequested(const std::string& folder);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openSelected();
    void renameSelected();
    void refreshSelected();

    FolderTreeModel* mModel;
    QMenu* mMenu;
    QAction* mOpenAction;
    QAction* mRenameAction;
    QAction* mRefreshAction;
};

} // namespace vimbrel
