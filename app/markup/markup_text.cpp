#include "markup/markup_text.h"

#include "ascii.h"

#include <algorithm>
#include <filesystem>

namespace morvel {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMostFontEnds = 99;
constexpr std::size_t kMostFontStarts = 100;

// The extension with its dot, in upper case.
std::string upperExtension(std::string_view filePath) {
  return ascii::upperCopy(fs::path(filePath).extension().string());
}

// Up to `most` places of `pattern` from `from` on, in order.
std::vector<std::size_t> occurrences(std::string_view text, std::string_view pattern, std::size_t from,
                                     std::size_t most) {
  std::vector<std::size_t> found;
  for (std::size_t at = ascii::findIgnoringCase(text, pattern, from);
       at != std::string_view::npos && found.size() < most;
       at = ascii::findIgnoringCase(text, pattern, at + pattern.size()))
    found.push_back(at);
  return found;
}

}  // namespace

std::string addressOfFile(std::string_view filePath, std::string_view pagePath) {
  const fs::path file = fs::path(filePath).lexically_normal();
  if (pagePath.empty()) return file.filename().generic_string();
  const fs::path relative = file.lexically_relative(fs::path(pagePath).lexically_normal().parent_path());
  return relative.empty() ? file.generic_string() : relative.generic_string();
}

bool takesPictureCode(std::string_view filePath) {
  const std::string extension = upperExtension(filePath);
  return extension == ".GIF" || extension == ".JPG";
}

std::vector<std::string> codesForFile(std::string_view filePath, std::string_view pagePath,
                                      std::optional<PictureSize> picture) {
  const std::string address = addressOfFile(filePath, pagePath);
  const std::string extension = upperExtension(filePath);
  if (takesPictureCode(filePath)) {
    const PictureSize size = picture.value_or(PictureSize{});
    return {"<IMG SRC=\"" + address + "\" BORDER=\"0\" WIDTH=\"" + std::to_string(size.width) + "\" HEIGHT=\"" +
            std::to_string(size.height) + "\" ALT=\"\">"};
  }
  if (extension == ".WAV" || extension == ".MID" || extension == ".AU")
    return {"<EMBED SRC=\"" + address + "\" AUTOSTART=\"True\" HIDDEN=\"True\">", "<BGSOUND SRC=\"" + address + "\">"};
  return {"<A HREF=\"" + address + "\">" + fs::path(filePath).filename().string() + "</A>"};
}

std::optional<std::size_t> matchingFontEnd(std::string_view text, std::size_t start) {
  const std::vector<std::size_t> ends = occurrences(text, "</FONT>", start, kMostFontEnds);
  const std::vector<std::size_t> starts = occurrences(text, "<FONT ", start, kMostFontStarts);
  // starts[0] is normally the start code itself. Every further start code
  // that opens before the d-th end code takes one more end code.
  std::size_t d = 1;
  while (d < starts.size() && d - 1 < ends.size() && ends[d - 1] > starts[d]) ++d;
  if (d - 1 >= ends.size()) return std::nullopt;
  return ends[d - 1];
}

}  // namespace morvel
