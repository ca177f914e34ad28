#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/main_window/desktop.h"

namespace vimbrel::testing {

// Answers for a person at the desktop: records every box and chooser call
// and gives the chooser the answer a test has set.
class RecordingDesktop : public Desktop
{
public:
    void showMessage(QWidget*, const std::string& text) override { messages.push_back(text); }
    void showError(QWidget*, const std::string& text) override { errors.push_back(text); }
    std::optional<std::string> chooseFolder(QWidget*, const std::string& title,
                                            const std::string& start) override
    {
        chooserTitles.push_back(title);
        chooserStarts.push_back(start);
        return chooserAnswer;
    }
    bool openViewer(const ViewerPages& pages, bool maximised) override
    {
        openedViewers.push_back(pages);
        openedMaximised.push_back(maximised);
        return true;
    }
    void openFolder(const std::string& folder) override { openedFolders.push_back(folder); }
    WindowDesktop::ViewerState viewerState() override { return viewer; }

    WindowDesktop::ViewerState viewer;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> chooserTitles;
    std::vector<std::string> chooserStarts;
    std::optional<std::string> chooserAnswer; // nothing: the person cancels
    std::vector<ViewerPages> openedViewers;
    std::vector<bool> openedMaximised;
    std::vector<std::string> openedFolders;
};

// The tree captions that lead from below the root to an absolute folder
// through the file system root's place: "/", then each folder's name.
std::vector<std::string> captionsOf(const std::string& folder);

} // namespace vimbrel::testing
