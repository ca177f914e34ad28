#include "platform/file_error.h"

#include <windows.h>

namespace vimbrel {

std::string FileError::textFor(int errorNumber)
{
    switch (errorNumber) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "ファイルへのアクセスが拒否されました";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "ディスクがいっぱいです";
    default:
        return "I/O エラー (" + std::to_string(errorNumber) + ")";
    }
}

} // namespace vimbrel
