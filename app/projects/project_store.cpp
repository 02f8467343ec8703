#include "projects/project_store.h"

#include "markup/utf8.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
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

bool needsQuotes(std::string_view text) {
  if (text.empty() || text == std::string_view(&kEndOfFile, 1)) return true;
  if (text.front() == ' ' || text.front() == '\t' || text.front() == '"' || text.back() == '\r') return true;
  return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string inQuotes(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
      case '\\':
        out += '\\';
        out += c;
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + "\"";
}

// The text of a quoted line; none when the line is not one (it is then
// taken as it stands).
std::optional<std::string> fromQuotes(std::string_view line) {
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return std::nullopt;
  std::string text;
  for (std::size_t i = 1; i + 1 < line.size(); ++i) {
    char c = line[i];
    if (c == '"') return std::nullopt;
    if (c == '\\') {
      if (i + 2 >= line.size()) return std::nullopt;
      switch (line[++i]) {
        case '"':
        case '\\':
          c = line[i];
          break;
        case 'n':
          c = '\n';
          break;
        case 'r':
          c = '\r';
          break;
        case 't':
          c = '\t';
          break;
        default:
          return std::nullopt;
      }
    }
    text += c;
  }
  return text;
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
  content.utf8 = isValidUtf8(bytes);
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
    const std::string_view text = line.substr(static_cast<size_t>(level));
    content.lines.push_back(ProjectLine{level, fromQuotes(text).value_or(std::string(text))});
    previous = level;
  }
  return content;
}

std::string formatProjectStore(const std::vector<ProjectLine>& lines) {
  std::string out;
  for (const ProjectLine& line : lines) {
    out.append(static_cast<size_t>(line.level), ' ');
    out += needsQuotes(line.text) ? inQuotes(line.text) : line.text;
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
