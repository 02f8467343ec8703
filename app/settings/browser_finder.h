// Finding an installed web browser for the settings' browser list: a
// browser of one of two families, looked for first among the desktop
// entries of the application folders (by the program each entry starts),
// then among the programs on the search path.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// Firefox and its relatives; Chromium and its relatives.
enum class BrowserFamily { Firefox, Chromium };

// The program the family is known by, named in the message when none is
// found.
std::string_view familyProgram(BrowserFamily family);

struct BrowserSearchPlaces {
  // The folders "applications" of the data folders, most personal first.
  std::vector<std::filesystem::path> applicationFolders;
  // The folders of the search path, in order.
  std::vector<std::filesystem::path> programFolders;
};

// The places of this session: $XDG_DATA_HOME (or ~/.local/share) and
// $XDG_DATA_DIRS (or /usr/local/share and /usr/share), and $PATH.
BrowserSearchPlaces browserSearchPlaces();

struct FoundBrowser {
  std::string name;  // the entry's name, or the program's
  std::filesystem::path program;
  bool operator==(const FoundBrowser&) const = default;
};

// The browser of the family that the places hold: the family's programs are
// tried in order of preference, each first through the desktop entries and
// then on the search path; only an executable file counts.
std::optional<FoundBrowser> findBrowser(BrowserFamily family, const BrowserSearchPlaces& places);

// The program a desktop entry's "Exec=" line starts: its first word, with
// quotes taken off and an "env VAR=value" prefix skipped.
std::string programOfExecLine(std::string_view exec);

}  // namespace morvel
