#pragma once

#include <string>
#include <string_view>

namespace vimbrel {

// Writes one file from start to end: a file of that name is replaced and its
// old content discarded. Every failure throws FileError with the user's text
// for the system error (FileError::textFor). The file is closed when the
// writer is finished or destroyed, also after a failure.
class FileWriter
{
public:
    explicit FileWriter(const std::string& path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void write(std::string_view bytes);
    // Flushes and closes; throws when the last bytes cannot be written.
    void finish();

    const std::string& path() const { return mPath; }

private:
    void flush();
    [[noreturn]] void fail(int errorNumber);

    std::string mPath;
    std::string mBuffer;
    int mFd = -1;
};

// Replaces `path` with `content` in one step: the bytes go to a new file
// beside it, which is synced and then renamed over the old one, so that a
// failure at any point leaves the old file as it was. Returns 0 on success,
// otherwise the system error number.
int replaceFileAtomically(const std::string& path, std::string_view content);

} // namespace vimbrel
