#pragma once

#include <optional>
#include <string>
#include <vector>

#include "rename/journal_line.h"

namespace vimbrel {

// The journal's file name, beside the settings file in `settingsFolder`
// (ending in "/").
std::string renameJournalPath(const std::string& settingsFolder);

// Writes the journal of one rename run: a first line that says what the file
// is, then one line per step as it succeeds. Each line goes to the file at
// once with a single write, so a run cut short, by a crash or a full disk,
// leaves a journal of exactly the steps that were done (at most its last line
// cut off).
class RenameJournalWriter
{
public:
    RenameJournalWriter() = default;
    ~RenameJournalWriter();
    RenameJournalWriter(const RenameJournalWriter&) = delete;
    RenameJournalWriter& operator=(const RenameJournalWriter&) = delete;

    // Starts a new journal at `path`, replacing an earlier one. False when it
    // cannot be written; the steps are then not recorded.
    bool start(const std::string& path);
    // Appends one step; false when it could not be written.
    bool record(const JournalStep& step);
    // Closes the journal; a journal that recorded no step is removed, as
    // there is nothing to take back.
    void finish();

    bool recording() const { return mFd >= 0; }

private:
    std::string mPath;
    int mFd = -1;
    int mSteps = 0;
};

// What reading a journal found.
struct RenameJournal
{
    enum class State
    {
        Missing, // no journal
        Read,    // `steps` holds the steps, oldest first (maybe none)
        Damaged, // not a journal, or a line that cannot be read
    };
    State state = State::Missing;
    std::vector<JournalStep> steps;
};

// Reads the journal at `path`. A last line without its line end is what a
// run cut short left half-written; it is passed over.
RenameJournal readRenameJournal(const std::string& path);

} // namespace vimbrel
