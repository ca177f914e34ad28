#include "viewer/small_images/small_file_writer.h"

#include <atomic>

#include "platform/sys_calls.h"

namespace vimbrel {
namespace {

std::atomic<unsigned> gTemporaryCount{0};

bool writeAll(int fd, const std::uint8_t* data, size_t size)
{
    const sys::Calls& calls = sys::calls();
    while (size > 0) {
        const std::ptrdiff_t written = calls.write(fd, data, size);
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace

bool writeSmallFile(const std::string& folder, const std::string& name,
                    const std::vector<std::uint8_t>& bytes)
{
    const sys::Calls& calls = sys::calls();
    std::string temporary;
    int fd = -1;
    // A unique name per process and call; creating it new never takes over a
    // file that happens to carry it.
    for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
        temporary = folder + "." + name + "." + std::to_string(sys::processId()) + "-" +
                    std::to_string(gTemporaryCount.fetch_add(1)) + ".tmp";
        fd = calls.open(temporary.c_str(), sys::OpenFor::CreatingNew);
        if (fd < 0 && sys::lastError() != sys::error::kExists) {
            return false;
        }
    }
    if (fd < 0) {
        return false;
    }
    // No fsync: a small image can always be made again, and syncing each of
    // thousands of files would cost more than making them.
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    ok = calls.close(fd) == 0 && ok;
    ok = ok && calls.replace(temporary.c_str(), (folder + name).c_str()) == 0;
    if (!ok) {
        calls.unlink(temporary.c_str());
    }
    return ok;
}

} // namespace vimbrel
