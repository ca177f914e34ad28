#include "app/main_window/folder_tree_model.h"

#include <algorithm>
#include <map>
#include <set>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QStorageInfo>
#include <QtConcurrent/QtConcurrentRun>

#include "app/main_window/user_volumes.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"

namespace vimbrel {
namespace {

// How long the disk must be quiet before changed folders are listed again:
// unpacking an archive changes a folder hundreds of times in a second.
constexpr int kChangePauseMs = 200;

} // namespace

struct FolderTreeModel::Entry
{
    std::string caption;
    std::string path;
    QFileIconProvider::IconType icon = QFileIconProvider::Folder;
    bool renamable = true;
};

struct FolderTreeModel::Node
{
    Entry entry;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
    bool listed = false;
    bool virtualFolder = false;
    // Known, before listing, to have no subfolders: no expand arrow.
    bool noSubfolders = false;

    int row() const
    {
        const auto& siblings = parent->children;
        for (size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i].get() == this) {
                return static_cast<int>(i);
            }
        }
        return 0;
    }
};

FolderTreeModel::FolderTreeModel(std::vector<Place> places, QObject* parent)
    : QAbstractItemModel(parent), mPlaces(std::move(places)), mTop(std::make_unique<Node>()),
      mWatcher(new QFileSystemWatcher(this)), mChangePause(new QTimer(this))
{
    mChangePause->setSingleShot(true);
    mChangePause->setInterval(kChangePauseMs);
    connect(mChangePause, &QTimer::timeout, this, &FolderTreeModel::listChangedFolders);
    connect(mWatcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString& path) {
        mChangedFolders.insert(QFile::encodeName(path).toStdString());
        mChangePause->start();
    });
    mTop->listed = true;
    auto root = std::make_unique<Node>();
    root->entry = Entry{kTreeRootCaption, "", QFileIconProvider::Computer, false};
    root->parent = mTop.get();
    root->virtualFolder = true;
    mTop->children.push_back(std::move(root));
}

FolderTreeModel::~FolderTreeModel() = default;

std::vector<FolderTreeModel::Place> FolderTreeModel::desktopPlaces()
{
    std::vector<Place> places;
    const std::string home = QDir::homePath().toStdString();
    places.push_back({kHomeCaption, home, QFileIconProvider::Folder});
    places.push_back({"/", "/", QFileIconProvider::Drive});
    std::set<std::string> captions = {kHomeCaption, "/"};
    const WholeFile mountInfo = readWholeFile("/proc/self/mountinfo", size_t(16) << 20);
    std::map<std::string, MountEntry> mounts;
    for (const MountEntry& mount : parseMountInfo(mountInfo.bytes)) {
        mounts[mount.mountPoint] = mount; // a later mount hides an earlier one
    }
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const std::string path = volume.rootPath().toStdString();
        const auto mount = mounts.find(path);
        if (!volume.isValid() || !volume.isReady() || path == home || mount == mounts.end() ||
            !isUserVolume(mount->second, isRemovableDevice(mount->second.source)) ||
            !fs::isDirectory(path)) {
            continue;
        }
        const std::string caption = volume.displayName().toStdString();
        // Captions lead the way back to a folder, so two places never share one.
        if (captions.insert(caption).second) {
            places.push_back({caption, path, QFileIconProvider::Drive});
        }
    }
    return places;
}

std::vector<FolderTreeModel::Entry> FolderTreeModel::listEntries(const Node& node) const
{
    std::vector<Entry> entries;
    if (node.virtualFolder) {
        for (const Place& place : mPlaces) {
            entries.push_back(Entry{place.caption, place.path, place.icon, false});
        }
        return entries;
    }
    return folderEntries(node.entry.path, mCollator);
}

