// What the file lists show of a folder: the files whose names match a mask,
// and of each file its size, times, attributes and short name. Paths and
// names are the file system's bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvel {

// The patterns of a mask: "*.gif;*.jpg" and "*.exe,*.zip" hold two each.
std::vector<std::string> maskPatterns(std::string_view mask);

// Whether a name matches one pattern ("*" any run of characters, "?" one
// character), letters compared without regard to case. "*.*" matches every
// name, with or without a dot.
bool matchesPattern(std::string_view name, std::string_view pattern);
bool matchesMask(std::string_view name, std::string_view mask);

// The names of the files in `folder` (a link to a file counts; folders do
// not) that match `mask`, ordered by name without regard to case.
std::vector<std::string> listFiles(const std::string& folder, std::string_view mask);

struct FileFacts {
  bool exists = false;
  std::uint64_t bytes = 0;
  // Seconds since 1970; created is -1 where the file system does not know.
  std::int64_t modified = 0;
  std::int64_t created = -1;
  std::int64_t accessed = 0;
  bool readOnly = false;  // its owner may not write it
  bool hidden = false;    // its name begins with "."
  bool archive = false;   // changed since it was last published

  bool operator==(const FileFacts&) const = default;
};

FileFacts factsOf(const std::string& path);

// "R", "H" and "A" for read-only, hidden and archive, in that order.
std::string attributeText(const FileFacts& facts);

// The short names (eight letters, a dot and three) of the files of one
// folder, in the order given: a name that is a short name already is
// written in capitals; another gets the first letters of its name, "~" and
// the first number no other short name of the folder has ("INDEKS~1.HTM").
std::vector<std::string> shortNames(const std::vector<std::string>& names);

}  // namespace morvel
