// The project store "projekt.mvp": the project tree as indented text, one
// line per node in pre-order, as many spaces before the text as the node's
// level, lines ended by CR LF, in UTF-8 (stores written before were in
// Windows-1252, and are still read).
//
// A text that would not read back as it is (one that begins with a blank,
// a TAB or a double quote, holds a line break, ends in CR, is empty, or is
// the end-of-file mark) is written in double quotes, with a backslash
// before a quote or backslash in it and \n, \r, \t for LF, CR and TAB.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvel {

inline constexpr std::string_view kProjectStoreName = "projekt.mvp";
inline constexpr std::string_view kInvalidTreeNodeLevel = "Invalid TreeNode Level";

struct ProjectLine {
  int level = 0;
  std::string text;  // the node's text, as it is

  bool operator==(const ProjectLine&) const = default;
};

struct ProjectStoreContent {
  std::vector<ProjectLine> lines;
  // A line lay more than one level deeper than the one before it; `lines`
  // holds what came before it.
  bool invalidLevel = false;
  // The store is UTF-8; a store in Windows-1252 (written before) is not.
  bool utf8 = true;
};

// Reads the text of a store. Each leading tab or space is one level. A line
// holding only the character 0x1A ends the store.
ProjectStoreContent parseProjectStore(std::string_view bytes);
std::string formatProjectStore(const std::vector<ProjectLine>& lines);

enum class ProjectFileStatus { Read, Missing, Unreadable };

struct ProjectFile {
  ProjectFileStatus status = ProjectFileStatus::Missing;
  ProjectStoreContent content;
};

ProjectFile readProjectFile(const std::string& path);
// Writes a temporary file beside `path` and renames it into place, so that
// a failed write leaves the old store as it was.
bool writeProjectFile(const std::string& path, const std::vector<ProjectLine>& lines);

}  // namespace morvel
