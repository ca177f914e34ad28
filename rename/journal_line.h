#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vimbrel {

// One step of a rename run, as its journal keeps it: a file renamed, or a
// read-only file made writable. `device` and `inode` name the file itself,
// so that taking the step back can check that a name still holds it.
struct JournalStep
{
    enum class Kind
    {
        Renamed,      // oldName became newName
        MadeWritable, // oldName had `mode` and was made writable
    };
    Kind kind = Kind::Renamed;
    uint64_t device = 0;
    uint64_t inode = 0;
    std::string folder; // ends in "/"
    std::string oldName;
    std::string newName; // Renamed only
    uint32_t mode = 0;   // MadeWritable only: the permission bits before
};

// `name` as names stand in a journal line (see below).
std::string escapedName(const std::string& name);

// The step as one line of plain text, without its line end: fields split by
// tabs, every name written so that any name a file may have (blanks, tabs,
// line ends, bytes that are not UTF-8) comes back byte for byte:
//   renamed<TAB>DEVICE<TAB>INODE<TAB>FOLDER<TAB>OLD<TAB>NEW
//   writable<TAB>DEVICE<TAB>INODE<TAB>FOLDER<TAB>NAME<TAB>MODE (octal)
// In names, "\" is "\\", tab "\t", LF "\n", CR "\r", and any other control
// byte or byte that is not part of valid UTF-8 "\xHH".
std::string journalLine(const JournalStep& step);

// The step a line written by journalLine() holds; nothing for any other text.
std::optional<JournalStep> parseJournalLine(const std::string& line);

} // namespace vimbrel
