#include "projects/drive_list.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace morvel {

namespace {

namespace fs = std::filesystem;

// "\040" (three octal digits) in mountinfo's fields, "\x20" (two
// hexadecimal digits) in the names of the label links.
std::string unescaped(std::string_view text, bool hexadecimal) {
  const std::size_t lead = hexadecimal ? 2 : 1;
  const std::size_t count = hexadecimal ? 2 : 3;
  const int base = hexadecimal ? 16 : 8;
  auto digit = [base](char c) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
  };
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\\' && k + lead + count <= text.size() && (!hexadecimal || text[k + 1] == 'x')) {
      int value = 0;
      bool ok = true;
      for (std::size_t d = 0; d < count && ok; ++d) {
        const int v = digit(text[k + lead + d]);
        ok = v >= 0;
        value = value * base + v;
      }
      if (ok) {
        out += static_cast<char>(value);
        k += lead + count - 1;
        continue;
      }
    }
    out += text[k];
  }
  return out;
}

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t blank = line.find(' ', at);
    const std::size_t end = blank == std::string_view::npos ? line.size() : blank;
    if (end > at) parts.push_back(line.substr(at, end - at));
    at = end + 1;
  }
  return parts;
}

std::vector<std::string_view> folderNames(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t at = 0;
  while (at < path.size()) {
    const std::size_t slash = path.find('/', at);
    const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
    if (end > at) names.push_back(path.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

// Where removable media and other disks are mounted: /mnt and one level
// below it, /media/NAME and /media/USER/NAME, /run/media/USER/NAME.
bool isMediaMount(std::string_view path) {
  const std::vector<std::string_view> names = folderNames(path);
  if (names.empty()) return false;
  if (names[0] == "mnt") return names.size() <= 2;
  if (names[0] == "media") return names.size() == 2 || names.size() == 3;
  return names[0] == "run" && names.size() == 4 && names[1] == "media";
}

std::string withoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

std::string lastName(std::string_view path) {
  const std::vector<std::string_view> names = folderNames(path);
  return names.empty() ? std::string("/") : std::string(names.back());
}

}  // namespace

std::vector<MountPoint> parseMountInfo(std::string_view text) {
  std::vector<MountPoint> mounts;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t newline = text.find('\n', at);
    const std::string_view line = text.substr(at, newline == std::string_view::npos ? text.size() - at : newline - at);
    at = newline == std::string_view::npos ? text.size() : newline + 1;
    // ID PARENT MAJOR:MINOR ROOT MOUNT-POINT OPTIONS [OPTIONAL...] - TYPE SOURCE SUPER-OPTIONS
    const std::vector<std::string_view> parts = fields(line);
    std::size_t dash = 6;
    while (dash < parts.size() && parts[dash] != "-") ++dash;
    if (parts.size() < 5 || dash + 2 >= parts.size()) continue;
    mounts.push_back(MountPoint{withoutTrailingSlash(unescaped(parts[4], false)), unescaped(parts[dash + 2], false),
                                unescaped(parts[dash + 1], false)});
  }
  return mounts;
}

std::vector<MountPoint> readMountPoints() {
  std::ifstream in("/proc/self/mountinfo", std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return parseMountInfo(text);
}

std::map<std::string, std::string> readDiskLabels(const std::string& byLabelFolder) {
  std::map<std::string, std::string> labels;
  std::error_code error;
  for (const fs::directory_entry& link : fs::directory_iterator(byLabelFolder, error)) {
    std::error_code linkError;
    if (!link.is_symlink(linkError)) continue;
    const fs::path target = fs::read_symlink(link.path(), linkError);
    if (linkError) continue;
    const fs::path device = (link.path().parent_path() / target).lexically_normal();
    labels[device.string()] = unescaped(link.path().filename().string(), true);
  }
  return labels;
}

std::vector<Drive> driveList(const std::vector<MountPoint>& mounts, const std::string& home,
                             const std::map<std::string, std::string>& labels) {
  std::vector<Drive> drives{Drive{"/", "Rodmappe (/)", DriveKind::Root}};
  const std::string homeFolder = withoutTrailingSlash(home);
  if (!homeFolder.empty() && homeFolder != "/")
    drives.push_back(Drive{homeFolder, "Hjemmemappe (" + homeFolder + ")", DriveKind::Home});
  for (const MountPoint& mount : mounts) {
    if (!isMediaMount(mount.path)) continue;
    bool known = false;
    for (const Drive& d : drives) known = known || d.path == mount.path;
    if (known) continue;
    const auto label = labels.find(mount.source);
    const std::string name = label != labels.end() ? label->second : lastName(mount.path);
    drives.push_back(Drive{mount.path, name + " (" + mount.path + ")", DriveKind::Removable});
  }
  return drives;
}

bool folderHolds(std::string_view top, std::string_view folder) {
  if (top == "/") return !folder.empty() && folder.front() == '/';
  if (folder.size() < top.size() || folder.substr(0, top.size()) != top) return false;
  return folder.size() == top.size() || folder[top.size()] == '/';
}

int driveOf(std::string_view folder, const std::vector<Drive>& drives) {
  int best = -1;
  for (std::size_t k = 0; k < drives.size(); ++k) {
    if (!folderHolds(drives[k].path, folder)) continue;
    if (best < 0 || drives[k].path.size() > drives[static_cast<std::size_t>(best)].path.size())
      best = static_cast<int>(k);
  }
  return best;
}

std::string mountPointOf(std::string_view folder, const std::vector<MountPoint>& mounts) {
  std::string best = "/";
  for (const MountPoint& mount : mounts) {
    if (folderHolds(mount.path, folder) && mount.path.size() > best.size()) best = mount.path;
  }
  return best;
}

}  // namespace morvel
