#include "rename/rename_journal.h"

#include "platform/sys_calls.h"
#include "platform/whole_file.h"

namespace vimbrel {
namespace {

constexpr const char* kFileName = "Vimbrel.rename.log";
constexpr const char* kFirstLine =
    "# Vimbrel rename journal 1: the renames of the last run, oldest "
    "first; 元に戻す takes them back.";

// Journals larger than this are no journal of ours.
constexpr size_t kMaxJournalBytes = size_t(256) << 20;

bool writeLine(int fd, const std::string& line)
{
    const std::string text = line + "\n";
    size_t done = 0;
    while (done < text.size()) {
        const std::ptrdiff_t wrote = sys::calls().write(fd, text.data() + done, text.size() - done);
        if (wrote <= 0) {
            return false;
        }
        done += size_t(wrote);
    }
    return true;
}

} // namespace

std::string renameJournalPath(const std::string& settingsFolder)
{
    return settingsFolder + kFileName;
}

RenameJournalWriter::~RenameJournalWriter()
{
    finish();
}

bool RenameJournalWriter::start(const std::string& path)
{
    finish();
    mPath = path;
    mSteps = 0;
    mFd = sys::calls().open(path.c_str(), sys::OpenFor::ReplacingNoLink);
    if (mFd < 0) {
        return false;
    }
    if (!writeLine(mFd, kFirstLine)) {
        sys::calls().close(mFd);
        mFd = -1;
        sys::calls().unlink(path.c_str());
        return false;
    }
    return true;
}

bool RenameJournalWriter::record(const JournalStep& step)
{
    if (mFd < 0) {
        return false;
    }
    ++mSteps; // a line cut short still stands for a step that was done
    return writeLine(mFd, journalLine(step));
}

void RenameJournalWriter::finish()
{
    if (mFd < 0) {
        return;
    }
    sys::calls().close(mFd);
    mFd = -1;
    if (mSteps == 0) {
        sys::calls().unlink(mPath.c_str());
    }
}

RenameJournal readRenameJournal(const std::string& path)
{
    RenameJournal journal;
    const WholeFile file = readWholeFile(path, kMaxJournalBytes);
    if (file.state == WholeFile::State::Missing) {
        return journal;
    }
    journal.state = RenameJournal::State::Damaged;
    if (file.state != WholeFile::State::Read) {
        return journal;
    }
    const std::string& text = file.bytes;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            break; // the half-written last line of a run cut short
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kFirstLine) {
                return journal;
            }
            first = false;
            continue;
        }
        const std::optional<JournalStep> step = parseJournalLine(line);
        if (!step) {
            journal.steps.clear();
            return journal;
        }
        journal.steps.push_back(*step);
    }
    if (first) {
        return journal; // not even the first line
    }
    journal.state = RenameJournal::State::Read;
    return journal;
}

} // namespace vimbrel
