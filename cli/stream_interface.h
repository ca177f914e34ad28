#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "platform/user_interface.h"

namespace vimbrel::cli {

// What the tool would show in its window, written to the program's streams:
// messages and notes on the error stream with each CR as a line break,
// progress only when asked (the error stream is a terminal). Opening the viewer is only
// recorded, for the command to act on.
class StreamInterface : public UserInterface
{
public:
    StreamInterface(std::ostream& err, bool showProgress);

    void showMessage(const std::string& text) override;
    void showFileCount(int count) override;
    void openViewer(const ViewerPages& pages, bool maximised) override;
    void setRenameTabEnabled(bool enabled) override;
    bool reportProgress(int done, int total) override;
    void showNote(const std::string& text) override;

    bool messageShown() const { return mMessageShown; }
    // The pages of the viewer the command asked to open, if it did.
    const std::optional<ViewerPages>& viewer() const { return mViewer; }
    // Whether the viewer was asked for in a maximised window.
    bool maximised() const { return mMaximised; }

private:
    void writeLines(const std::string& text);

    std::ostream& mErr;
    bool mShowProgress;
    bool mProgressShown = false;
    bool mMessageShown = false;
    std::optional<ViewerPages> mViewer;
    bool mMaximised = false;
};

} // namespace vimbrel::cli
