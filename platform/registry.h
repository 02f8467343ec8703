// The settings store: the stand-in for the program's registry key.
//
// One INI-style text file in UTF-8. Each section is a subkey, each entry a
// named value. Section and value names compare without regard to letter
// case: ASCII and the Latin-1 letters, so "Højde" and "HØJDE" are one entry.
// All strings through this interface are UTF-8.
//
// Writes change the store in memory; UpdateFile() writes the whole store to
// a temporary file beside the old one, flushes it to disk and renames it into
// place, with mode 0600 because the store holds passwords. The destructor
// calls UpdateFile() when something changed, so a run that closes normally
// writes the file once. A caller that must not lose a change to a crash later
// in the run (OK in a dialog, a new password) calls UpdateFile() itself.
//
// Nothing here throws on bad input. A damaged file gives what can be read from
// it, and every value that cannot be read takes its default. A file that
// exists but cannot be read at all is never overwritten: the run goes on with
// defaults and UpdateFile() reports failure.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morvel {

class RegIniFile {
 public:
  explicit RegIniFile(std::filesystem::path file);
  ~RegIniFile();

  RegIniFile(const RegIniFile&) = delete;
  RegIniFile& operator=(const RegIniFile&) = delete;

  const std::filesystem::path& FileName() const { return file_; }

  std::string ReadString(std::string_view section, std::string_view name, std::string_view defaultValue) const;
  // Colours are integers too (red in the low byte, as RGB() builds them).
  int ReadInteger(std::string_view section, std::string_view name, int defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view name, bool defaultValue) const;

  void WriteString(std::string_view section, std::string_view name, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view name, int value);
  void WriteBool(std::string_view section, std::string_view name, bool value);

  // False when there was no such value.
  bool DeleteValue(std::string_view section, std::string_view name);
  void EraseSection(std::string_view section);

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view name) const;
  // Value names of a section, and the section names, as first written.
  std::vector<std::string> ReadSection(std::string_view section) const;
  std::vector<std::string> ReadSections() const;

  // Writes the store when it has changed since it was read or last written.
  // False when the file could not be written; the old file is then intact.
  bool UpdateFile();

 private:
  struct Entry {
    std::string name;
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::unordered_map<std::string, std::size_t> index;  // folded name -> entry
  };

  void load();
  void parse(std::string_view content);
  std::string serialize() const;
  bool writeFile(const std::string& content) const;

  const Section* findSection(std::string_view name) const;
  Section& sectionFor(std::string_view name);
  const Entry* findEntry(std::string_view section, std::string_view name) const;
  void setValue(Section& section, std::string_view name, std::string value);
  void reindex();

  std::filesystem::path file_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded name -> section
  bool modified_ = false;
  bool unreadable_ = false;
};

// Where the store lives: $MORVEL_CONFIG when set, else
// $XDG_CONFIG_HOME/Brimvale/Morvel.ini (~/.config when unset). The folder is
// created when missing.
std::filesystem::path defaultSettingsPath();

}  // namespace morvel
