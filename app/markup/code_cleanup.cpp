#include "markup/code_cleanup.h"

#include "ascii.h"

#include <cstring>

namespace morvel {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::size_t findChar(std::string_view text, char c, std::size_t from) {
  if (from >= text.size()) return npos;
  const void* hit = std::memchr(text.data() + from, c, text.size() - from);
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : npos;
}

// A code segment [begin, end) of the text; end == npos when none is left.
struct Segment {
  std::size_t begin = npos;
  std::size_t end = npos;
};

// The end code of a script: from "</SCRIPT" through the ">" after it.
Segment nextScriptEnd(std::string_view text, std::size_t from) {
  const std::size_t begin = ascii::findIgnoringCase(text, "</SCRIPT", from);
  if (begin == npos) return {};
  const std::size_t close = findChar(text, '>', begin);
  return {begin, close == npos ? text.size() : close + 1};
}

// The next code: a comment through its "-->", or a "<" through the next ">".
// A "<" that is never closed is not a code, and what follows it stays text.
Segment nextCode(std::string_view text, std::size_t from) {
  const std::size_t begin = findChar(text, '<', from);
  if (begin == npos) return {};
  if (text.compare(begin, 4, "<!--") == 0) {
    const std::size_t close = text.find("-->", begin);
    return {begin, close == npos ? text.size() : close + 3};
  }
  const std::size_t close = findChar(text, '>', begin);
  if (close == npos) return {};
  return {begin, close + 1};
}

// Upper-cases the names in one code. Conversion stops at a "!" (comments and
// declarations keep their text); attribute values are copied as they are. A
// value starts at the first non-blank after "=", and runs through the closing
// quote when it is quoted (double or single), else up to the next blank.
void appendUpperCasedCode(std::string& out, std::string_view code) {
  enum class State { Name, BeforeValue, Unquoted, Quoted };
  State state = State::Name;
  char quote = 0;
  std::size_t i = 0;
  for (; i < code.size(); ++i) {
    const char c = code[i];
    switch (state) {
      case State::Name:
        if (c == '!') {
          out.append(code.substr(i));
          return;
        }
        if (c == '=') state = State::BeforeValue;
        out.push_back(ascii::upper(c));
        break;
      case State::BeforeValue:
        if (c == '"' || c == '\'') {
          quote = c;
          state = State::Quoted;
        } else if (c == '>') {
          state = State::Name;
        } else if (!isBlank(c)) {
          state = State::Unquoted;
        }
        out.push_back(c);
        break;
      case State::Unquoted:
        if (isBlank(c) || c == '>') state = State::Name;
        out.push_back(c);
        break;
      case State::Quoted:
        if (c == quote) state = State::Name;
        out.push_back(c);
        break;
    }
  }
}

}  // namespace

std::string stripCodes(std::string_view text) {
  // Removing codes from the first "<" on never brings a "<" back in front of
  // the place reached, so one walk suffices.
  std::string plain;
  plain.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    const std::size_t open = findChar(text, '<', pos);
    const std::size_t close = open == npos ? npos : findChar(text, '>', open + 1);
    if (close == npos) break;
    plain.append(text.substr(pos, open - pos));
    pos = close + 1;
  }
  plain.append(text.substr(pos));

  // Removing every LF CR until none is left: each removal can join an LF
  // before it with a CR after it, which a stack undoes in one walk, with
  // the same result as removing them one at a time.
  std::string result;
  result.reserve(plain.size());
  for (char c : plain) {
    if (c == '\r' && !result.empty() && result.back() == '\n')
      result.pop_back();
    else
      result.push_back(c);
  }
  return result;
}

std::string codesToUpperCase(std::string_view text) {
  if (findChar(text, '<', 0) == npos) return std::string(text);

  std::string result;
  result.reserve(text.size());
  std::size_t pos = 0;
  bool inScript = false;
  while (pos < text.size()) {
    const Segment code = inScript ? nextScriptEnd(text, pos) : nextCode(text, pos);
    if (code.begin == npos) break;
    result.append(text.substr(pos, code.begin - pos));
    const std::string_view segment = text.substr(code.begin, code.end - code.begin);
    inScript = ascii::startsWithIgnoringCase(segment, "<SCRIPT");
    appendUpperCasedCode(result, segment);
    pos = code.end;
  }
  result.append(text.substr(pos));
  return result;
}

}  // namespace morvel
