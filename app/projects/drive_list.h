// The drives of the file panes' drive lists on Linux: the root, the home
// folder, and the file systems mounted where removable media and other
// disks go (/media, /mnt, /run/media), each with its label. A folder
// belongs to the drive whose folder holds it most closely.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

struct MountPoint {
  std::string path;    // where it is mounted
  std::string source;  // the device or what stands for it ("/dev/sdb1", "tmpfs")
  std::string type;    // the file system ("vfat", "ext4")

  bool operator==(const MountPoint&) const = default;
};

// The mounts of /proc/self/mountinfo's text, in its order; escaped
// characters ("\040" for a blank) read back.
std::vector<MountPoint> parseMountInfo(std::string_view text);
// The mounts of this process; none when they cannot be read.
std::vector<MountPoint> readMountPoints();

// The labels of the disks, by device path ("/dev/sdb1" to "USB-NØGLE"),
// from the links of a folder such as /dev/disk/by-label.
std::map<std::string, std::string> readDiskLabels(const std::string& byLabelFolder = "/dev/disk/by-label");

enum class DriveKind { Root, Home, Removable, Folder };

struct Drive {
  std::string path;   // the drive's top folder, without a trailing "/" (the root is "/")
  std::string label;  // what the list shows
  DriveKind kind = DriveKind::Folder;

  bool operator==(const Drive&) const = default;
};

// The root, the home folder (unless it is the root) and each mount at
// /mnt, /mnt/NAME, /media/NAME, /media/USER/NAME or /run/media/USER/NAME,
// in that order and each folder once. A mount is labelled by its disk's
// label, else by its folder's name.
std::vector<Drive> driveList(const std::vector<MountPoint>& mounts, const std::string& home,
                             const std::map<std::string, std::string>& labels);

// The drive whose folder holds `folder` most closely; -1 when none does.
int driveOf(std::string_view folder, const std::vector<Drive>& drives);

// The mount point that holds `folder` most closely ("/" when none is known).
std::string mountPointOf(std::string_view folder, const std::vector<MountPoint>& mounts);

// Whether `folder` is `top` or lies below it ("/a/b" in "/a", not "/ab").
bool folderHolds(std::string_view top, std::string_view folder);

}  // namespace morvel
