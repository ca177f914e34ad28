#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/user_interface.h"

namespace vimbrel::testing {

// Records everything a command reports, for the tests to inspect, and stops
// long work on request.
class RecordingInterface : public UserInterface
{
public:
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void showFileCount(int count) override { counts.push_back(count); }
    void openViewer(const ViewerPages& pages, bool max) override
    {
        opened.push_back(pages);
        maximised = max;
    }
    void setRenameTabEnabled(bool enabled) override { tabStates.push_back(enabled); }
    // Stops the work once `stopAfter` steps are done (never when negative).
    bool reportProgress(int done, int total) override
    {
        progress.emplace_back(done, total);
        return stopAfter < 0 || done < stopAfter;
    }

    void showNote(const std::string& text) override { notes.push_back(text); }

    std::vector<std::string> messages;
    std::vector<std::string> notes;
    std::vector<int> counts;
    std::vector<ViewerPages> opened;
    bool maximised = false;
    std::vector<bool> tabStates;
    std::vector<std::pair<int, int>> progress;
    int stopAfter = -1;
};

} // namespace vimbrel::testing
