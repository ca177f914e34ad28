#include "app/win32/shell_tree.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <thread>

#include "platform/win32/com_pointer.h"
#include "platform/win32/wide_text.h"

namespace vimbrel::win32 {

// One folder found in a folder: its full item list (owned), display name
// and attributes.
struct FoundFolder
{
    PIDLIST_ABSOLUTE pidl;
    std::string caption;
    SFGAOF attributes;
};

namespace {

// The caption of the item that stands below a folder while a thread lists it.
constexpr const char* kListingCaption = "読み込み中…";

// The refresh command added below the shell's own in the context menu.
constexpr UINT kRefreshCommand = 0x8000;
constexpr UINT kLastShellCommand = 0x7FFF;

// The shell folder an item stands for; the desktop for the empty list.
Com<IShellFolder> folderOf(PCIDLIST_ABSOLUTE pidl)
{
    Com<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.put())) || ILIsEmpty(pidl)) {
        return desktop;
    }
    Com<IShellFolder> folder;
    if (FAILED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder, folder.putVoid()))) {
        folder.p = nullptr;
    }
    return folder;
}

std::wstring displayName(IShellFolder* folder, PCUITEMID_CHILD child)
{
    STRRET name{};
    wchar_t* text = nullptr;
    if (FAILED(folder->GetDisplayNameOf(child, SHGDN_INFOLDER, &name)) ||
        FAILED(::StrRetToStrW(&name, child, &text))) {
        return {};
    }
    std::wstring result = text;
    ::CoTaskMemFree(text);
    return result;
}

int iconOf(PCIDLIST_ABSOLUTE pidl, UINT extra)
{
    SHFILEINFOW info{};
    ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(pidl), 0, &info, sizeof info,
                     SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra);
    return info.iIcon;
}

// The folders in the folder `parent`, in the shell's order. `owner` is the
// window for what the shell may have to ask (a password), or none.
std::vector<FoundFolder> foldersIn(PCIDLIST_ABSOLUTE parent, HWND owner)
{
    std::vector<FoundFolder> result;
    Com<IShellFolder> folder = folderOf(parent);
    Com<IEnumIDList> children;
    if (!folder || folder->EnumObjects(owner, SHCONTF_FOLDERS, children.put()) != S_OK) {
        return result;
    }
    std::vector<PITEMID_CHILD> found;
    PITEMID_CHILD child = nullptr;
    while (children->Next(1, &child, nullptr) == S_OK) {
        found.push_back(child);
    }
    // The shell's own order, as its windows show the folder.
    IShellFolder* shellFolder = folder.p;
    std::sort(found.begin(), found.end(), [shellFolder](PITEMID_CHILD a, PITEMID_CHILD b) {
        return short(HRESULT_CODE(shellFolder->CompareIDs(0, a, b))) < 0;
    });
    for (PITEMID_CHILD each : found) {
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_STREAM | SFGAO_CANRENAME;
        const bool known =
            SUCCEEDED(folder->GetAttributesOf(1, const_cast<PCUITEMID_CHILD*>(&each), &attributes));
        // Folders only: a zip file is a folder to the shell, and a stream.
        if (known && (attributes & SFGAO_FOLDER) != 0 && (attributes & SFGAO_STREAM) == 0) {
            if (PIDLIST_ABSOLUTE full = ILCombine(parent, each)) {
                result.push_back({full, narrow(displayName(folder.p, each)), attributes});
            }
        }
        ::CoTaskMemFree(each);
    }
    return result;
}

// Folders whose listing may take long: shares and network drives, and the
// network itself. They are listed off the window's thread.
bool listsSlowly(PCIDLIST_ABSOLUTE pidl)
{
    wchar_t* name = nullptr;
    if (SUCCEEDED(::SHGetNameFromIDList(pidl, SIGDN_FILESYSPATH, &name))) {
        const std::wstring path = name;
        ::CoTaskMemFree(name);
        if (path.rfind(L"\\\\", 0) == 0) {
            return true;
        }
        return path.size() >= 2 && path[1] == L':' &&
               ::GetDriveTypeW((path.substr(0, 2) + L"\\").c_str()) == DRIVE_REMOTE;
    }
    PIDLIST_ABSOLUTE network = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_NETWORK, &network))) {
        return false;
    }
    const bool isNetwork = ILIsEqual(pidl, network) != FALSE;
    ::CoTaskMemFree(network);
    return isNetwork;
}

