#include "app/main_window/user_volumes.h"

#include <sstream>

#include "platform/whole_file.h"

namespace vimbrel {
namespace {

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

// mountinfo writes blanks, tabs, line ends and backslashes in paths as
// three-digit octal escapes.
std::string unescapedPath(const std::string& text)
{
    std::string path;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size()) {
            const std::string digits = text.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos && digits.size() == 3) {
                path += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        path += text[i];
    }
    return path;
}

bool isNetworkShare(const std::string& type)
{
    for (const char* network : {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"}) {
        if (type == network) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<MountEntry> parseMountInfo(const std::string& text)
{
    std::vector<MountEntry> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> words;
        std::string word;
        while (fields >> word) {
            words.push_back(word);
        }
        // ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [OPTIONAL...] - TYPE SOURCE OPTIONS
        size_t separator = 6;
        while (separator < words.size() && words[separator] != "-") {
            ++separator;
        }
        if (words.size() < 6 || separator + 2 >= words.size()) {
            continue;
        }
        mounts.push_back({unescapedPath(words[3]), unescapedPath(words[4]), words[separator + 1],
                          unescapedPath(words[separator + 2])});
    }
    return mounts;
}

bool isUserVolume(const MountEntry& mount, bool removable)
{
    if (mount.root != "/" || (!startsWith(mount.source, "/dev/") && !isNetworkShare(mount.type))) {
        return false;
    }
    if (removable) {
        return true;
    }
    for (const char* place : {"/media/", "/run/media/", "/mnt/"}) {
        if (startsWith(mount.mountPoint, place) &&
            mount.mountPoint.size() > std::string(place).size()) {
            return true;
        }
    }
    return false;
}

bool isRemovableDevice(const std::string& source)
{
    if (!startsWith(source, "/dev/") || source.find("..") != std::string::npos) {
        return false;
    }
    const std::string name = source.substr(source.rfind('/') + 1);
    // A partition has no flag of its own; its disk, the folder above it, has.
    for (const std::string& flag : {"/sys/class/block/" + name + "/removable",
                                    "/sys/class/block/" + name + "/../removable"}) {
        const WholeFile file = readWholeFile(flag, 16);
        if (file.state == WholeFile::State::Read) {
            return file.bytes.rfind('1', 0) == 0;
        }
    }
    return false;
}

} // namespace vimbrel
