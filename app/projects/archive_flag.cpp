#include "projects/archive_flag.h"

#include <sys/stat.h>
#include <sys/xattr.h>

namespace morvel {

namespace {

constexpr const char* kPublishedAttribute = "user.morvel.published";

// The modification time to the nanosecond and the size, as one text.
bool stampOf(const std::string& path, std::string& stamp) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return false;
  stamp = std::to_string(info.st_mtim.tv_sec) + '.' + std::to_string(info.st_mtim.tv_nsec) + ' ' +
          std::to_string(info.st_size);
  return true;
}

}  // namespace

bool hasArchiveFlag(const std::string& path) {
  std::string stamp;
  if (!stampOf(path, stamp)) return false;
  char published[64];
  const ssize_t n = getxattr(path.c_str(), kPublishedAttribute, published, sizeof published);
  return n < 0 || std::string(published, static_cast<size_t>(n)) != stamp;
}

bool clearArchiveFlag(const std::string& path) {
  std::string stamp;
  if (!stampOf(path, stamp)) return false;
  return setxattr(path.c_str(), kPublishedAttribute, stamp.data(), stamp.size(), 0) == 0;
}

}  // namespace morvel