// What a listing thread hands back to the tree.
constexpr UINT kListedMessage = WM_APP + 40;
constexpr UINT_PTR kSubclassId = 1;
struct Listing
{
    std::uint64_t serial;
    std::vector<FoundFolder> folders;
};

void freeFound(std::vector<FoundFolder>& folders)
{
    for (FoundFolder& each : folders) {
        ::CoTaskMemFree(each.pidl);
    }
    folders.clear();
}

} // namespace

struct ShellTree::Node
{
    PIDLIST_ABSOLUTE pidl = nullptr;
    std::string caption;
    SFGAOF attributes = 0;
    bool listed = false;
    // Set while a thread lists the folder: the serial its answer carries.
    std::uint64_t listing = 0;

    ~Node() { ::CoTaskMemFree(pidl); }
};

ShellTree::ShellTree(HWND tree) : mTree(tree)
{
    ::SetWindowSubclass(mTree, treeProc, kSubclassId, DWORD_PTR(this));
    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ::SendMessageW(mTree, TVM_SETIMAGELIST, TVSIL_NORMAL, LPARAM(images));

    auto desktop = std::make_unique<Node>();
    if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop->pidl))) {
        return;
    }
    SHFILEINFOW name{};
    ::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktop->pidl), 0, &name, sizeof name,
                     SHGFI_PIDL | SHGFI_DISPLAYNAME);
    desktop->caption = narrow(name.szDisplayName);
    desktop->attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    mRoot = insert(TVI_ROOT, std::move(desktop));
    expand(rootItem());
    ::SendMessageW(mTree, TVM_SELECTITEM, TVGN_CARET, LPARAM(mRoot));
}

ShellTree::~ShellTree()
{
    // The nodes go with their items, as the control reports their deletion.
    ::SendMessageW(mTree, TVM_DELETEITEM, 0, LPARAM(TVI_ROOT));
    ::RemoveWindowSubclass(mTree, treeProc, kSubclassId);
}

ShellTree::Node* ShellTree::nodeOf(HTREEITEM item) const
{
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (item == nullptr || !::SendMessageW(mTree, TVM_GETITEMW, 0, LPARAM(&data))) {
        return nullptr;
    }
    return reinterpret_cast<Node*>(data.lParam);
}

HTREEITEM ShellTree::insert(HTREEITEM parent, std::unique_ptr<Node> node)
{
    std::wstring caption = widen(node->caption);
    TVINSERTSTRUCTW insertion{};
    insertion.hParent = parent;
    insertion.hInsertAfter = TVI_LAST;
    TVITEMW& item = insertion.item;
    item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.pszText = caption.data();
    item.cChildren = (node->attributes & SFGAO_HASSUBFOLDER) != 0 ? 1 : 0;
    item.iImage = iconOf(node->pidl, 0);
    item.iSelectedImage = iconOf(node->pidl, SHGFI_OPENICON);
    item.lParam = LPARAM(node.get());
    auto* inserted =
        reinterpret_cast<HTREEITEM>(::SendMessageW(mTree, TVM_INSERTITEMW, 0, LPARAM(&insertion)));
    if (inserted != nullptr) {
        node.release(); // the item owns it now
    }
    return inserted;
}

void ShellTree::listChildren(HTREEITEM item)
{
    Node* node = nodeOf(item);
    if (node == nullptr || node->listed) {
        return;
    }
    // Asked for the children now (a stored path, a folder to select): a
    // listing under way is overtaken.
    forgetListing(*node);
    node->listed = true;
    std::vector<FoundFolder> folders = foldersIn(node->pidl, ::GetAncestor(mTree, GA_ROOT));
    insertFound(item, folders);
}

void ShellTree::insertFound(HTREEITEM item, std::vector<FoundFolder>& folders)
{
    for (FoundFolder& each : folders) {
        auto childNode = std::make_unique<Node>();
        childNode->pidl = each.pidl;
        each.pidl = nullptr; // the node owns it now
        childNode->caption = std::move(each.caption);
        childNode->attributes = each.attributes;
        insert(item, std::move(childNode));
    }
    // A folder that turned out to have none shows no button.
    TVITEMW data{};
    data.mask = TVIF_CHILDREN;
    data.hItem = item;
    data.cChildren = ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item)) != 0 ? 1 : 0;
    ::SendMessageW(mTree, TVM_SETITEMW, 0, LPARAM(&data));
}

