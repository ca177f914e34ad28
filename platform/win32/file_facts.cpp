#include "platform/file_facts.h"

#include <io.h>
#include <windows.h>

namespace vimbrel {

std::optional<FileFacts> factsOf(int fd)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(reinterpret_cast<HANDLE>(::_get_osfhandle(fd)), &info)) {
        return std::nullopt;
    }
    // FILETIME counts 100 ns from 1601; Unix time counts seconds from 1970.
    constexpr uint64_t kTicksTo1970 = 116444736000000000ULL;
    const uint64_t ticks =
        (uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    const uint64_t since1970 = ticks > kTicksTo1970 ? ticks - kTicksTo1970 : 0;
    return FileFacts{info.dwVolumeSerialNumber,
                     (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                     (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow,
                     int64_t(since1970 / 10000000), uint32_t(since1970 % 10000000 * 100)};
}

} // namespace vimbrel
