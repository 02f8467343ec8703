// The line ends of a file: a document is saved with those its file had.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvel {

enum class LineEnd { CrLf, Lf, Cr };

// The first line end of a text decides (CR LF, LF, or a CR alone); a text
// without one gets CR LF, as new pages do.
LineEnd firstLineEnd(std::string_view bytes);

// The line end of the file's text, read as far as its first line end; none
// when the file cannot be read.
std::optional<LineEnd> fileLineEnd(const std::string& path);

// "CR LF", "LF" or "CR", as the status bar shows it.
std::string_view lineEndName(LineEnd end);

}  // namespace morvel