void ShellTree::openChildren(HTREEITEM item)
{
    Node* node = nodeOf(item);
    if (node == nullptr || node->listed || node->listing != 0) {
        return;
    }
    if (!listsSlowly(node->pidl)) {
        listChildren(item);
        return;
    }
    // The window stays usable while a share answers: a thread lists the
    // folder, and an item says so meanwhile.
    node->listing = ++mLastSerial;
    mListings[node->listing] = item;
    TVINSERTSTRUCTW waiting{};
    waiting.hParent = item;
    waiting.hInsertAfter = TVI_LAST;
    waiting.item.mask = TVIF_TEXT | TVIF_PARAM;
    std::wstring caption = widen(kListingCaption);
    waiting.item.pszText = caption.data();
    waiting.item.lParam = 0;
    ::SendMessageW(mTree, TVM_INSERTITEMW, 0, LPARAM(&waiting));
    PIDLIST_ABSOLUTE pidl = ILClone(node->pidl);
    std::thread([tree = mTree, serial = node->listing, pidl] {
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        auto listing = std::make_unique<Listing>(Listing{serial, foldersIn(pidl, nullptr)});
        ::CoTaskMemFree(pidl);
        if (::PostMessageW(tree, kListedMessage, 0, LPARAM(listing.get()))) {
            listing.release(); // the tree frees it
        } else {
            freeFound(listing->folders);
        }
        if (SUCCEEDED(com)) {
            ::CoUninitialize();
        }
    }).detach();
}

void ShellTree::forgetListing(Node& node)
{
    if (node.listing != 0) {
        mListings.erase(node.listing);
        node.listing = 0;
    }
}

LRESULT CALLBACK ShellTree::treeProc(HWND tree, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR self)
{
    if (message == kListedMessage) {
        std::unique_ptr<Listing> listing(reinterpret_cast<Listing*>(lParam));
        reinterpret_cast<ShellTree*>(self)->listed(listing->serial, listing->folders);
        freeFound(listing->folders);
        return 0;
    }
    return ::DefSubclassProc(tree, message, wParam, lParam);
}

void ShellTree::listed(std::uint64_t serial, std::vector<FoundFolder>& folders)
{
    const auto waiting = mListings.find(serial);
    if (waiting == mListings.end()) {
        return; // the folder went, or was listed again meanwhile
    }
    HTREEITEM item = waiting->second;
    Node* node = nodeOf(item);
    forgetListing(*node);
    while (auto* child = reinterpret_cast<HTREEITEM>(
               ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item)))) {
        ::SendMessageW(mTree, TVM_DELETEITEM, 0, LPARAM(child));
    }
    node->listed = true;
    insertFound(item, folders);
}

bool ShellTree::onNotify(const NMHDR& header, LRESULT& result)
{
    result = 0;
    switch (header.code) {
    case TVN_ITEMEXPANDINGW: {
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        if (change.action & TVE_EXPAND) {
            openChildren(change.itemNew.hItem);
        }
        return true;
    }
    case TVN_SELCHANGEDW:
        if (selectionChanged) {
            selectionChanged();
        }
        return true;
    case TVN_DELETEITEMW:
        if (auto* node = reinterpret_cast<Node*>(
                reinterpret_cast<const NMTREEVIEWW&>(header).itemOld.lParam)) {
            forgetListing(*node);
            delete node;
        }
        return true;
    case TVN_BEGINLABELEDITW: {
        const Node* node = nodeOf(reinterpret_cast<const NMTVDISPINFOW&>(header).item.hItem);
        // TRUE cancels: only what the shell can rename is edited.
        result = node == nullptr || (node->attributes & SFGAO_CANRENAME) == 0;
        return true;
    }
    case TVN_ENDLABELEDITW: {
        const auto& edit = reinterpret_cast<const NMTVDISPINFOW&>(header);
        if (edit.item.pszText != nullptr) {
            finishRename(edit.item.hItem, edit.item.pszText);
        }
        result = FALSE; // the caption is set from the shell's new name
        return true;
    }
    case TVN_KEYDOWN:
        if (reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_F5) {
            refresh(currentItem());
            return true;
        }
        return false;
    case NM_RCLICK:
        showContextMenu();
        result = TRUE;
        return true;
    default:
        return false;
    }
}

