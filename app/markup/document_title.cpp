#include "markup/document_title.h"

#include "ascii.h"

#include <algorithm>

namespace morvel {

namespace {

bool blank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

}  // namespace

TitleSearch findTitle(std::string_view text) {
  constexpr std::string_view open = "<TITLE>";
  constexpr std::string_view close = "</TITLE>";
  TitleSearch result;
  const std::size_t start = ascii::findIgnoringCase(text, open);
  if (start == std::string_view::npos) return result;
  const std::size_t end = ascii::findIgnoringCase(text, close);
  if (end == std::string_view::npos) {
    result.damaged = true;
    return result;
  }
  const std::size_t from = start + open.size();
  // A "</TITLE>" before the "<TITLE>" leaves nothing between them.
  if (end <= from) return result;
  const std::string_view title = text.substr(from, end - from);
  if (!blank(title)) result.title = std::string(title);
  return result;
}

}  // namespace morvel
