#include "platform/program.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "platform/file_system.h"

namespace vimbrel::program {

std::string folder(const char* argv0)
{
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        self = std::filesystem::absolute(argv0, error);
    }
    return fs::withSeparator(self.parent_path().string());
}

std::vector<std::string> arguments(int argc, char** argv)
{
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

bool errorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

} // namespace vimbrel::program
