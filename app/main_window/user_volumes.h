#pragma once

#include <string>
#include <vector>

namespace vimbrel {

// One line of /proc/self/mountinfo, as far as the folder tree needs it.
struct MountEntry
{
    std::string root;       // the folder of the file system mounted here ("/" unless bound)
    std::string mountPoint; // where it is mounted
    std::string type;       // ext4, vfat, tmpfs, nfs4, ...
    std::string source;     // /dev/sdb1, //server/share, tmpfs, ...
};

// The entries of a mountinfo text; lines that cannot be read are passed over.
std::vector<MountEntry> parseMountInfo(const std::string& text);

// True for a volume the person keeps files on, as file managers show them: a
// whole device or network share (not a folder bound elsewhere, nor a memory
// or system file system) mounted below /media, /run/media or /mnt, or any
// removable device.
bool isUserVolume(const MountEntry& mount, bool removable);

// True when the block device `source` (/dev/sdb1) is a removable one.
bool isRemovableDevice(const std::string& source);

} // namespace vimbrel