bool ShellTree::finishRename(HTREEITEM item, const wchar_t* newName)
{
    Node* node = nodeOf(item);
    Node* parent = nodeOf(reinterpret_cast<HTREEITEM>(
        ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_PARENT, LPARAM(item))));
    if (node == nullptr || parent == nullptr) {
        return false;
    }
    if (*newName == L'\0' || std::wcspbrk(newName, L"\\/:*?\"<>|") != nullptr) {
        if (renameRefused) {
            renameRefused(kRenameInvalidMessage);
        }
        return false;
    }
    const std::string oldPath = folderPath(TreeItem(item));
    Com<IShellFolder> folder = folderOf(parent->pidl);
    PITEMID_CHILD renamed = nullptr;
    if (!folder ||
        FAILED(folder->SetNameOf(nullptr, ILFindLastID(node->pidl), newName, SHGDN_INFOLDER,
                                 &renamed)) ||
        renamed == nullptr) {
        if (renameRefused) {
            renameRefused(kRenameFailedMessage);
        }
        return false;
    }
    PIDLIST_ABSOLUTE moved = ILCombine(parent->pidl, renamed);
    node->caption = narrow(displayName(folder.p, renamed));
    ::CoTaskMemFree(renamed);
    if (moved == nullptr) {
        return false;
    }
    ::CoTaskMemFree(node->pidl);
    node->pidl = moved;
    std::wstring caption = widen(node->caption);
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = caption.data();
    ::SendMessageW(mTree, TVM_SETITEMW, 0, LPARAM(&data));
    // The folders below have new paths: they are listed afresh when opened.
    refresh(TreeItem(item));
    if (folderRenamed) {
        folderRenamed(oldPath, folderPath(TreeItem(item)));
    }
    return true;
}

void ShellTree::refresh(TreeItem item)
{
    auto* handle = reinterpret_cast<HTREEITEM>(item);
    Node* node = nodeOf(handle);
    if (node == nullptr) {
        return;
    }
    const bool wasOpen = (::SendMessageW(mTree, TVM_GETITEMSTATE, WPARAM(handle), TVIS_EXPANDED) &
                          TVIS_EXPANDED) != 0;
    while (auto* child = reinterpret_cast<HTREEITEM>(
               ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(handle)))) {
        ::SendMessageW(mTree, TVM_DELETEITEM, 0, LPARAM(child));
    }
    node->listed = false;
    forgetListing(*node);
    TVITEMW data{};
    data.mask = TVIF_CHILDREN | TVIF_STATE;
    data.hItem = handle;
    data.cChildren = 1;
    data.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    ::SendMessageW(mTree, TVM_SETITEMW, 0, LPARAM(&data));
    if (wasOpen) {
        expand(item);
    }
}

void ShellTree::showContextMenu()
{
    POINT screen{};
    ::GetCursorPos(&screen);
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ::ScreenToClient(mTree, &hit.pt);
    auto* item = reinterpret_cast<HTREEITEM>(::SendMessageW(mTree, TVM_HITTEST, 0, LPARAM(&hit)));
    if (item == nullptr) {
        return;
    }
    ::SendMessageW(mTree, TVM_SELECTITEM, TVGN_CARET, LPARAM(item));
    Node* node = nodeOf(item);
    Node* parent = nodeOf(reinterpret_cast<HTREEITEM>(
        ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_PARENT, LPARAM(item))));
    HMENU menu = ::CreatePopupMenu();
    Com<IContextMenu> shellMenu;
    if (parent != nullptr) {
        Com<IShellFolder> folder = folderOf(parent->pidl);
        PCUITEMID_CHILD child = ILFindLastID(node->pidl);
        if (folder && SUCCEEDED(folder->GetUIObjectOf(mTree, 1, &child, IID_IContextMenu, nullptr,
                                                      shellMenu.putVoid()))) {
            shellMenu->QueryContextMenu(menu, 0, 1, kLastShellCommand, CMF_NORMAL | CMF_CANRENAME);
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        }
    }
    ::AppendMenuW(menu, MF_STRING, kRefreshCommand, L"最新の情報に更新\tF5");
    const UINT command = UINT(::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x,
                                                 screen.y, ::GetAncestor(mTree, GA_ROOT), nullptr));
    ::DestroyMenu(menu);
    if (command == kRefreshCommand) {
        refresh(TreeItem(item));
    } else if (command >= 1 && command <= kLastShellCommand && shellMenu) {
        wchar_t verb[64] = {};
        shellMenu->GetCommandString(command - 1, GCS_VERBW, nullptr, reinterpret_cast<LPSTR>(verb),
                                    UINT(std::size(verb)));
        if (std::wcscmp(verb, L"rename") == 0) {
            ::SendMessageW(mTree, TVM_EDITLABELW, 0, LPARAM(item));
            return;
        }
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.hwnd = ::GetAncestor(mTree, GA_ROOT);
        invoke.lpVerb = MAKEINTRESOURCEA(command - 1);
        invoke.nShow = SW_SHOWNORMAL;
        shellMenu->InvokeCommand(&invoke);
    }
}

