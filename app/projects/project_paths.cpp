#include "projects/project_paths.h"

#include <array>
#include <vector>

namespace morvel {

namespace {

std::vector<std::string_view> folderParts(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    const size_t slash = path.find('/');
    const std::string_view part = path.substr(0, slash);
    if (!part.empty() && part != ".") parts.push_back(part);
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parts;
}

// Takes the last folder off a base that ends in "/", down to the root.
void cutOneFolder(std::string& base) {
  if (base.size() <= 1) return;
  base.pop_back();
  while (base.size() > 1 && base.back() != '/') base.pop_back();
}

std::string_view extensionOf(std::string_view name) {
  const size_t slash = name.rfind('/');
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return {};
  return name.substr(dot);
}

}  // namespace

std::string withTrailingSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

std::string relativePath(std::string_view rootFolder, std::string_view file) {
  const std::vector<std::string_view> from = folderParts(rootFolder);
  const std::vector<std::string_view> to = folderParts(file);
  size_t common = 0;
  while (common < from.size() && common + 1 < to.size() && from[common] == to[common]) ++common;
  std::string out;
  for (size_t k = common; k < from.size(); ++k) out += "../";
  for (size_t k = common; k < to.size(); ++k) {
    if (k > common) out += '/';
    out += to[k];
  }
  return out;
}

std::string resolveRelativePath(std::string_view base, std::string_view text) {
  std::string folder = withTrailingSlash(std::string(base));
  if (text.size() > 2 && text.substr(0, 3) == "...") {
    // ".../" climbs two folders, "..../" three: one less than its dots.
    const size_t dots = text.find_first_not_of('.');
    if (dots != std::string_view::npos && text[dots] == '/') {
      for (size_t k = 1; k < dots; ++k) cutOneFolder(folder);
      text.remove_prefix(dots + 1);
    }
  }
  while (text.substr(0, 3) == "../") {
    cutOneFolder(folder);
    text.remove_prefix(3);
  }
  return folder + std::string(text);
}

bool hasHtmlExtension(std::string_view name) {
  static constexpr std::array<std::string_view, 5> kHtml{".htm", ".html", ".shtml", ".phtml", ".asp"};
  const std::string_view extension = extensionOf(name);
  for (std::string_view e : kHtml) {
    if (extension == e) return true;
  }
  return false;
}

bool opensInEditor(std::string_view name) { return hasHtmlExtension(name) || extensionOf(name) == ".css"; }

}  // namespace morvel
