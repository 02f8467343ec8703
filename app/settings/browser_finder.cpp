#include "settings/browser_finder.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <span>
#include <system_error>

namespace morvel {

namespace fs = std::filesystem;

namespace {

// Each family's programs, most wanted first.
constexpr std::string_view kFirefoxPrograms[] = {"firefox",   "firefox-esr", "firefox-bin", "iceweasel",
                                                 "librewolf", "waterfox",    "floorp",      "icecat",
                                                 "seamonkey", "palemoon",    "basilisk",    "netscape"};
constexpr std::string_view kChromiumPrograms[] = {"chromium",
                                                  "chromium-browser",
                                                  "google-chrome",
                                                  "google-chrome-stable",
                                                  "google-chrome-beta",
                                                  "brave-browser",
                                                  "brave",
                                                  "microsoft-edge",
                                                  "microsoft-edge-stable",
                                                  "vivaldi",
                                                  "vivaldi-stable",
                                                  "opera",
                                                  "thorium-browser"};

std::span<const std::string_view> programsOf(BrowserFamily family) {
  if (family == BrowserFamily::Firefox) return kFirefoxPrograms;
  return kChromiumPrograms;
}

struct DesktopEntry {
  std::string name;
  std::string program;
};

std::string_view trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

// The entry's unlocalised name and program; none for a file that is no
// application entry or that hides itself.
std::optional<DesktopEntry> readDesktopEntry(const fs::path& file) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  DesktopEntry entry;
  bool inMainGroup = false;
  bool application = false;
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view text = trimmed(line);
    if (text.starts_with('[')) {
      inMainGroup = text == "[Desktop Entry]";
      continue;
    }
    if (!inMainGroup) continue;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = trimmed(text.substr(0, equals));
    const std::string_view value = trimmed(text.substr(equals + 1));
    if (key == "Name")
      entry.name = value;
    else if (key == "Exec")
      entry.program = programOfExecLine(value);
    else if (key == "Type")
      application = value == "Application";
    else if (key == "Hidden" && value == "true")
      return std::nullopt;
  }
  if (!application || entry.program.empty()) return std::nullopt;
  return entry;
}

std::vector<DesktopEntry> desktopEntries(const std::vector<fs::path>& folders) {
  std::vector<DesktopEntry> entries;
  for (const fs::path& folder : folders) {
    std::error_code error;
    std::vector<fs::path> files;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
      if (it->path().extension() == ".desktop") files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      if (std::optional<DesktopEntry> entry = readDesktopEntry(file)) entries.push_back(std::move(*entry));
    }
  }
  return entries;
}

bool isExecutableFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// A program named without a folder is looked for on the search path.
std::optional<fs::path> resolveProgram(const std::string& program, const BrowserSearchPlaces& places) {
  if (program.find('/') != std::string::npos) {
    if (isExecutableFile(program)) return fs::path(program);
    return std::nullopt;
  }
  for (const fs::path& folder : places.programFolders) {
    const fs::path candidate = folder / program;
    if (isExecutableFile(candidate)) return candidate;
  }
  return std::nullopt;
}

std::string capitalised(std::string_view program) {
  std::string name(program);
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

std::vector<fs::path> splitFolders(const char* list, std::vector<fs::path> fallback) {
  if (!list || !*list) return fallback;
  std::vector<fs::path> folders;
  std::string_view rest(list);
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view part = rest.substr(0, colon);
    if (!part.empty()) folders.emplace_back(part);
    if (colon == std::string_view::npos) break;
    rest.remove_prefix(colon + 1);
  }
  return folders;
}

}  // namespace

std::string_view familyProgram(BrowserFamily family) { return programsOf(family).front(); }

std::string programOfExecLine(std::string_view exec) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < exec.size()) {
    while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t')) ++i;
    if (i >= exec.size()) break;
    std::string word;
    if (exec[i] == '"') {
      for (++i; i < exec.size() && exec[i] != '"'; ++i) {
        if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
        word += exec[i];
      }
      ++i;
    } else {
      for (; i < exec.size() && exec[i] != ' ' && exec[i] != '\t'; ++i) word += exec[i];
    }
    words.push_back(std::move(word));
  }
  std::size_t first = 0;
  if (first < words.size() && fs::path(words[first]).filename() == "env") {
    ++first;
    while (first < words.size() && words[first].find('=') != std::string::npos) ++first;
  }
  return first < words.size() ? words[first] : std::string();
}

BrowserSearchPlaces browserSearchPlaces() {
  BrowserSearchPlaces places;
  const char* home = std::getenv("HOME");
  const fs::path personal = std::getenv("XDG_DATA_HOME") && *std::getenv("XDG_DATA_HOME")
                                ? fs::path(std::getenv("XDG_DATA_HOME"))
                                : fs::path(home ? home : "") / ".local/share";
  places.applicationFolders.push_back(personal / "applications");
  for (const fs::path& data : splitFolders(std::getenv("XDG_DATA_DIRS"), {"/usr/local/share", "/usr/share"}))
    places.applicationFolders.push_back(data / "applications");
  places.programFolders = splitFolders(std::getenv("PATH"), {"/usr/local/bin", "/usr/bin", "/bin"});
  return places;
}

std::optional<FoundBrowser> findBrowser(BrowserFamily family, const BrowserSearchPlaces& places) {
  const std::vector<DesktopEntry> entries = desktopEntries(places.applicationFolders);
  for (const std::string_view program : programsOf(family)) {
    for (const DesktopEntry& entry : entries) {
      if (fs::path(entry.program).filename() != program) continue;
      if (std::optional<fs::path> path = resolveProgram(entry.program, places))
        return FoundBrowser{entry.name.empty() ? capitalised(program) : entry.name, *path};
    }
    if (std::optional<fs::path> path = resolveProgram(std::string(program), places))
      return FoundBrowser{capitalised(program), *path};
  }
  return std::nullopt;
}

}  // namespace morvel
