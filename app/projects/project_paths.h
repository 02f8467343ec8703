// Paths of project documents. A project keeps its root folder as a full
// path ending in "/" and each document as a path relative to it, which may
// climb out of the root folder with leading "../".
#pragma once

#include <string>
#include <string_view>

namespace morvel {

// The folder with a "/" at its end.
std::string withTrailingSlash(std::string folder);

// The shortest path from `rootFolder` to `file` (both full paths), with
// "../" for each folder it climbs.
std::string relativePath(std::string_view rootFolder, std::string_view file);

// The full path of `text` relative to `base` (a folder ending in "/"). Each
// leading "../" cuts one folder from the base; the shorthand ".../" cuts
// two, "..../" three, and so on. The base is never cut above the root "/".
std::string resolveRelativePath(std::string_view base, std::string_view text);

// ".htm", ".html", ".shtml", ".phtml" and ".asp", exactly in that case.
bool hasHtmlExtension(std::string_view name);
// The pages a double click opens: the HTML extensions and ".css".
bool opensInEditor(std::string_view name);

}  // namespace morvel
