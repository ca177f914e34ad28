#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <QAbstractItemModel>
#include <QFileIconProvider>
#include <QFileSystemWatcher>
#include <QTimer>

#include "app/window_logic/window_controls.h"
#include "platform/collation.h"

namespace vimbrel {

// The folders of the machine as the folder tree shows them: one root item,
// below it the places (the home folder, the file system root and the mounted
// volumes), below each place its folders. Folders only, hidden ones left out,
// in file-name order. A folder's children are listed when it is first opened
// and again when it is refreshed, or, while it is open (watch()), when the
// disk says its folders changed: a short pause gathers a burst of changes
// into one listing, made on a worker thread. Whether a
// folder has subfolders at all (and so an expand arrow) is found out on a
// worker thread for the folders just listed, so that a folder of many files
// never holds up the window.
class FolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    // A top-level entry below the root item.
    struct Place
    {
        std::string caption;
        std::string path; // an absolute folder path
        QFileIconProvider::IconType icon = QFileIconProvider::Folder;
    };

    explicit FolderTreeModel(std::vector<Place> places, QObject* parent = nullptr);
    ~FolderTreeModel() override;

    // The home folder, "/" and the mounted volumes a person keeps files on
    // (see isUserVolume).
    static std::vector<Place> desktopPlaces();

    // The one item at the top.
    QModelIndex rootItem() const;
    // The item whose index carries `key` as its internal pointer; the top's
    // invisible parent for 0.
    QModelIndex itemFor(std::uintptr_t key) const;
    // The folder an item stands for, without a trailing "/"; "" for the root
    // item, which is no folder.
    std::string folderPath(const QModelIndex& index) const;
    // The item's caption as bytes, exactly as the tree shows it.
    std::string caption(const QModelIndex& index) const;
    // The child of `parent` whose caption equals `caption` byte for byte,
    // listing the parent's folders first when that has not happened yet.
    QModelIndex childByCaption(const QModelIndex& parent, const std::string& caption);
    // The item of the folder `path` (absolute), reached through the place
    // that holds it most closely and listing the folders on the way; an
    // invalid index where the tree has no such folder (hidden ones, say).
    QModelIndex itemForPath(const std::string& path);
    // Lists the item's folders again, keeping the items that still exist.
    void refresh(const QModelIndex& index);
    // Renames the item's folder on disk. False, with renameRefused emitted,
    // when the name cannot be given.
    bool renameFolder(const QModelIndex& index, const std::string& newName);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // While watched, the item's folders are listed again when they change on
    // disk; the tree watches the items it shows open.
    void watch(const QModelIndex& index);
    void unwatch(const QModelIndex& index);

    // True while subfolders are being looked for on the worker thread.
    bool scanning() const { return mScans > 0; }

signals:
    // The folders just listed are known to have subfolders or not.
    void subfoldersScanned();
    // The user's text for a rename that did not happen.
    void renameRefused(const QString& message);
    // A folder was renamed on disk; the paths below it changed with it.
    // Both paths are without trailing "/".
    void folderRenamed(const std::string& oldPath, const std::string& newPath);

private:
    struct Node;
    struct Entry;

    Node* nodeOf(const QModelIndex& index) const;
    QModelIndex indexOf(Node* node) const;
    std::vector<Entry> listEntries(const Node& node) const;
    // The visible folders of `path`, in name order; safe on any thread.
    static std::vector<Entry> folderEntries(const std::string& path, const Collator& collator);
    // Brings the item's children in line with `entries`, keeping the items
    // that are still there.
    void merge(const QModelIndex& index, const std::vector<Entry>& entries);
    std::unique_ptr<Node> makeNode(const Entry& entry, Node* parent) const;
    void updatePaths(Node& node);
    // Finds out on a worker thread which children of `node` have subfolders.
    void scanChildren(const Node& node);
    void scanFolders(const std::vector<std::string>& folders);
    void applyScan(const std::vector<std::pair<std::string, bool>>& found);
    // Lists the watched folders again that changed since the last time.
    void listChangedFolders();
    Node* listedNodeAt(const std::string& path) const;
    // The watched folders at `from` and below it are at `to` now.
    void moveWatches(const std::string& from, const std::string& to);

    std::vector<Place> mPlaces;
    std::unique_ptr<Node> mTop; // the invisible parent of the root item
    Collator mCollator;
    QFileIconProvider mIcons;
    // The theme is asked once per kind of icon.
    mutable std::map<QFileIconProvider::IconType, QIcon> mIconCache;
    int mScans = 0;
    QFileSystemWatcher* mWatcher;
    QTimer* mChangePause;
    std::set<std::string> mChangedFolders;
};

// The caption of the root item.
inline constexpr const char* kTreeRootCaption = "コンピュータ";
// The caption of the home folder's place.
inline constexpr const char* kHomeCaption = "ホーム";

} // namespace vimbrel