std::vector<FolderTreeModel::Entry> FolderTreeModel::folderEntries(const std::string& path,
                                                                   const Collator& collator)
{
    std::vector<std::string> names;
    for (const fs::DirEntry& item : fs::listFolder(fs::withSeparator(path))) {
        if (item.directory && !item.hidden) {
            names.push_back(item.name);
        }
    }
    collator.sort(names);
    std::vector<Entry> entries;
    for (const std::string& name : names) {
        entries.push_back(
            Entry{name, fs::withSeparator(path) + name, QFileIconProvider::Folder, true});
    }
    return entries;
}

std::unique_ptr<FolderTreeModel::Node> FolderTreeModel::makeNode(const Entry& entry,
                                                                 Node* parent) const
{
    auto node = std::make_unique<Node>();
    node->entry = entry;
    node->parent = parent;
    return node;
}

FolderTreeModel::Node* FolderTreeModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : mTop.get();
}

QModelIndex FolderTreeModel::indexOf(Node* node) const
{
    if (node == nullptr || node == mTop.get()) {
        return {};
    }
    return createIndex(node->row(), 0, node);
}

QModelIndex FolderTreeModel::itemFor(std::uintptr_t key) const
{
    return indexOf(reinterpret_cast<Node*>(key));
}

QModelIndex FolderTreeModel::rootItem() const
{
    return indexOf(mTop->children.front().get());
}

std::string FolderTreeModel::folderPath(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->entry.path : std::string();
}

std::string FolderTreeModel::caption(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->entry.caption : std::string();
}

QModelIndex FolderTreeModel::childByCaption(const QModelIndex& parent, const std::string& caption)
{
    if (canFetchMore(parent)) {
        fetchMore(parent);
    }
    for (const auto& child : nodeOf(parent)->children) {
        if (child->entry.caption == caption) {
            return indexOf(child.get());
        }
    }
    return {};
}

QModelIndex FolderTreeModel::itemForPath(const std::string& path)
{
    const std::string wanted =
        path.size() > 1 && path.back() == '/' ? path.substr(0, path.size() - 1) : path;
    // A folder holds `wanted` when it is `wanted` or one of its parents.
    const auto holds = [&wanted](const std::string& folder) {
        return wanted == folder ||
               (wanted.rfind(fs::withSeparator(folder), 0) == 0 && !folder.empty());
    };
    QModelIndex item = rootItem();
    for (;;) {
        if (canFetchMore(item)) {
            fetchMore(item);
        }
        // The closest holder: the home folder rather than "/" for a folder
        // at home.
        Node* next = nullptr;
        for (const auto& child : nodeOf(item)->children) {
            if (holds(child->entry.path) &&
                (next == nullptr || child->entry.path.size() > next->entry.path.size())) {
                next = child.get();
            }
        }
        if (next == nullptr) {
            return {};
        }
        item = indexOf(next);
        if (next->entry.path == wanted) {
            return item;
        }
    }
}

void FolderTreeModel::refresh(const QModelIndex& index)
{
    Node* node = nodeOf(index);
    if (!node->listed) {
        // Listed afresh when it is first opened; whether it has subfolders
        // now is looked for again.
        node->noSubfolders = false;
        scanFolders({node->entry.path});
        return;
    }
    merge(index, listEntries(*node));
}

void FolderTreeModel::merge(const QModelIndex& index, const std::vector<Entry>& entries)
{
    Node* node = nodeOf(index);
    auto& children = node->children;
    // Items whose folders are gone go first, from the last to the first.
    for (int row = static_cast<int>(children.size()) - 1; row >= 0; --row) {
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const Entry& entry) {
            return entry.caption == children[row]->entry.caption;
        });
        if (found == entries.end()) {
            beginRemoveRows(index, row, row);
            children.erase(children.begin() + row);
            endRemoveRows();
        }
    }
    // Then every folder takes its row in listing order; an item that was kept
    // moves there with everything below it, a new folder gets a new item.
    for (size_t row = 0; row < entries.size(); ++row) {
        const int at = static_cast<int>(row);
        if (row < children.size() && children[row]->entry.caption == entries[row].caption) {
            continue;
        }
        const auto kept =
            std::find_if(children.begin() + at, children.end(), [&](const auto& child) {
                return child->entry.caption == entries[row].caption;
            });
        if (kept != children.end()) {
            const int from = static_cast<int>(kept - children.begin());
            beginMoveRows(index, from, from, index, at);
            auto moved = std::move(children[from]);
            children.erase(children.begin() + from);
            children.insert(children.begin() + at, std::move(moved));
            endMoveRows();
        } else {
            beginInsertRows(index, at, at);
            children.insert(children.begin() + at, makeNode(entries[row], node));
            endInsertRows();
        }
    }
    scanChildren(*node);
}

