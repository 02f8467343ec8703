// The project store "projekt.mvp": the project tree as indented text, one
// line per node in pre-order, as many spaces before the text as the node's
// level, lines ended by CR LF, in the Windows-1252 code page.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvel {

inline constexpr std::string_view kProjectStoreName = "projekt.mvp";
inline constexpr std::string_view kInvalidTreeNodeLevel = "Invalid TreeNode Level";

struct ProjectLine {
  int level = 0;
  std::string text;  // Windows-1252 bytes

  bool operator==(const ProjectLine&) const = default;
};

struct ProjectStoreContent {
  std::vector<ProjectLine> lines;
  // A line lay more than one level deeper than the one before it; `lines`
  // holds what came before it.
  bool invalidLevel = false;
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
