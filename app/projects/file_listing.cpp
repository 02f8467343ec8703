#include "projects/file_listing.h"

#include "ascii.h"
#include "projects/archive_flag.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <algorithm>
#include <map>
#include <set>

namespace morvel {

namespace {

// The characters a short name may hold besides letters and digits.
constexpr std::string_view kShortNameSigns = "!#$%&'()-@^_`{}~";

bool shortNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         kShortNameSigns.find(c) != std::string_view::npos;
}

bool validShortPart(std::string_view part, std::size_t longest) {
  if (part.size() > longest) return false;
  return std::all_of(part.begin(), part.end(), shortNameCharacter);
}

bool isShortName(std::string_view name) {
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos) return !name.empty() && validShortPart(name, 8);
  if (dot == 0 || name.find('.', dot + 1) != std::string_view::npos) return false;
  return validShortPart(name.substr(0, dot), 8) && validShortPart(name.substr(dot + 1), 3);
}

// Capitals, with what a short name cannot hold left out (blanks and dots)
// or written as "_".
std::string shortPart(std::string_view part) {
  std::string out;
  for (char c : part) {
    if (c == ' ' || c == '.') continue;
    out += shortNameCharacter(c) ? ascii::upper(c) : '_';
  }
  return out;
}

bool isFile(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<std::string> maskPatterns(std::string_view mask) {
  std::vector<std::string> patterns;
  std::size_t at = 0;
  while (at <= mask.size()) {
    const std::size_t end = std::min(mask.find_first_of(";,", at), mask.size());
    std::string_view pattern = mask.substr(at, end - at);
    while (!pattern.empty() && pattern.front() == ' ') pattern.remove_prefix(1);
    while (!pattern.empty() && pattern.back() == ' ') pattern.remove_suffix(1);
    if (!pattern.empty()) patterns.emplace_back(pattern);
    at = end + 1;
  }
  return patterns;
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") pattern = "*";
  // The last "*" seen and where in the name it would take one more
  // character: each step moves the name or the pattern forwards.
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = std::string_view::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || ascii::lower(pattern[p]) == ascii::lower(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool matchesMask(std::string_view name, std::string_view mask) {
  for (const std::string& pattern : maskPatterns(mask)) {
    if (matchesPattern(name, pattern)) return true;
  }
  return false;
}

std::vector<std::string> listFiles(const std::string& folder, std::string_view mask) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.c_str());
  if (!dir) return names;
  const std::vector<std::string> patterns = maskPatterns(mask);
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (std::none_of(patterns.begin(), patterns.end(),
                     [name](const std::string& p) { return matchesPattern(name, p); }))
      continue;
    // Only a link or an unknown kind needs a look at the file itself.
    if (entry->d_type == DT_REG ||
        ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) && isFile(prefix + std::string(name))))
      names.emplace_back(name);
  }
  closedir(dir);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    if (ascii::lessIgnoringCase(a, b)) return true;
    if (ascii::lessIgnoringCase(b, a)) return false;
    return a < b;
  });
  return names;
}

FileFacts factsOf(const std::string& path) {
  FileFacts facts;
  struct statx info {};
  if (statx(AT_FDCWD, path.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return facts;
  facts.exists = true;
  facts.bytes = info.stx_size;
  facts.modified = info.stx_mtime.tv_sec;
  facts.accessed = info.stx_atime.tv_sec;
  if (info.stx_mask & STATX_BTIME) facts.created = info.stx_btime.tv_sec;
  // The owner's write permission, as the read-only attribute: what the
  // file says of itself, not what this user (root, say) may do.
  facts.readOnly = (info.stx_mode & S_IWUSR) == 0;
  const std::size_t slash = path.rfind('/');
  facts.hidden = path.compare(slash == std::string::npos ? 0 : slash + 1, 1, ".") == 0;
  facts.archive = hasArchiveFlag(path);
  return facts;
}

std::string attributeText(const FileFacts& facts) {
  std::string text;
  if (facts.readOnly) text += 'R';
  if (facts.hidden) text += 'H';
  if (facts.archive) text += 'A';
  return text;
}

std::vector<std::string> shortNames(const std::vector<std::string>& names) {
  std::vector<std::string> shorts(names.size());
  std::set<std::string> taken;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (!isShortName(names[k])) continue;
    shorts[k] = ascii::upperCopy(names[k]);
    taken.insert(shorts[k]);
  }
  // The next number to try for each beginning, so that many long names
  // alike cost no more than as many short ones. A short name keeps at most
  // six letters of the long one before its "~", so names alike in those
  // six and in their extension draw from the same numbers.
  std::map<std::string, int> next;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (!shorts[k].empty()) continue;
    const std::string_view name = names[k];
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && dot > 0;
    const std::string base = shortPart(hasExtension ? name.substr(0, dot) : name);
    const std::string extension = hasExtension ? shortPart(name.substr(dot + 1)).substr(0, 3) : std::string();
    int& number = next[base.substr(0, 6) + "." + extension];
    for (;;) {
      const std::string tail = "~" + std::to_string(++number);
      std::string candidate = base.substr(0, 8 - std::min<std::size_t>(tail.size(), 7)) + tail;
      if (!extension.empty()) candidate += "." + extension;
      if (taken.insert(candidate).second) {
        shorts[k] = candidate;
        break;
      }
    }
  }
  return shorts;
}

}  // namespace morvel
