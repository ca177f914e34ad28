#include "tests/support/temp_folder.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/file_system.h"

namespace vimbrel::testing {
namespace {

// Paths in the tool are UTF-8 on every system; std::filesystem reads a plain
// string in the system's narrow code page, which on Windows is not UTF-8.
std::filesystem::path pathOf(std::string_view utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string textOf(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

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
    // The system's temporary folder ($TMPDIR or /tmp; %TEMP% on Windows), and
    // a name no other test took: creating a folder fails where one stands.
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100 && mPath.empty(); ++attempt) {
        const std::filesystem::path folder =
            (error ? pathOf("/tmp") : base) /
            ("vimbrel-test-" + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(folder, error)) {
            mPath = fs::withSeparator(textOf(folder.lexically_normal()));
        }
    }
    if (mPath.empty()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

TempFolder::~TempFolder()
{
    std::error_code error;
    makeWritable(pathOf(mPath));
    std::filesystem::remove_all(pathOf(mPath), error);
}

std::string TempFolder::operator/(std::string_view relative) const
{
    return mPath + nativePath(relative);
}

std::string TempFolder::write(std::string_view relative, std::string_view content) const
{
    const std::string full = *this / relative;
    std::filesystem::create_directories(pathOf(full).parent_path());
    std::ofstream(pathOf(full), std::ios::binary) << content;
    return full;
}

std::string TempFolder::makeFolder(std::string_view relative) const
{
    std::string full = *this / relative;
    std::filesystem::create_directories(pathOf(full));
    if (full.back() != '/' && full.back() != fs::kSeparator) {
        full.push_back(fs::kSeparator);
    }
    return full;
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder)
    : mPrevious(textOf(std::filesystem::current_path()))
{
    std::filesystem::current_path(pathOf(folder));
}

ScopedCurrentFolder::~ScopedCurrentFolder()
{
    std::error_code error;
    std::filesystem::current_path(pathOf(mPrevious), error);
}

std::string shellQuoted(const std::string& path)
{
    return fs::kSeparator == '/' ? "'" + path + "'" : "\"" + path + "\"";
}

std::string nativePath(std::string_view path)
{
    std::string native(path);
    for (char& c : native) {
        if (c == '/') {
            c = fs::kSeparator;
        }
    }
    return native;
}

std::string fullFolder(std::string_view names)
{
    const std::string root = fs::kSeparator == '/' ? "/" : "C:\\";
    return fs::withSeparator(root + nativePath(names));
}

std::string readFile(const std::string& path)
{
    std::ifstream in(pathOf(path), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace vimbrel::testing