bool FolderTreeModel::renameFolder(const QModelIndex& index, const std::string& newName)
{
    Node* node = nodeOf(index);
    if (!index.isValid() || !node->entry.renamable) {
        return false;
    }
    if (newName == node->entry.caption) {
        return true;
    }
    if (newName.empty() || newName == "." || newName == ".." ||
        newName.find('/') != std::string::npos || newName.find('\0') != std::string::npos) {
        emit renameRefused(QString::fromUtf8(kRenameInvalidMessage));
        return false;
    }
    const std::string from = node->entry.path;
    const std::string to = fs::withSeparator(node->parent->entry.path) + newName;
    if (!fs::renameNoReplace(from, to)) {
        emit renameRefused(QString::fromUtf8(kRenameFailedMessage) +
                           "\rPATH=" + QString::fromStdString(fs::withSeparator(from)));
        return false;
    }
    node->entry.caption = newName;
    node->entry.path = to;
    updatePaths(*node);
    moveWatches(from, to);
    emit dataChanged(index, index);
    emit folderRenamed(from, to);
    return true;
}

void FolderTreeModel::watch(const QModelIndex& index)
{
    // What is watched is listed, so that a change has a list to go into.
    if (canFetchMore(index)) {
        fetchMore(index);
    }
    const Node* node = nodeOf(index);
    if (index.isValid() && !node->virtualFolder && !node->entry.path.empty()) {
        mWatcher->addPath(QFile::decodeName(QByteArray::fromStdString(node->entry.path)));
    }
}

void FolderTreeModel::unwatch(const QModelIndex& index)
{
    if (index.isValid()) {
        mWatcher->removePath(
            QFile::decodeName(QByteArray::fromStdString(nodeOf(index)->entry.path)));
    }
}

void FolderTreeModel::moveWatches(const std::string& from, const std::string& to)
{
    for (const QString& watched : mWatcher->directories()) {
        const std::string path = QFile::encodeName(watched).toStdString();
        if (path == from || path.rfind(from + "/", 0) == 0) {
            mWatcher->removePath(watched);
            mWatcher->addPath(
                QFile::decodeName(QByteArray::fromStdString(to + path.substr(from.size()))));
        }
    }
}

FolderTreeModel::Node* FolderTreeModel::listedNodeAt(const std::string& path) const
{
    std::vector<Node*> pending = {mTop.get()};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        if (node->listed && node->entry.path == path && !node->virtualFolder) {
            return node;
        }
        for (const auto& child : node->children) {
            if (child->listed) {
                pending.push_back(child.get());
            }
        }
    }
    return nullptr;
}

void FolderTreeModel::listChangedFolders()
{
    std::vector<std::string> changed(mChangedFolders.begin(), mChangedFolders.end());
    mChangedFolders.clear();
    // Listed on a worker, as a share or a slow disk may take its time; the
    // window goes on meanwhile.
    using Listings = std::vector<std::pair<std::string, std::vector<Entry>>>;
    auto* watcher = new QFutureWatcher<Listings>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        for (const auto& [path, entries] : watcher->result()) {
            // Found again by its path: the tree may have changed meanwhile.
            if (Node* node = listedNodeAt(path)) {
                merge(indexOf(node), entries);
            }
        }
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run([changed = std::move(changed)] {
        const Collator collator;
        Listings listings;
        for (const std::string& path : changed) {
            listings.emplace_back(path, folderEntries(path, collator));
        }
        return listings;
    }));
}

