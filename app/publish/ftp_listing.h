// Reading the lines of a "LIST" reply into entries, by the server's type.
#pragma once

#include "markup/date_format.h"
#include "ftp_protocol.h"

#include <optional>
#include <string>
#include <string_view>

namespace morvel::ftp {

struct FtpListEntry {
  std::string name;
  bool isDirectory = false;  // links count as folders
  bool isLink = false;
  std::string date;  // the short date, a space and the time; "?" when unreadable
  std::string size;  // as the server wrote it
};

// Reads one listing. VMS listings put a long name on a line of its own with
// the details on the next, so the parser keeps a line between calls; use
// one parser per listing.
class FtpListingParser {
 public:
  explicit FtpListingParser(TFTPServerType type) : type_(type) {}
  // The entry on this line, or nothing for lines that are not entries
  // ("total 12", headings) and for types whose listings are not read.
  std::optional<FtpListEntry> parse(std::string_view line);

 private:
  std::optional<FtpListEntry> parseVms(std::string_view line);

  TFTPServerType type_;
  std::string kept_;
};

// The single parsers; `now` decides the year of UNIX entries that show a
// time instead of a year.
std::optional<FtpListEntry> parseUnixLine(std::string_view line, const DateTime& now);
std::optional<FtpListEntry> parseVmLine(std::string_view line);
std::optional<FtpListEntry> parseVmVpsLine(std::string_view line);

// Field n of a line whose runs of spaces count as one space; a line that
// begins with a space has an empty field 0.
std::string listingField(std::string_view line, int n);

// The text after field n and the spaces that follow it, with its own inner
// spaces: the name at the end of a listing line.
std::string_view textAfterField(std::string_view line, int n);

// Whether a name from a server can be a file or folder name inside a local
// folder: not empty, not "." or "..", no "/" or "\\", no NUL or other
// control character. Anything else could write outside the folder.
bool isSafeLocalName(std::string_view name);

}  // namespace morvel::ftp
