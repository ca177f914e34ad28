#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace vimbrel {

// What reading a whole file found.
struct WholeFile
{
    enum class State
    {
        Missing,    // no file of that name (or a missing folder on the way)
        Read,       // `bytes` holds the content
        Unreadable, // exists but cannot be read, or is no plain file
    };
    State state = State::Missing;
    std::string bytes;
    int errorNumber = 0;
};

// Opens the plain file at `path` for reading and returns its descriptor, or
// -1 with sys::lastError() set: a folder, a pipe or a device is refused
// (sys::error::kIsFolder, kNotPlain) without ever being waited on.
int openPlainFile(const std::string& path);

// The same as a stdio stream for binary reading, or nullptr.
std::FILE* openPlainStream(const std::string& path);

// Closes a descriptor from openPlainFile().
void closeFile(int fd);

// Reads the plain file at `path` from start to end. A folder, a pipe or a
// device is Unreadable and is never waited on; so is a file of more than
// `maxBytes` bytes (errorNumber sys::error::kTooLarge), which is not read at all.
WholeFile readWholeFile(const std::string& path, size_t maxBytes);

// The same for a plain file already open as `fd`, read from its current
// position; `fd` stays open. Never Missing.
WholeFile readOpenFile(int fd, size_t maxBytes);

} // namespace vimbrel
