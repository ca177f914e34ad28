#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/window_logic/window_controls.h"
#include "app/window_logic/window_desktop.h"

namespace vimbrel {
class MainWindowLogic;
}

namespace vimbrel::testing {

// A folder tree over the file system: the root, below it one place for
// `placeFolder` captioned `placeCaption`, below that the folders on disk,
// listed when an item is first opened.
class FakeTree : public FolderTreeView
{
public:
    FakeTree(std::string placeCaption, std::string placeFolder);

    // Told of every change of selection, as the shells tell the window.
    MainWindowLogic* window = nullptr;

    TreeItem rootItem() override { return 1; }
    TreeItem currentItem() override { return mCurrent; }
    void expand(TreeItem item) override;
    TreeItem childByCaption(TreeItem parent, const std::string& caption) override;
    void select(TreeItem item) override;
    std::string folderPath(TreeItem item) override;
    std::vector<std::string> captionsBelowRoot(TreeItem item) override;
    // Walks down from the place by the folder's names below it.
    bool selectFolder(const std::string& folder) override;

    // The items that have been opened, by their folder ("" for the root).
    std::set<std::string> expanded;

private:
    struct Node
    {
        std::string caption;
        std::string path;
        TreeItem parent;
        bool listed = false;
        std::vector<TreeItem> children;
    };
    Node& node(TreeItem item) { return mNodes.at(item - 1); }
    std::vector<Node> mNodes;
    TreeItem mCurrent = 1;
};

// The window's controls as plain values, with radio groups that behave as
// radio groups; every call is kept where a test can look.
class FakeControls : public WindowControls
{
public:
    explicit FakeControls(FakeTree& tree);

    bool isChecked(Control control) const override;
    void setChecked(Control control, bool checked) override;
    std::string text(Control control) const override;
    void setText(Control control, const std::string& text) override;
    void setValue(Control control, int value) override;
    std::vector<std::string> lines(Control control) const override;
    void setLines(Control control, const std::vector<std::string>& lines) override;
    void setEnabled(Control control, bool enabled) override;
    void setHint(Control control, const std::string& hint) override;
    TabPage currentPage() const override { return page; }
    void showPage(TabPage shown) override { page = shown; }
    WindowBounds bounds() const override { return placement; }
    void setBounds(const WindowBounds& bounds) override { placement = bounds; }
    FolderTreeView& tree() override { return mTree; }

    std::map<Control, bool> checked;
    std::map<Control, std::string> texts;
    std::map<Control, std::vector<std::string>> memoLines;
    std::map<Control, bool> enabled;
    std::map<Control, std::string> hints;
    TabPage page = TabPage::Path;
    WindowBounds placement{0, 0, 400, 350};

private:
    FakeTree& mTree;
};

// A person at the desktop: records every box, chooser and program call and
// answers the chooser and the progress box as a test has set.
class FakeDesktop : public WindowDesktop
{
public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showError(const std::string& text) override { errors.push_back(text); }
    std::optional<std::string> chooseFolder(const std::string& title,
                                            const std::string& start) override;
    bool openViewer(const ViewerPages& pages, bool maximised) override;
    void openFolder(const std::string& folder) override { openedFolders.push_back(folder); }
    void showAbout() override { ++aboutShown; }
    void showHelp(const std::string& helpFile) override { helpFiles.push_back(helpFile); }
    bool showProgress(int done, int total) override;
    void endProgress() override { progressShown = false; }
    ViewerState viewerState() override { return viewer; }
    // Kept until the test runs them, as if their time had come.
    void callLater(std::chrono::milliseconds delay, std::function<void()> work) override
    {
        later.emplace_back(delay, std::move(work));
    }
    void runLater()
    {
        auto due = std::move(later);
        later.clear();
        for (auto& [delay, work] : due) {
            work();
        }
    }

    ViewerState viewer;
    std::vector<std::pair<std::chrono::milliseconds, std::function<void()>>> later;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> chooserStarts;
    std::optional<std::string> chooserAnswer; // nothing: the person cancels
    std::vector<std::string> openedViewers;
    std::vector<bool> openedMaximised;
    bool browserStarts = true;
    std::vector<std::string> openedFolders;
    int aboutShown = 0;
    std::vector<std::string> helpFiles;
    bool progressShown = false;
    std::vector<std::pair<int, int>> progress;
    int cancelAfter = -1; // the number of reports after which 中止 is pressed
};

} // namespace vimbrel::testing
