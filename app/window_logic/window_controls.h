#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/window_logic/control.h"

namespace vimbrel {

// An item of the folder tree as its shell knows it; valid only during the
// call that obtained it. kNoItem stands for none.
using TreeItem = std::uintptr_t;
inline constexpr TreeItem kNoItem = 0;

// The folder tree of the 場所 tab as the window's behaviour sees it.
class FolderTreeView
{
public:
    virtual ~FolderTreeView() = default;

    // The one item at the top (the desktop, or the machine).
    virtual TreeItem rootItem() = 0;
    // The selected item; kNoItem when none is.
    virtual TreeItem currentItem() = 0;
    // Opens an item, listing its folders when that has not happened yet.
    virtual void expand(TreeItem item) = 0;
    // The first child of `parent` whose caption equals `caption` byte for
    // byte; kNoItem when there is none.
    virtual TreeItem childByCaption(TreeItem parent, const std::string& caption) = 0;
    // Selects the item and scrolls it into view. The tree reports the change
    // of selection as a person's choice would be reported.
    virtual void select(TreeItem item) = 0;
    // The item's folder as the system gives it for parsing, without a
    // trailing separator; "" for an item that names no folder.
    virtual std::string folderPath(TreeItem item) = 0;
    // The captions from the level below the root down to `item`, outermost
    // first; empty for the root item.
    virtual std::vector<std::string> captionsBelowRoot(TreeItem item) = 0;
    // Opens the tree down to `folder` (a path as the system writes it) and
    // selects it, as select() does; false, with nothing changed, where the
    // tree has no such folder.
    virtual bool selectFolder(const std::string& folder) = 0;
};

// The refusals of an in-place rename in the folder tree.
inline constexpr const char* kRenameInvalidMessage = "この名前はフォルダに付けられません。";
inline constexpr const char* kRenameFailedMessage = "フォルダ名を変更できません。";

// Where and how large the window is, in the screen's pixels.
struct WindowBounds
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The window's controls as its behaviour reads and sets them. Each shell
// implements this over its own widgets; a control that has no such property
// ignores the call (or answers false, "" or nothing).
class WindowControls
{
public:
    virtual ~WindowControls() = default;

    // Check boxes and radio buttons. Setting a radio button checked unchecks
    // the others of its group; setting one unchecked does nothing.
    virtual bool isChecked(Control control) const = 0;
    virtual void setChecked(Control control, bool checked) = 0;

    // Edits, labels and panels. The interval boxes give and take their four
    // digit places without the point, an empty place as a blank and the
    // blanks at the end dropped; a spin box gives the text it shows.
    virtual std::string text(Control control) const = 0;
    virtual void setText(Control control, const std::string& text) = 0;

    // A spin box's value.
    virtual void setValue(Control control, int value) = 0;

    // The lines of a memo, without their line breaks.
    virtual std::vector<std::string> lines(Control control) const = 0;
    virtual void setLines(Control control, const std::vector<std::string>& lines) = 0;

    virtual void setEnabled(Control control, bool enabled) = 0;
    // The hint a resting mouse shows.
    virtual void setHint(Control control, const std::string& hint) = 0;

    virtual TabPage currentPage() const = 0;
    virtual void showPage(TabPage page) = 0;

    // The window's place on the screen, as the settings keep it.
    virtual WindowBounds bounds() const = 0;
    virtual void setBounds(const WindowBounds& bounds) = 0;

    virtual FolderTreeView& tree() = 0;
};

} // namespace vimbrel
