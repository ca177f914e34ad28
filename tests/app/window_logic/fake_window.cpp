#include "tests/app/window_logic/fake_window.h"

#include <algorithm>

#include "app/window_logic/main_window_logic.h"
#include "platform/file_system.h"

namespace vimbrel::testing {
namespace {

// The radio groups of the 表示 tab.
const std::vector<std::vector<Control>> kRadioGroups = {
    {Control::RdoFile, Control::RdoNum, Control::RdoPic},
    {Control::RdoFNon, Control::RdoFDwon, Control::RdoFWork, Control::RdoFETC},
    {Control::RdoAsc, Control::RdoDesc},
    {Control::RdoSumType1, Control::RdoSumType2},
    {Control::RdoNormal, Control::RdoMax},
};

} // namespace

FakeTree::FakeTree(std::string placeCaption, std::string placeFolder)
{
    mNodes.push_back({"root", "", kNoItem, true, {2}});
    mNodes.push_back({std::move(placeCaption), std::move(placeFolder), 1, false, {}});
}

void FakeTree::expand(TreeItem item)
{
    Node& opened = node(item);
    expanded.insert(opened.path);
    if (opened.listed) {
        return;
    }
    opened.listed = true;
    std::vector<std::string> names;
    for (const fs::DirEntry& entry : fs::listFolder(opened.path)) {
        if (entry.directory) {
            names.push_back(entry.name);
        }
    }
    std::sort(names.begin(), names.end());
    const std::string parentPath = fs::withSeparator(opened.path);
    for (const std::string& name : names) {
        mNodes.push_back({name, parentPath + name, item, false, {}});
        node(item).children.push_back(mNodes.size());
    }
}

TreeItem FakeTree::childByCaption(TreeItem parent, const std::string& caption)
{
    expand(parent);
    for (TreeItem child : node(parent).children) {
        if (node(child).caption == caption) {
            return child;
        }
    }
    return kNoItem;
}

void FakeTree::select(TreeItem item)
{
    if (item != mCurrent) {
        mCurrent = item;
        if (window != nullptr) {
            window->TreeDriveChange();
        }
    }
}

std::string FakeTree::folderPath(TreeItem item)
{
    return item == kNoItem ? std::string() : node(item).path;
}

bool FakeTree::selectFolder(const std::string& folder)
{
    const std::string place = fs::withSeparator(node(2).path);
    const std::string wanted = fs::withSeparator(folder);
    if (wanted.rfind(place, 0) != 0) {
        return false;
    }
    // Down by each name below the place, "/" or "\\" after each.
    TreeItem item = 2;
    size_t start = place.size();
    for (size_t end;
         item != kNoItem && (end = wanted.find_first_of("/\\", start)) != std::string::npos;
         start = end + 1) {
        item = childByCaption(item, wanted.substr(start, end - start));
    }
    if (item == kNoItem) {
        return false;
    }
    select(item);
    return true;
}

std::vector<std::string> FakeTree::captionsBelowRoot(TreeItem item)
{
    std::vector<std::string> captions;
    for (; item != kNoItem && item != rootItem(); item = node(item).parent) {
        captions.insert(captions.begin(), node(item).caption);
    }
    return captions;
}

FakeControls::FakeControls(FakeTree& tree) : mTree(tree)
{
    // The state as the window is built.
    for (Control control : {Control::RdoFile, Control::RdoFNon, Control::RdoAsc,
                            Control::RdoSumType1, Control::RdoNormal}) {
        checked[control] = true;
    }
    texts[Control::EditFHead] = "Sample";
    texts[Control::SpinFCnt] = "1";
    texts[Control::SpinKeta] = "4";
    enabled[Control::BtnFdr] = false;
}

bool FakeControls::isChecked(Control control) const
{
    const auto found = checked.find(control);
    return found != checked.end() && found->second;
}

void FakeControls::setChecked(Control control, bool value)
{
    for (const std::vector<Control>& group : kRadioGroups) {
        if (std::find(group.begin(), group.end(), control) != group.end()) {
            if (value) {
                for (Control other : group) {
                    checked[other] = other == control;
                }
            }
            return;
        }
    }
    checked[control] = value;
}

std::string FakeControls::text(Control control) const
{
    const auto found = texts.find(control);
    return found != texts.end() ? found->second : std::string();
}

void FakeControls::setText(Control control, const std::string& text)
{
    texts[control] = text;
}

void FakeControls::setValue(Control control, int value)
{
    texts[control] = std::to_string(value);
}

std::vector<std::string> FakeControls::lines(Control control) const
{
    const auto found = memoLines.find(control);
    return found != memoLines.end() ? found->second : std::vector<std::string>();
}

void FakeControls::setLines(Control control, const std::vector<std::string>& lines)
{
    memoLines[control] = lines;
}

void FakeControls::setEnabled(Control control, bool value)
{
    enabled[control] = value;
}

void FakeControls::setHint(Control control, const std::string& hint)
{
    hints[control] = hint;
}

std::optional<std::string> FakeDesktop::chooseFolder(const std::string&, const std::string& start)
{
    chooserStarts.push_back(start);
    return chooserAnswer;
}

bool FakeDesktop::openViewer(const ViewerPages& pages, bool maximised)
{
    openedViewers.push_back(pages.indexPath);
    openedMaximised.push_back(maximised);
    return browserStarts;
}

bool FakeDesktop::showProgress(int done, int total)
{
    progressShown = true;
    progress.emplace_back(done, total);
    return cancelAfter < 0 || int(progress.size()) <= cancelAfter;
}

} // namespace vimbrel::testing
