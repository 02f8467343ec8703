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

// Finds the codes of a page one after the other. A "<" starts a code only
// when a letter, "/" or "!" follows it, so "1 < 2" in text or in a script
// stays text; a comment runs through its "-->" whatever it holds; any other code
// through the next ">" (a "<" that is never closed is text). Server code
// between "<%" and "%>" or "<?" and "?>" is text, and so is the body of a
// script, up to its end code.
class CodeScanner {
 public:
  explicit CodeScanner(std::string_view text) : text_(text) {}

  Segment next() {
    const Segment code = inScript_ ? scriptEnd() : nextCode();
    inScript_ = false;
    if (code.begin == npos) return code;
    pos_ = code.end;
    inScript_ = isScriptStart(text_.substr(code.begin, code.end - code.begin));
    return code;
  }

 private:
  static bool isScriptStart(std::string_view code) {
    constexpr std::string_view name = "<SCRIPT";
    if (!ascii::startsWithIgnoringCase(code, name)) return false;
    return code.size() == name.size() || !ascii::isLetter(code[name.size()]);
  }

  Segment scriptEnd() const {
    const std::size_t begin = ascii::findIgnoringCase(text_, "</SCRIPT", pos_);
    if (begin == npos) return {};
    const std::size_t close = findChar(text_, '>', begin);
    return {begin, close == npos ? text_.size() : close + 1};
  }

  Segment nextCode() const {
    for (std::size_t from = pos_;;) {
      const std::size_t begin = findChar(text_, '<', from);
      if (begin == npos || begin + 1 >= text_.size()) return {};
      const char after = text_[begin + 1];
      if (after == '%' || after == '?') {
        const std::size_t close = text_.find(after == '%' ? "%>" : "?>", begin + 2);
        if (close == npos) return {};
        from = close + 2;
        continue;
      }
      if (!ascii::isLetter(after) && after != '/' && after != '!') {
        from = begin + 1;
        continue;
      }
      if (text_.compare(begin, 4, "<!--") == 0) {
        const std::size_t close = text_.find("-->", begin + 4);
        return {begin, close == npos ? text_.size() : close + 3};
      }
      const std::size_t close = findChar(text_, '>', begin);
      if (close == npos) return {};
      return {begin, close + 1};
    }
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  bool inScript_ = false;
};

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
  std::string plain;
  plain.reserve(text.size());
  CodeScanner codes(text);
  std::size_t pos = 0;
  for (Segment code = codes.next(); code.begin != npos; code = codes.next()) {
    plain.append(text.substr(pos, code.begin - pos));
    pos = code.end;
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
  CodeScanner codes(text);
  std::size_t pos = 0;
  for (Segment code = codes.next(); code.begin != npos; code = codes.next()) {
    result.append(text.substr(pos, code.begin - pos));
    appendUpperCasedCode(result, text.substr(code.begin, code.end - code.begin));
    pos = code.end;
  }
  result.append(text.substr(pos));
  return result;
}

}  // namespace morvel
