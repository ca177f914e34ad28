#pragma once

#include <cstddef>
#include <cstdint>

// The system's side of reading whole files (whole_file.h): what each
// platform does its own way under one reading loop.
namespace vimbrel::file_reading {

// The size of the file open as `fd`; nothing that can be told gives 0.
uint64_t sizeOf(int fd);

// Reads up to `size` bytes of `fd`: the count, 0 at the end, or -1 with
// sys::lastError() set.
std::ptrdiff_t readSome(int fd, char* buffer, size_t size);

// Reads up to `size` bytes of `fd` from `offset`, without moving its
// position, so that several answers may read one descriptor: the count, 0
// when the file ends there, or -1 with sys::lastError() set.
std::ptrdiff_t readAt(int fd, uint64_t offset, char* buffer, size_t size);

// True for the errors of openPlainFile() that say nothing stands under the
// name (or a folder on the way is missing).
bool saysMissing(int error);

} // namespace vimbrel::file_reading