void FolderTreeModel::updatePaths(Node& node)
{
    for (auto& child : node.children) {
        child->entry.path = fs::withSeparator(node.entry.path) + child->entry.caption;
        updatePaths(*child);
    }
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || row >= static_cast<int>(node->children.size())) {
        return {};
    }
    return createIndex(row, 0, node->children[row].get());
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const
{
    return child.isValid() ? indexOf(nodeOf(child)->parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const
{
    return parent.column() > 0 ? 0 : static_cast<int>(nodeOf(parent)->children.size());
}

int FolderTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const Node* node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(node->entry.caption);
    case Qt::DecorationRole: {
        auto cached = mIconCache.find(node->entry.icon);
        if (cached == mIconCache.end()) {
            cached = mIconCache.emplace(node->entry.icon, mIcons.icon(node->entry.icon)).first;
        }
        return cached->second;
    }
    case Qt::ToolTipRole:
        return QString::fromStdString(node->entry.path);
    default:
        return {};
    }
}

bool FolderTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole) {
        return false;
    }
    return renameFolder(index, value.toString().toStdString());
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (nodeOf(index)->entry.renamable) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    return node->listed ? !node->children.empty() : !node->noSubfolders;
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const
{
    return !nodeOf(parent)->listed;
}

void FolderTreeModel::fetchMore(const QModelIndex& parent)
{
    Node* node = nodeOf(parent);
    if (node->listed) {
        return;
    }
    node->listed = true;
    const std::vector<Entry> entries = listEntries(*node);
    if (entries.empty()) {
        return;
    }
    beginInsertRows(parent, 0, static_cast<int>(entries.size()) - 1);
    for (const Entry& entry : entries) {
        node->children.push_back(makeNode(entry, node));
    }
    endInsertRows();
    scanChildren(*node);
}

void FolderTreeModel::scanChildren(const Node& node)
{
    std::vector<std::string> folders;
    for (const auto& child : node.children) {
        if (!child->listed) {
            folders.push_back(child->entry.path);
        }
    }
    scanFolders(folders);
}

void FolderTreeModel::scanFolders(const std::vector<std::string>& folders)
{
    if (folders.empty()) {
        return;
    }
    ++mScans;
    // The watcher is the model's child: a model that goes first takes it
    // along, and the result of the scan is then dropped.
    auto* watcher = new QFutureWatcher<std::vector<std::pair<std::string, bool>>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        --mScans;
        applyScan(watcher->result());
        watcher->deleteLater();
        emit subfoldersScanned();
    });
    watcher->setFuture(QtConcurrent::run([folders] {
        std::vector<std::pair<std::string, bool>> found;
        for (const std::string& folder : folders) {
            found.emplace_back(folder, fs::hasVisibleSubfolder(folder));
        }
        return found;
    }));
}

void FolderTreeModel::applyScan(const std::vector<std::pair<std::string, bool>>& found)
{
    std::map<std::string, bool> byPath(found.begin(), found.end());
    bool changed = false;
    // The tree may have changed while the worker looked: nodes are found
    // again by their paths, and only those not listed since take the answer.
    std::vector<Node*> pending = {mTop.get()};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        for (const auto& child : node->children) {
            const auto known = byPath.find(child->entry.path);
            if (!child->listed && known != byPath.end() && child->noSubfolders == known->second) {
                child->noSubfolders = !known->second;
                changed = true;
            }
            if (child->listed) {
                pending.push_back(child.get());
            }
        }
    }
    if (changed) {
        // Views keep whether an item has children; a new layout asks again.
        emit layoutAboutToBeChanged();
        emit layoutChanged();
    }
}

} // namespace vimbrel
