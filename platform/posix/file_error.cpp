#include "platform/file_error.h"

#include <cerrno>

namespace vimbrel {

std::string FileError::textFor(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM:
    case EROFS:
        return "ファイルへのアクセスが拒否されました";
    case ENOSPC:
    case EDQUOT:
        return "ディスクがいっぱいです";
    default:
        return "I/O エラー (" + std::to_string(errorNumber) + ")";
    }
}

} // namespace vimbrel
