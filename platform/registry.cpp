#include "registry.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

namespace morvel {

namespace fs = std::filesystem;

namespace {

// Upper-cases ASCII letters and the Latin-1 letters U+00E0..U+00FE (but not
// the division sign U+00F7), which in UTF-8 are C3 A0..C3 BE.
std::string foldName(std::string_view name) {
  std::string folded(name);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto c = static_cast<unsigned char>(folded[i]);
    if (c >= 'a' && c <= 'z') {
      folded[i] = static_cast<char>(c - 'a' + 'A');
    } else if (c == 0xC3 && i + 1 < folded.size()) {
      const auto next = static_cast<unsigned char>(folded[i + 1]);
      if (next >= 0xA0 && next <= 0xBE && next != 0xB7) folded[i + 1] = static_cast<char>(next - 0x20);
      ++i;
    }
  }
  return folded;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names, section names and values are written on one line each. Backslash,
// line breaks and NUL are escaped everywhere; in names also "=", and blanks at
// either end (which reading trims away).
enum class Field { Name, Value };

std::string escape(std::string_view text, Field field) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool atEdge = i == 0 || i + 1 == text.size();
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\0':
        out += "\\0";
        break;
      case '=':
        out += field == Field::Name ? "\\=" : "=";
        break;
      case ' ':
        out += (field == Field::Name && atEdge) ? "\\s" : " ";
        break;
      case '\t':
        out += (field == Field::Name && atEdge) ? "\\t" : "\t";
        break;
      case '[':
      case ';':
      case '#':
        if (field == Field::Name && i == 0) out += '\\';
        out += c;
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    switch (next) {
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case '0':
        out += '\0';
        break;
      case 's':
        out += ' ';
        break;
      case 't':
        out += '\t';
        break;
      default:
        out += next;
        break;  // \\ \= \[ and anything unknown
    }
  }
  return out;
}

// The first "=" that is not escaped, or npos.
std::size_t separatorOf(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\')
      ++i;
    else if (line[i] == '=')
      return i;
  }
  return std::string_view::npos;
}

std::optional<int> parseInteger(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && foldName(a) == foldName(b);
}

// Writes all of `data` to `fd`, going on after interruptions and short writes.
bool writeAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// A symbolic link (a managed dotfile, say) stays a link: the file it points
// to is the one replaced.
fs::path replacedFile(const fs::path& file) {
  std::error_code error;
  if (fs::is_symlink(file, error)) {
    fs::path target = fs::canonical(file, error);
    if (!error) return target;
  }
  return file;
}

// Temporary files left by a run that died while writing hold settings and
// passwords nobody will ever read; they go once a write has succeeded. A
// fresh one may belong to a writer at work right now and is left alone.
void removeStaleTemporaries(const fs::path& target) {
  const std::string prefix = target.filename().string() + ".tmp-";
  const auto cutoff = fs::file_time_type::clock::now() - std::chrono::minutes(10);
  std::error_code error;
  for (fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(), error), end;
       !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
    std::error_code ignored;
    if (it->is_regular_file(ignored) && it->last_write_time(ignored) < cutoff) fs::remove(it->path(), ignored);
  }
}

}  // namespace

RegIniFile::RegIniFile(fs::path file) : file_(std::move(file)) {
  try {
    load();
  } catch (const std::exception&) {
    // Only running out of memory gets here. Go on with what was read, and
    // never write over a file that was not read whole.
    unreadable_ = true;
  }
}

RegIniFile::~RegIniFile() {
  try {
    UpdateFile();
  } catch (...) {
    // A destructor must not throw; the old file is still intact.
  }
}

void RegIniFile::load() {
  std::error_code error;
  const fs::file_status status = fs::status(file_, error);
  if (status.type() == fs::file_type::not_found) return;
  if (error || status.type() != fs::file_type::regular) {
    unreadable_ = true;
    return;
  }
  std::ifstream in(file_, std::ios::binary);
  if (!in.is_open()) {
    unreadable_ = true;
    return;
  }
  const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    unreadable_ = true;
    return;
  }
  parse(content);
}

void RegIniFile::parse(std::string_view content) {
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
  Section* current = nullptr;
  std::size_t pos = 0;
  while (pos < content.size()) {
    std::size_t end = content.find('\n', pos);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(pos, end - pos);
    pos = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);

    const std::string_view bare = trim(line);
    if (bare.empty() || bare.front() == ';' || bare.front() == '#') continue;
    if (bare.front() == '[') {
      // A broken header starts no section: its values cannot be placed.
      current = nullptr;
      if (bare.size() >= 2 && bare.back() == ']') {
        const std::string name = unescape(trim(bare.substr(1, bare.size() - 2)));
        if (!name.empty()) current = &sectionFor(name);
      }
      continue;
    }
    const std::size_t separator = separatorOf(line);
    if (current == nullptr || separator == std::string_view::npos) continue;
    const std::string name = unescape(trim(line.substr(0, separator)));
    if (name.empty()) continue;
    setValue(*current, name, unescape(line.substr(separator + 1)));
  }
}

std::string RegIniFile::serialize() const {
  std::string out;
  for (const Section& section : sections_) {
    if (!out.empty()) out += '\n';
    out += '[';
    out += escape(section.name, Field::Name);
    out += "]\n";
    for (const Entry& entry : section.entries) {
      out += escape(entry.name, Field::Name);
      out += '=';
      out += escape(entry.value, Field::Value);
      out += '\n';
    }
  }
  return out;
}

