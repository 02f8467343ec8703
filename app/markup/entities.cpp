#include "markup/entities.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace morvel {

namespace {

struct EntityRow {
  char character;
  std::string_view name;
  std::string_view numeric;  // empty for the two signs, which have none
};

constexpr std::array<EntityRow, 8> kRows{{
    {'\xE6', "&aelig;", "&#230;"},
    {'\xF8', "&oslash;", "&#248;"},
    {'\xE5', "&aring;", "&#229;"},
    {'\xC6', "&AElig;", "&#198;"},
    {'\xD8', "&Oslash;", "&#216;"},
    {'\xC5', "&Aring;", "&#197;"},
    {'\xA9', "&copy;", ""},
    {'\xAE', "&reg;", ""},
}};

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

// One walk gives the same text as replacing row after row: the entity names
// are plain ASCII, so no replacement can create or break another occurrence.
std::string encodeEntities(std::string_view text, const ProgressCallback& progress) {
  std::array<std::string_view, 256> replacement{};
  for (const EntityRow& row : kRows) replacement[static_cast<unsigned char>(row.character)] = row.name;

  std::string result;
  result.reserve(text.size() + text.size() / 16);
  ProgressSteps steps(progress, text.size());
  for (std::size_t block = 0; block < text.size(); block += kProgressBlock) {
    const std::size_t end = std::min(text.size(), block + kProgressBlock);
    std::size_t copied = block;
    for (std::size_t i = block; i < end; ++i) {
      std::string_view entity = replacement[static_cast<unsigned char>(text[i])];
      if (entity.empty()) continue;
      result.append(text.data() + copied, i - copied);
      result.append(entity);
      copied = i + 1;
    }
    result.append(text.data() + copied, end - copied);
    steps.reached(end);
  }
  steps.finish();
  return result;
}

// Every entity starts with '&', ends with ';' and has neither inside, so no two
// occurrences overlap and one walk from left to right finds exactly the
// occurrences the row-by-row replacement would.
std::string decodeEntities(std::string_view text, const ProgressCallback& progress) {
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
