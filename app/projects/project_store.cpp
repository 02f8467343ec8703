#include "projects/project_store.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace morvel {

namespace {

constexpr char kEndOfFile = '\x1A';

// The lines of the text without their CR LF (or a lone LF, as an editor on
// this system leaves them).
std::vector<std::string_view> splitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
  }
  return lines;
}

mode_t storeMode(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

ProjectStoreContent parseProjectStore(std::string_view bytes) {
  ProjectStoreContent content;
  int previous = -1;
  for (std::string_view line : splitLines(bytes)) {
    if (line.size() == 1 && line[0] == kEndOfFile) break;
    // An empty line (a trailing one, say) carries no node.
    if (line.empty()) continue;
    const size_t indent = line.find_first_not_of(" \t");
    const int level = static_cast<int>(indent == std::string_view::npos ? line.size() : indent);
    if (level > previous + 1) {
      content.invalidLevel = true;
      break;
    }
    content.lines.push_back(ProjectLine{level, std::string(line.substr(static_cast<size_t>(level)))});
    previous = level;
  }
  return content;
}

std::string formatProjectStore(const std::vector<ProjectLine>& lines) {
  std::string out;
  for (const ProjectLine& line : lines) {
    out.append(static_cast<size_t>(line.level), ' ');
    out += line.text;
    out += "\r\n";
  }
  return out;
}

ProjectFile readProjectFile(const std::string& path) {
  ProjectFile file;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return file;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    file.status = ProjectFileStatus::Unreadable;
    return file;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    file.status = ProjectFileStatus::Unreadable;
    return file;
  }
  file.status = ProjectFileStatus::Read;
  file.content = parseProjectStore(bytes);
  return file;
}

bool writeProjectFile(const std::string& path, const std::vector<ProjectLine>& lines) {
  const std::string bytes = formatProjectStore(lines);
  std::string temporary = path + ".XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  bool written = true;
  for (size_t done = 0; written && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0)
      written = false;
    else
      done += static_cast<size_t>(n);
  }
  // mkstemp makes the file private; the store keeps the mode it had, or
  // takes the one any new file of the user gets.
  written = written && fchmod(fd, storeMode(path)) == 0 && fsync(fd) == 0;
  written = (::close(fd) == 0) && written;
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace morvel
