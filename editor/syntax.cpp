#include "syntax.h"

#include "entry_points.h"
#include "text_store.h"

#include <algorithm>
#include <cstring>

namespace tivra {

namespace {

constexpr WORD kEmptyItem = 0x0101;

// Strings with a backslash escape; line comments "//", block comments
// "/* */"; the usual punctuation as delimiters.
constexpr WORD kBuiltInItems[] = {
    0x5C22, 0x0101, 0x2F2F, 0x2A2F, 0x2F2A, 0x0021, 0x0025, 0x0028, 0x0029, 0x002A, 0x002C, 0x202E, 0x002F,
    0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, 0x005B, 0x005C, 0x005D, 0x005E, 0x007B, 0x007C, 0x007D,
};
constexpr int kBuiltInCount = sizeof kBuiltInItems / sizeof kBuiltInItems[0];

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int hexValue(char c) { return isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

BYTE firstChar(WORD item) { return static_cast<BYTE>(item & 0xFF); }
BYTE secondChar(WORD item) { return static_cast<BYTE>(item >> 8); }

// The second character of a marker; control characters and the class
// marks 3 and 4 do not count there.
BYTE markerSecond(WORD item) { return secondChar(item) > 32 ? secondChar(item) : 0; }

ItemRole roleOf(int number, WORD item, BYTE flags) {
  if (item == kEmptyItem || firstChar(item) == 0) return kRoleNone;
  switch (number) {
    case 1:
      return kRoleString;
    case 2:
      return (flags & 1) ? kRoleLineComment : kRoleCharacter;
    case 3:
      return kRoleLineComment;
    case 4:
      return kRoleCommentStart;
    case 6:
      return (flags & 2) ? kRoleExtraStart : kRoleDelimiter;
    default:
      return kRoleDelimiter;
  }
}

// Which character an item must be followed by to match, 0 for none.
BYTE matchSecond(int number, WORD item, ItemRole role, BYTE flags) {
  if (role == kRoleString || role == kRoleCharacter) return 0;  // the second character is the escape
  const bool marker = role != kRoleDelimiter || number == 5 || (number == 7 && (flags & 2));
  if (marker) return markerSecond(item);
  return secondChar(item) >= 5 ? secondChar(item) : 0;  // 0, 3 and 4 mark one-character items
}

WORD carriedState(ItemRole role) {
  switch (role) {
    case kRoleString:
      return kStateString;
    case kRoleCharacter:
      return kStateCharacter;
    case kRoleCommentStart:
      return kStateComment;
    case kRoleExtraStart:
      return kStateExtraComment;
    default:
      return kStateNormal;
  }
}

// The item whose end closes a state, and the item number reported for it.
int closingItem(WORD state) {
  switch (state) {
    case kStateString:
      return 1;
    case kStateCharacter:
      return 2;
    case kStateComment:
      return 5;
    case kStateExtraComment:
      return 7;
    default:
      return 0;
  }
}

int openingItem(WORD state) {
  switch (state) {
    case kStateString:
      return 1;
    case kStateCharacter:
      return 2;
    case kStateComment:
      return 4;
    case kStateExtraComment:
      return 6;
    default:
      return 0;
  }
}

// The matching and searching that the tokenizer and the state scan share.
struct Matcher {
  const SyntaxTable& s;
  std::string_view text;

  int length() const { return static_cast<int>(text.size()); }
  BYTE at(int i) const { return static_cast<BYTE>(text[static_cast<size_t>(i)]); }

  int match(int pos) const {
    for (int item = s.firstItem[at(pos)]; item; item = s.nextItem[item]) {
      const BYTE second = s.second[item];
      if (second == 0) return item;
      if (pos + 1 < length() && at(pos + 1) == second) return item;
    }
    return 0;
  }

  int itemLength(int item) const { return s.second[item] ? 2 : 1; }

  // The end (exclusive) of the closing marker `item` at or after `from`, or
  // -1 when the line holds none.
  int findMarker(int from, int item) const {
    if (item > s.count) return -1;
    const WORD value = s.items[item - 1];
    if (value == kEmptyItem || firstChar(value) == 0) return -1;
    const char first = static_cast<char>(firstChar(value));
    const BYTE second = markerSecond(value);
    size_t pos = static_cast<size_t>(from);
    while (pos < text.size()) {
      const void* hit = std::memchr(text.data() + pos, first, text.size() - pos);
      if (!hit) return -1;
      const int i = static_cast<int>(static_cast<const char*>(hit) - text.data());
      if (second == 0) return i + 1;
      if (i + 1 < length() && at(i + 1) == second) return i + 2;
      pos = static_cast<size_t>(i) + 1;
    }
    return -1;
  }

  // The end (exclusive) of a string or character literal opened by `item`,
  // scanning its contents from `from`, or -1 when it is not closed on the
  // line. An escaped delimiter does not close it; with the delimiter as
  // its own escape, a doubled delimiter stands for one.
  int findClose(int from, int item) const {
    if (item > s.count) return -1;
    const WORD value = s.items[item - 1];
    const BYTE delimiter = firstChar(value);
    const BYTE escape = markerSecond(value);
    for (int j = from; j < length(); ++j) {
      const BYTE c = at(j);
      if (escape && c == escape) {
        if (escape != delimiter) {
          ++j;
          continue;
        }
        if (j + 1 < length() && at(j + 1) == delimiter) {
          ++j;
          continue;
        }
        return j + 1;
      }
      if (c == delimiter) return j + 1;
    }
    return -1;
  }

  // The end of the text inside a state that starts at `from` (exclusive),
  // or -1 when the state runs past the end of the line.
  int endOfState(int from, WORD state) const {
    if (state == kStateString || state == kStateCharacter) return findClose(from, closingItem(state));
    return findMarker(from, closingItem(state));
  }
};

}  // namespace

// ---------------------------------------------------------------------------
// The table

void rebuildScannerTables(Instance& inst) {
  SyntaxTable& s = inst.syntax;
  std::memset(s.firstItem, 0, sizeof s.firstItem);
  std::memset(s.nextItem, 0, sizeof s.nextItem);
  std::memset(s.second, 0, sizeof s.second);
  std::memset(s.role, 0, sizeof s.role);
  std::memset(s.blank, 0, sizeof s.blank);
  s.blank[static_cast<BYTE>(' ')] = s.blank[static_cast<BYTE>('\t')] = s.blank[0] = 1;
  for (int n = 1; n <= s.count; ++n) {
    const WORD value = s.items[n - 1];
    const ItemRole role = roleOf(n, value, s.flags);
    s.role[n] = role;
    s.second[n] = role == kRoleNone ? 0 : matchSecond(n, value, role, s.flags);
  }
  // Chains in item order, two-character items before one-character ones:
  // built back to front. Blanks are skipped before items are matched, so
  // items that start with one never match and are left out.
  for (int pass = 0; pass < 2; ++pass) {
    const bool twoCharacters = pass == 1;
    for (int n = s.count; n >= 1; --n) {
      if (s.role[n] == kRoleNone || (s.second[n] != 0) != twoCharacters) continue;
      const BYTE c = firstChar(s.items[n - 1]);
      if (s.blank[c]) continue;
      s.nextItem[n] = s.firstItem[c];
      s.firstItem[c] = static_cast<BYTE>(n);
    }
  }
  s.valid = true;
  invalidateLineStates(inst, 1);
}

LRESULT setSyntax(Instance& inst, WPARAM countAndFlags, const WORD* items) {
  SyntaxTable& s = inst.syntax;
  s.flags = static_cast<BYTE>((countAndFlags >> 8) & 0xFF);
  if (items) {
    s.count = std::min<int>(static_cast<int>(countAndFlags & 0xFF), 254);
    std::memcpy(s.items, items, sizeof(WORD) * static_cast<size_t>(s.count));
  } else {
    s.count = kBuiltInCount;
    std::memcpy(s.items, kBuiltInItems, sizeof kBuiltInItems);
  }
  rebuildScannerTables(inst);
  // The window's own repainting follows any change of colouring.
  if (!inst.creating) layoutChanged(inst);
  return 0;
}

// ---------------------------------------------------------------------------
// Line states

WORD textStartState(const Instance& inst) {
  return (inst.options & TivraOption::StartInComments) ? kStateComment : kStateNormal;
}

WORD nextLineState(const Instance& inst, WORD endState) {
  if (!(inst.options & TivraOption::MultiLineItems)) return textStartState(inst);
  switch (endState) {
    case kStateComment:
    case kStateExtraComment:
      return endState;
    case kStateString:
    case kStateCharacter:
      if ((inst.options & TivraOption::MultiLineStrings) && !(inst.options & TivraOption::SingleLineStrings))
        return endState;
      return kStateNormal;
    default:
      return kStateNormal;
  }
}

WORD scanLineState(const Instance& inst, std::string_view text, WORD state) {
  const Matcher m{inst.syntax, text};
  const SyntaxTable& s = inst.syntax;
  int pos = 0;
  const int length = m.length();
  for (;;) {
    if (state != kStateNormal) {
      const int end = m.endOfState(pos, state);
      if (end < 0) return state;
      pos = end;
      state = kStateNormal;
    }
    while (pos < length) {
      if (!s.firstItem[m.at(pos)]) {
        ++pos;
        continue;
      }
      const int item = m.match(pos);
      if (!item) {
        ++pos;
        continue;
      }
      const ItemRole role = static_cast<ItemRole>(s.role[item]);
      if (role == kRoleLineComment) return kStateNormal;
      pos += m.itemLength(item);
      if (role != kRoleDelimiter) {
        state = carriedState(role);
        break;
      }
    }
    if (state == kStateNormal) return kStateNormal;
  }
}

std::string_view shownLineText(const Instance& inst, int32_t line, LineHandle handle) {
  if (line == inst.text.caret.line)
    return std::string_view(inst.lineBuffer.text, static_cast<size_t>(inst.lineBuffer.length));
  return std::string_view(lineText(handle), static_cast<size_t>(lineLength(handle)));
}

void invalidateLineStates(Instance& inst, int32_t line) {
  LineStateCache& c = inst.lineStates;
  if (c.validThrough > line) c.validThrough = std::max<int32_t>(line, 1);
  // A long text replaced by a short one gives its memory back.
  const size_t needed = static_cast<size_t>(inst.text.lineCount);
  if (c.states.size() > 2 * needed + 4096) {
    c.states.resize(needed);
    c.states.shrink_to_fit();
    c.validThrough = std::min<int32_t>(c.validThrough, static_cast<int32_t>(needed) + 1);
  }
}

WORD lineStartState(Instance& inst, int32_t line, LineHandle handle) {
  if (line <= 1 || !(inst.options & TivraOption::MultiLineItems)) return textStartState(inst);
  // A change that was marked but not yet told (textChanged) counts too.
  if (inst.layout.lowestChangedLine > 0) {
    invalidateLineStates(inst, inst.layout.lowestChangedLine);
    inst.layout.lowestChangedLine = 0;
  }
  LineStateCache& c = inst.lineStates;
  c.validThrough = std::min<int32_t>(c.validThrough, static_cast<int32_t>(c.states.size()) + 1);
  if (line <= c.validThrough) return c.states[static_cast<size_t>(line - 2)];
  const int32_t from = std::max<int32_t>(c.validThrough, 1);
  if (c.states.size() < static_cast<size_t>(inst.text.lineCount))
    c.states.resize(static_cast<size_t>(inst.text.lineCount));
  WORD state = from == 1 ? textStartState(inst) : c.states[static_cast<size_t>(from - 2)];
  // Walk to the first unknown line from the nearer end.
  LineHandle h = handle;
  if (line - from < from) {
    for (int32_t n = line; n > from; --n) h = prevLine(h);
  } else {
    h = lineFromNumber(inst, from);
  }
  for (int32_t n = from; n < line; ++n) {
    state = nextLineState(inst, scanLineState(inst, shownLineText(inst, n, h), state));
    c.states[static_cast<size_t>(n - 1)] = state;
    h = nextLine(h);
  }
  c.validThrough = line;
  return state;
}

// ---------------------------------------------------------------------------
// Tokenizing

LineTokenizer::LineTokenizer(const Instance& inst, std::string_view text, WORD startState, int startColumn)
    : syntax_(inst.syntax), text_(text), pos_(startColumn), state_(startState) {}

int LineTokenizer::matchItem(int at) const { return Matcher{syntax_, text_}.match(at); }
int LineTokenizer::itemLength(int item) const { return syntax_.second[item] ? 2 : 1; }

Token LineTokenizer::next() {
  const int length = static_cast<int>(text_.size());
  if (state_ != kStateNormal) {
    if (pos_ >= length) return Token{TokenClass::EndOfLine, pos_, 0, kKindEndOfLine, false};
    return scanInState(pos_);
  }
  while (pos_ < length && syntax_.blank[static_cast<BYTE>(text_[static_cast<size_t>(pos_)])]) ++pos_;
  if (pos_ >= length) return Token{TokenClass::EndOfLine, pos_, 0, kKindEndOfLine, false};
  const int start = pos_;
  const int item = matchItem(start);
  if (!item) return scanWord(start);
  const ItemRole role = static_cast<ItemRole>(syntax_.role[item]);
  const Matcher m{syntax_, text_};
  switch (role) {
    case kRoleLineComment:
      pos_ = length;
      return Token{TokenClass::Comment, start, length - start, item, false};
    case kRoleString:
    case kRoleCharacter:
    case kRoleCommentStart:
    case kRoleExtraStart: {
      const WORD state = carriedState(role);
      const int end = m.endOfState(start + itemLength(item), state);
      const TokenClass cls = (role == kRoleString || role == kRoleCharacter) ? TokenClass::String : TokenClass::Comment;
      pos_ = end < 0 ? length : end;
      if (end < 0) state_ = state;
      return Token{cls, start, pos_ - start, item, false};
    }
    default:
      pos_ = start + itemLength(item);
      return Token{TokenClass::Delimiter, start, pos_ - start, item, false};
  }
}

Token LineTokenizer::scanInState(int start) {
  const Matcher m{syntax_, text_};
  const WORD state = state_;
  const int end = m.endOfState(start, state);
  pos_ = end < 0 ? static_cast<int>(text_.size()) : end;
  if (end >= 0) state_ = kStateNormal;
  const bool string = state == kStateString || state == kStateCharacter;
  return Token{string ? TokenClass::String : TokenClass::Comment, start, pos_ - start, openingItem(state), true};
}

Token LineTokenizer::scanWord(int start) {
  const int length = static_cast<int>(text_.size());
  int j = start + 1;
  while (j < length) {
    const BYTE c = static_cast<BYTE>(text_[static_cast<size_t>(j)]);
    if (syntax_.blank[c] || (syntax_.firstItem[c] && matchItem(j))) break;
    ++j;
  }
  pos_ = j;
  return Token{TokenClass::Word, start, j - start, kKindWord, false};
}

// ---------------------------------------------------------------------------
// Token records

void classifyWord(std::string_view w, int column, WORD* type, LONG* value) {
  *type = TIVRA_TOKEN_WORD;
  *value = column;
  const size_t n = w.size();
  size_t i = 0;
  bool negative = false;
  if (n > 1 && (w[0] == '+' || w[0] == '-') && isDigit(w[1])) {
    negative = w[0] == '-';
    i = 1;
  }
  if (i >= n || !isDigit(w[i])) return;
  WORD t = TIVRA_TOKEN_WORD | TIVRA_WORD_NUMBER;
  if (w[i] == '0' && i + 1 < n && (w[i + 1] == 'x' || w[i + 1] == 'X')) {
    t |= TIVRA_WORD_HEX;
    size_t j = i + 2;
    uint32_t v = 0;
    while (j < n && isHexDigit(w[j])) v = v * 16 + static_cast<uint32_t>(hexValue(w[j++]));
    const size_t digits = j - (i + 2);
    if (j < n) {
      t |= TIVRA_WORD_SUFFIX;
    } else if (digits > 0 && digits <= 8) {
      t |= TIVRA_WORD_HASVALUE;
      *value = static_cast<LONG>(negative ? 0u - v : v);
    }
    *type = t;
    return;
  }
  size_t j = i;
  int64_t v = 0;
  bool fits = true;
  while (j < n && isDigit(w[j])) {
    v = v * 10 + (w[j++] - '0');
    if (v > int64_t{1} << 31) fits = false, v = int64_t{1} << 31;
  }
  if (j + 1 < n && w[j] == '.' && isDigit(w[j + 1])) {
    t |= TIVRA_WORD_FRACTION;
    ++j;
    while (j < n && isDigit(w[j])) ++j;
  }
  if (j < n && (w[j] == 'e' || w[j] == 'E')) {
    size_t k = j + 1;
    if (k < n && (w[k] == '+' || w[k] == '-')) ++k;
    if (k < n && isDigit(w[k])) {
      t |= TIVRA_WORD_EXPONENT;
      j = k;
      while (j < n && isDigit(w[j])) ++j;
    }
  }
  if (j < n) t |= TIVRA_WORD_SUFFIX;
  const int64_t signedValue = negative ? -v : v;
  if (!(t & (TIVRA_WORD_FRACTION | TIVRA_WORD_EXPONENT | TIVRA_WORD_SUFFIX)) && fits && signedValue >= INT32_MIN &&
      signedValue <= INT32_MAX) {
    t |= TIVRA_WORD_HASVALUE;
    *value = static_cast<LONG>(signedValue);
  }
  *type = t;
}

void fillTokenRecord(const Instance& inst, std::string_view text, const Token& token, TivraToken* out) {
  out->Window = inst.window;
  out->WordStr[0] = 0;
  if (token.cls == TokenClass::EndOfLine || token.length >= TIVRA_MAX_TOKEN) {
    out->WordType = TIVRA_TOKEN_NONE;
    out->WordValue = token.column;
    return;
  }
  const std::string_view chars = text.substr(static_cast<size_t>(token.column), static_cast<size_t>(token.length));
  std::memcpy(out->WordStr, chars.data(), chars.size());
  out->WordStr[chars.size()] = 0;
  switch (token.cls) {
    case TokenClass::Word:
      classifyWord(chars, token.column, &out->WordType, &out->WordValue);
      break;
    case TokenClass::Delimiter:
      out->WordType = TIVRA_TOKEN_DELIMITER;
      out->WordValue = MAKELONG(token.column, token.kind);
      break;
    case TokenClass::String:
      out->WordType = token.continued ? TIVRA_TOKEN_STRING_STATE : TIVRA_TOKEN_STRING;
      out->WordValue = MAKELONG(token.column, kScannerKindString);
      break;
    case TokenClass::Comment:
      out->WordType = TIVRA_TOKEN_STRING;
      out->WordValue = MAKELONG(token.column, kScannerKindComment);
      break;
    case TokenClass::EndOfLine:
      break;
  }
}

namespace {

bool blankWordAt(const Instance& inst, std::string_view text, int column, Token* found) {
  const int length = static_cast<int>(text.size());
  auto isBlank = [&](int i) { return inst.syntax.blank[static_cast<BYTE>(text[static_cast<size_t>(i)])] != 0; };
  int start = column;
  if (column >= length || isBlank(column)) {
    if (column == 0 || column > length || isBlank(column - 1)) return false;
    start = column - 1;
  }
  int end = start;
  while (start > 0 && !isBlank(start - 1)) --start;
  while (end < length && !isBlank(end)) ++end;
  *found = Token{TokenClass::Word, start, end - start, kKindWord, false};
  return true;
}

}  // namespace

bool tokenAt(Instance& inst, int32_t line, int column, TivraToken* out, TivraRange* range) {
  if (line < 1 || line > inst.text.lineCount || column < 0) return false;
  const LineHandle h = lineFromNumber(inst, line);
  const std::string_view text = shownLineText(inst, line, h);
  Token found{};
  bool have = false;
  if (inst.options & TivraOption::CurrentWordAsText) {
    have = blankWordAt(inst, text, column, &found);
  } else {
    LineTokenizer tokens(inst, text, lineStartState(inst, line, h));
    for (Token t = tokens.next(); t.cls != TokenClass::EndOfLine && t.column <= column; t = tokens.next()) {
      if (t.cls == TokenClass::Comment) continue;
      if (column < t.column + t.length) {
        found = t;
        have = true;
        break;
      }
      if (column == t.column + t.length) {
        found = t;
        have = true;
      }
    }
  }
  if (!have) return false;
  if (out) fillTokenRecord(inst, text, found, out);
  if (range)
    *range = TivraRange{static_cast<SHORT>(found.column), static_cast<SHORT>(found.column + found.length), line, line};
  return true;
}

}  // namespace tivra
