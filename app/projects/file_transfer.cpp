#include "projects/file_transfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace morvel {

namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, so that a failed close counts.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, const char* data, ssize_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

bool copyContent(int in, int out) {
  std::vector<char> block(1 << 16);
  for (;;) {
    const ssize_t read = ::read(in, block.data(), block.size());
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) return false;
    if (read == 0) return true;
    if (!writeAll(out, block.data(), read)) return false;
  }
}

}  // namespace

bool copyFileWhole(const std::string& from, const std::string& to) {
  Descriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (in.get() < 0 || fstat(in.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  std::string temporary = to + ".morvel-XXXXXX";
  Descriptor out(mkostemp(temporary.data(), O_CLOEXEC));
  if (out.get() < 0) return false;
  bool copied = copyContent(in.get(), out.get());
  copied = fchmod(out.get(), info.st_mode & 07777) == 0 && copied;
  copied = out.close() && copied;
  copied = copied && std::rename(temporary.c_str(), to.c_str()) == 0;
  if (!copied) ::unlink(temporary.c_str());
  return copied;
}

bool moveFile(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return true;
  if (errno != EXDEV) return false;
  return copyFileWhole(from, to) && ::unlink(from.c_str()) == 0;
}

bool renameWithoutReplacing(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  // File systems that cannot rename that way: look first.
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat info {};
  if (lstat(to.c_str(), &info) == 0) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

}  // namespace morvel