bool RegIniFile::UpdateFile() {
  if (!modified_) return true;
  if (unreadable_) return false;
  if (!writeFile(serialize())) return false;
  modified_ = false;
  return true;
}

bool RegIniFile::writeFile(const std::string& content) const {
  const fs::path target = replacedFile(file_);
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";

  std::string temporary = (folder / (target.filename().string() + ".tmp-XXXXXX")).string();
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool written = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
  written = (::close(fd) == 0) && written;
  if (!written || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  syncFolder(folder);
  removeStaleTemporaries(target);
  return true;
}

const RegIniFile::Section* RegIniFile::findSection(std::string_view name) const {
  const auto found = sectionIndex_.find(foldName(name));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

RegIniFile::Section& RegIniFile::sectionFor(std::string_view name) {
  const std::string folded = foldName(name);
  const auto found = sectionIndex_.find(folded);
  if (found != sectionIndex_.end()) return sections_[found->second];
  sectionIndex_.emplace(folded, sections_.size());
  sections_.push_back(Section{std::string(name), {}, {}});
  return sections_.back();
}

const RegIniFile::Entry* RegIniFile::findEntry(std::string_view section, std::string_view name) const {
  const Section* s = findSection(section);
  if (s == nullptr) return nullptr;
  const auto found = s->index.find(foldName(name));
  return found == s->index.end() ? nullptr : &s->entries[found->second];
}

// An existing value keeps the spelling of its name.
void RegIniFile::setValue(Section& section, std::string_view name, std::string value) {
  const std::string folded = foldName(name);
  const auto found = section.index.find(folded);
  if (found != section.index.end()) {
    section.entries[found->second].value = std::move(value);
    return;
  }
  section.index.emplace(folded, section.entries.size());
  section.entries.push_back(Entry{std::string(name), std::move(value)});
}

void RegIniFile::reindex() {
  sectionIndex_.clear();
  for (std::size_t s = 0; s < sections_.size(); ++s) {
    sectionIndex_.emplace(foldName(sections_[s].name), s);
    Section& section = sections_[s];
    section.index.clear();
    for (std::size_t e = 0; e < section.entries.size(); ++e)
      section.index.emplace(foldName(section.entries[e].name), e);
  }
}

std::string RegIniFile::ReadString(std::string_view section, std::string_view name,
                                   std::string_view defaultValue) const {
  const Entry* entry = findEntry(section, name);
  return entry ? entry->value : std::string(defaultValue);
}

int RegIniFile::ReadInteger(std::string_view section, std::string_view name, int defaultValue) const {
  const Entry* entry = findEntry(section, name);
  if (entry == nullptr) return defaultValue;
  return parseInteger(entry->value).value_or(defaultValue);
}

bool RegIniFile::ReadBool(std::string_view section, std::string_view name, bool defaultValue) const {
  const Entry* entry = findEntry(section, name);
  if (entry == nullptr) return defaultValue;
  if (const std::optional<int> number = parseInteger(entry->value)) return *number != 0;
  const std::string_view word = trim(entry->value);
  if (equalsIgnoringAsciiCase(word, "true")) return true;
  if (equalsIgnoringAsciiCase(word, "false")) return false;
  return defaultValue;
}

void RegIniFile::WriteString(std::string_view section, std::string_view name, std::string_view value) {
  Section& s = sectionFor(section);
  const Entry* old = findEntry(section, name);
  if (old != nullptr && old->value == value) return;
  setValue(s, name, std::string(value));
  modified_ = true;
}

void RegIniFile::WriteInteger(std::string_view section, std::string_view name, int value) {
  WriteString(section, name, std::to_string(value));
}

void RegIniFile::WriteBool(std::string_view section, std::string_view name, bool value) {
  WriteString(section, name, value ? "1" : "0");
}

bool RegIniFile::DeleteValue(std::string_view section, std::string_view name) {
  const auto found = sectionIndex_.find(foldName(section));
  if (found == sectionIndex_.end()) return false;
  Section& s = sections_[found->second];
  const auto entry = s.index.find(foldName(name));
  if (entry == s.index.end()) return false;
  s.entries.erase(s.entries.begin() + static_cast<std::ptrdiff_t>(entry->second));
  reindex();
  modified_ = true;
  return true;
}

void RegIniFile::EraseSection(std::string_view section) {
  const auto found = sectionIndex_.find(foldName(section));
  if (found == sectionIndex_.end()) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(found->second));
  reindex();
  modified_ = true;
}

bool RegIniFile::SectionExists(std::string_view section) const { return findSection(section) != nullptr; }

bool RegIniFile::ValueExists(std::string_view section, std::string_view name) const {
  return findEntry(section, name) != nullptr;
}

std::vector<std::string> RegIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> names;
  if (const Section* s = findSection(section))
    for (const Entry& entry : s->entries) names.push_back(entry.name);
  return names;
}

std::vector<std::string> RegIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

fs::path defaultSettingsPath() {
  fs::path file;
  if (const char* explicitFile = std::getenv("MORVEL_CONFIG"); explicitFile && *explicitFile) {
    file = explicitFile;
  } else {
    fs::path base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg && fs::path(xdg).is_absolute()) {
      base = xdg;
    } else {
      const char* home = std::getenv("HOME");
      if (!home || !*home) {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : "/tmp";
      }
      base = fs::path(home) / ".config";
    }
    file = base / "Brimvale" / "Morvel.ini";
  }
  std::error_code error;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), error);
  return file;
}

}  // namespace morvel
