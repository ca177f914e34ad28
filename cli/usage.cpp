#include "cli/commands.h"

namespace vimbrel::cli {

const char* const kUsage =
    "usage:\n"
    "  vimbrel-cli settings [--app-folder DIR] [--write]\n"
    "  vimbrel-cli show PICTURE_FOLDER [--app-folder DIR] [--serve | --open]\n"
    "  vimbrel-cli rename FOLDER [--app-folder DIR] [--dry-run]\n"
    "  vimbrel-cli rename --undo [--app-folder DIR]\n";

} // namespace vimbrel::cli