TreeItem ShellTree::rootItem()
{
    return TreeItem(mRoot);
}

TreeItem ShellTree::currentItem()
{
    return TreeItem(::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void ShellTree::expand(TreeItem item)
{
    listChildren(reinterpret_cast<HTREEITEM>(item));
    ::SendMessageW(mTree, TVM_EXPAND, TVE_EXPAND, LPARAM(item));
}

TreeItem ShellTree::childByCaption(TreeItem parent, const std::string& caption)
{
    listChildren(reinterpret_cast<HTREEITEM>(parent));
    for (auto child = ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(parent));
         child != 0; child = ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(child))) {
        const Node* node = nodeOf(reinterpret_cast<HTREEITEM>(child));
        if (node != nullptr && node->caption == caption) {
            return TreeItem(child);
        }
    }
    return kNoItem;
}

void ShellTree::select(TreeItem item)
{
    ::SendMessageW(mTree, TVM_SELECTITEM, TVGN_CARET, LPARAM(item));
    ::SendMessageW(mTree, TVM_ENSUREVISIBLE, 0, LPARAM(item));
}

std::string ShellTree::folderPath(TreeItem item)
{
    const Node* node = nodeOf(reinterpret_cast<HTREEITEM>(item));
    wchar_t* name = nullptr;
    if (node == nullptr ||
        FAILED(::SHGetNameFromIDList(node->pidl, SIGDN_DESKTOPABSOLUTEPARSING, &name))) {
        return {};
    }
    std::string path = narrow(name);
    ::CoTaskMemFree(name);
    return path;
}

std::vector<std::string> ShellTree::captionsBelowRoot(TreeItem item)
{
    std::vector<std::string> captions;
    for (auto each = reinterpret_cast<HTREEITEM>(item); each != nullptr && each != mRoot;
         each = reinterpret_cast<HTREEITEM>(
             ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_PARENT, LPARAM(each)))) {
        const Node* node = nodeOf(each);
        captions.insert(captions.begin(), node != nullptr ? node->caption : std::string());
    }
    return captions;
}

bool ShellTree::selectFolder(const std::string& folder)
{
    PIDLIST_ABSOLUTE target = nullptr;
    if (FAILED(::SHParseDisplayName(shellPath(folder).c_str(), nullptr, &target, 0, nullptr))) {
        return false;
    }
    bool found = false;
    HTREEITEM item = mRoot;
    while (item != nullptr) {
        const Node* node = nodeOf(item);
        if (ILIsEqual(node->pidl, target)) {
            select(TreeItem(item));
            found = true;
            break;
        }
        expand(TreeItem(item));
        HTREEITEM next = nullptr;
        for (auto child = reinterpret_cast<HTREEITEM>(
                 ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_CHILD, LPARAM(item)));
             child != nullptr && next == nullptr;
             child = reinterpret_cast<HTREEITEM>(
                 ::SendMessageW(mTree, TVM_GETNEXTITEM, TVGN_NEXT, LPARAM(child)))) {
            const Node* candidate = nodeOf(child);
            if (ILIsEqual(candidate->pidl, target) || ILIsParent(candidate->pidl, target, FALSE)) {
                next = child;
            }
        }
        item = next;
    }
    ::CoTaskMemFree(target);
    return found;
}

} // namespace vimbrel::win32
