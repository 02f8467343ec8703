#include "markup/entities.h"

#include "ascii.h"
#include "markup/utf8.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace morvel {

namespace {

struct EntityRow {
  char character;         // in Windows-1252
  std::string_view utf8;  // the same character in UTF-8
  std::string_view name;
  std::string_view numeric;  // empty for the two signs, which have none
};

constexpr std::array<EntityRow, 8> kRows{{
    {'\xE6', "\xC3\xA6", "&aelig;", "&#230;"},
    {'\xF8', "\xC3\xB8", "&oslash;", "&#248;"},
    {'\xE5', "\xC3\xA5", "&aring;", "&#229;"},
    {'\xC6', "\xC3\x86", "&AElig;", "&#198;"},
    {'\xD8', "\xC3\x98", "&Oslash;", "&#216;"},
    {'\xC5', "\xC3\x85", "&Aring;", "&#197;"},
    {'\xA9', "\xC2\xA9", "&copy;", ""},
    {'\xAE', "\xC2\xAE", "&reg;", ""},
}};

bool validUtf8WithNonAscii(std::string_view text) {
  bool nonAscii = false;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = utf8SequenceAt(text, at);
    if (length == 0) return false;
    nonAscii = nonAscii || length > 1;
    at += length;
  }
  return nonAscii;
}

enum class Declared { None, Utf8, Other };

// The character set the page's head names ("charset=utf-8" in a META code,
// with or without quotes and blanks); the body is not searched, so a page
// that writes about character sets is not taken at its word.
Declared declaredCharset(std::string_view text) {
  const std::size_t body = ascii::findIgnoringCase(text, "<BODY");
  const std::string_view head = text.substr(0, body);
  constexpr std::string_view name = "CHARSET";
  for (std::size_t at = ascii::findIgnoringCase(head, name); at != std::string_view::npos;
       at = ascii::findIgnoringCase(head, name, at + 1)) {
    std::size_t v = at + name.size();
    while (v < head.size() && (head[v] == ' ' || head[v] == '\t')) ++v;
    if (v >= head.size() || head[v] != '=') continue;
    ++v;
    while (v < head.size() && (head[v] == ' ' || head[v] == '\t' || head[v] == '"' || head[v] == '\'')) ++v;
    const std::string_view value = head.substr(v);
    if (ascii::startsWithIgnoringCase(value, "UTF-8") || ascii::startsWithIgnoringCase(value, "UTF8"))
      return Declared::Utf8;
    return Declared::Other;
  }
  return Declared::None;
}

// Reports progress in eight equal steps (12, 25, ... 100) as the walk passes
// each eighth of the text, so a bar moves the same way for any text length.
class ProgressSteps {
 public:
  ProgressSteps(const ProgressCallback& callback, std::size_t total) : callback_(callback), total_(total) {}

  void reached(std::size_t position) {
    if (!callback_) return;
    while (step_ < 8 && position * 8 >= total_ * (step_ + 1)) report();
  }

  void finish() {
    if (!callback_) return;
    while (step_ < 8) report();
  }

 private:
  void report() {
    ++step_;
    callback_(static_cast<int>(step_ * 100 / 8));
  }

  const ProgressCallback& callback_;
  std::size_t total_;
  unsigned step_ = 0;
};

// Progress is checked once per block, not per character, to keep the walk tight.
constexpr std::size_t kProgressBlock = 64 * 1024;

// The entity that starts at text[at] (which is '&'), if any.
const EntityRow* entityAt(std::string_view text, std::size_t at, std::size_t* length) {
  std::string_view rest = text.substr(at);
  for (const EntityRow& row : kRows) {
    if (rest.starts_with(row.name)) {
      *length = row.name.size();
      return &row;
    }
    if (!row.numeric.empty() && rest.starts_with(row.numeric)) {
      *length = row.numeric.size();
      return &row;
    }
  }
  return nullptr;
}

}  // namespace

bool isUtf8Page(std::string_view text) {
  switch (declaredCharset(text)) {
    case Declared::Utf8:
      return true;
    case Declared::Other:
      return false;
    case Declared::None:
      break;
  }
  return validUtf8WithNonAscii(text);
}

// One walk gives the same text as replacing row after row: the entity names
// are plain ASCII, so no replacement can create or break another occurrence.
// On a UTF-8 page the characters are two bytes each, a lead byte (C2 or C3,
// never the second byte of a sequence) and the byte that follows it.
std::string encodeEntities(std::string_view text, const ProgressCallback& progress) {
  const bool utf8 = isUtf8Page(text);
  std::array<std::string_view, 256> replacement{};
  for (const EntityRow& row : kRows) replacement[static_cast<unsigned char>(row.character)] = row.name;
  const auto entityAt = [&](std::size_t i) -> std::pair<std::string_view, std::size_t> {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!utf8) return {replacement[c], 1};
    if ((c != 0xC2 && c != 0xC3) || i + 1 >= text.size()) return {};
    // The eight are C3 xx for the letters and C2 xx for the signs.
    const char second = text[i + 1];
    for (const EntityRow& row : kRows) {
      if (row.utf8[0] == text[i] && row.utf8[1] == second) return {row.name, 2};
    }
    return {};
  };

  std::string result;
  result.reserve(text.size() + text.size() / 16);
  ProgressSteps steps(progress, text.size());
  std::size_t copied = 0;
  for (std::size_t block = 0; block < text.size(); block += kProgressBlock) {
    const std::size_t end = std::min(text.size(), block + kProgressBlock);
    for (std::size_t i = std::max(block, copied); i < end; ++i) {
      const auto [entity, length] = entityAt(i);
      if (entity.empty()) continue;
      result.append(text.data() + copied, i - copied);
      result.append(entity);
      copied = i + length;
      i = copied - 1;
    }
    steps.reached(end);
  }
  result.append(text.data() + copied, text.size() - copied);
  steps.finish();
  return result;
}

// Every entity starts with '&', ends with ';' and has neither inside, so no two
// occurrences overlap and one walk from left to right finds exactly the
// occurrences the row-by-row replacement would.
std::string decodeEntities(std::string_view text, const ProgressCallback& progress) {
  const bool utf8 = isUtf8Page(text);
  std::string result;
  result.reserve(text.size());
  ProgressSteps steps(progress, text.size());
  std::size_t copied = 0;
  std::size_t pos = 0;
  std::size_t nextReport = kProgressBlock;
  while (true) {
    const void* hit = pos < text.size() ? std::memchr(text.data() + pos, '&', text.size() - pos) : nullptr;
    const std::size_t amp = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : text.size();
    if (amp >= nextReport) {
      steps.reached(amp);
      nextReport = amp + kProgressBlock;
    }
    if (!hit) break;
    std::size_t length = 0;
    if (const EntityRow* row = entityAt(text, amp, &length)) {
      result.append(text.data() + copied, amp - copied);
      if (utf8)
        result.append(row->utf8);
      else
        result.push_back(row->character);
      copied = amp + length;
      pos = copied;
    } else {
      pos = amp + 1;
    }
  }
  result.append(text.data() + copied, text.size() - copied);
  steps.finish();
  return result;
}

}  // namespace morvel
