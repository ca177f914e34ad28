#pragma once

#include <string>
#include <vector>

#include "rename/rename_run.h"
#include "settings/options.h"

namespace vimbrel {

// What 実行 would do to a folder with the given options, found by the run
// itself as a dry run, so that the list and the run cannot differ.
struct RenamePreview
{
    struct Rename
    {
        std::string folder; // ends in the separator
        std::string oldName;
        std::string newName;
    };
    struct Skip
    {
        std::string folder;
        std::string name;
        RenameRun::SkipReason reason;
    };
    std::vector<Rename> renames; // in the order the run renames
    std::vector<Skip> skipped;
    // The message the run would end with.
    std::string message;
};

// The dry run of 実行 on `selectedFolder` ("" while none is chosen). Touches
// nothing on disk; safe on any thread, as it works on its own copy of the
// options.
RenamePreview previewRename(Options options, const std::string& selectedFolder);

// The user's words for a skip reason.
const char* skipReasonText(RenameRun::SkipReason reason);

} // namespace vimbrel
