#pragma once

#include <windows.h>

#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/window_logic/window_controls.h"

namespace vimbrel::win32 {

struct FoundFolder;

// The folder tree of the 場所 tab over the shell's namespace: the desktop at
// the top, below it what the shell shows there (this PC with its drives, the
// network, the user's folders), folders only, with the shell's icons and
// display names, in the shell's order. A folder's children are listed when
// it is first opened and again on F5; shares, network drives and the
// network are listed by a thread of their own, so that the window goes on
// answering while they do. A caption edited in place renames the
// folder through the shell; a right click selects the item and shows the
// shell's menu for it.
class ShellTree : public FolderTreeView
{
public:
    // `tree` is a tree-view control; the tree fills it at once.
    explicit ShellTree(HWND tree);
    ~ShellTree() override;
    ShellTree(const ShellTree&) = delete;
    ShellTree& operator=(const ShellTree&) = delete;

    // What the tree tells its window.
    std::function<void()> selectionChanged;
    std::function<void(const std::string& oldPath, const std::string& newPath)> folderRenamed;
    std::function<void(const std::string& message)> renameRefused;

    // Handles a notification of the tree control; true when it did, with
    // the answer in `result`.
    bool onNotify(const NMHDR& header, LRESULT& result);

    bool selectFolder(const std::string& folder) override;
    // Lists the item's folders again, keeping it open if it was.
    void refresh(TreeItem item);

    TreeItem rootItem() override;
    TreeItem currentItem() override;
    void expand(TreeItem item) override;
    TreeItem childByCaption(TreeItem parent, const std::string& caption) override;
    void select(TreeItem item) override;
    std::string folderPath(TreeItem item) override;
    std::vector<std::string> captionsBelowRoot(TreeItem item) override;

private:
    struct Node;
    Node* nodeOf(HTREEITEM item) const;
    HTREEITEM insert(HTREEITEM parent, std::unique_ptr<Node> node);
    // Lists the item's folders now, on this thread.
    void listChildren(HTREEITEM item);
    // Lists them as the item opens: now, or on a thread of its own where the
    // folder lists slowly.
    void openChildren(HTREEITEM item);
    void insertFound(HTREEITEM item, std::vector<FoundFolder>& folders);
    void listed(std::uint64_t serial, std::vector<FoundFolder>& folders);
    void forgetListing(Node& node);
    static LRESULT CALLBACK treeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR self);
    bool finishRename(HTREEITEM item, const wchar_t* newName);
    void showContextMenu();

    HWND mTree;
    HTREEITEM mRoot = nullptr;
    // The items whose folders a thread lists, by the serial of the listing.
    std::map<std::uint64_t, HTREEITEM> mListings;
    std::uint64_t mLastSerial = 0;
};

} // namespace vimbrel::win32
