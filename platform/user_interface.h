#pragma once

#include <string>

namespace vimbrel {

// Where the pages of one Show run lie and which folders they reach, so that
// whoever opens the viewer can serve exactly those folders.
struct ViewerPages
{
    std::string indexPath;     // WorkFolder + "index.htm"
    std::string workFolder;    // ends in "/"
    std::string pictureFolder; // the picture folder, ends in "/"
    std::string smallFolder;   // where the small images went, or "" when none were made
};

// What a command may do to the person using the tool. The window shows these
// in its own controls; vimbrel-cli writes them to its streams; tests record
// them. A command takes one by reference and never reaches past it.
class UserInterface
{
public:
    virtual ~UserInterface() = default;

    // A modal message with no icon and one OK button, caption "Vimbrel".
    // Line breaks inside are single CR characters, as the messages are written.
    virtual void showMessage(const std::string& text) = 0;

    // The picture count in the status bar's second panel.
    virtual void showFileCount(int count) = 0;

    // Opens the viewer whose pages a Show run has just written, in a
    // maximised browser window when asked. Does not wait and reports nothing
    // back.
    virtual void openViewer(const ViewerPages& pages, bool maximised) = 0;

    // Disables and enables the rename tab while a rename run works.
    virtual void setRenameTabEnabled(bool enabled) = 0;

    // Long work reports `done` of `total` steps; returns false when the person
    // asked to stop. Called on the thread that runs the command.
    virtual bool reportProgress(int done, int total) = 0;

    // A line for the person that asks for no answer and interrupts nothing:
    // the window's status bar, vimbrel-cli's error stream. An interface
    // that shows nothing of the kind (a dry run's) leaves it.
    virtual void showNote(const std::string& /*text*/) {}
};

} // namespace vimbrel
