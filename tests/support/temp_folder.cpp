#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace vimbrel::testing {
namespace {

void makeWritable(const std::filesystem::path& root)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(root, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_symlink(error)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        }
    }
}

} // namespace

TempFolder::TempFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/vimbrel-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    mPath = std::string(buffer.data()) + "/";
}

TempFolder::~TempFolder()
{
    std::error_code error;
    makeWritable(mPath);
    std::filesystem::remove_all(mPath, error);
}

std::string TempFolder::operator/(std::string_view relative) const
{
    return mPath + std::string(relative);
}

std::string TempFolder::write(std::string_view relative, std::string_view content) const
{
    const std::string full = *this / relative;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << content;
    return full;
}

std::string TempFolder::makeFolder(std::string_view relative) const
{
    std::string full = *this / relative;
    std::filesystem::create_directories(full);
    if (full.back() != '/') {
        full.push_back('/');
    }
    return full;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace vimbrel::testing
