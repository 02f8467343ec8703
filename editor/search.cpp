// Find and replace in the text: the matching rules (case, whole words),
// find next with wrapping, replace, replace all, the search messages and
// commands, and the bookmark commands.
#include "search.h"

#include "editing.h"
#include "entry_points.h"
#include "notify.h"
#include "text_messages.h"
#include "text_store.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace tivra {

namespace {

// ---------------------------------------------------------------------------
// Characters of Windows-1252

struct CharTables {
  std::array<unsigned char, 256> fold;  // lower case
  std::array<bool, 256> word;           // letters, digits and '_'
};

CharTables makeCharTables() {
  CharTables t{};
  for (int c = 0; c < 256; ++c) {
    int lower = c;
    if (c >= 'A' && c <= 'Z')
      lower = c + 32;
    else if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
      lower = c + 0x20;  // À ... Þ
    else if (c == 0x8A || c == 0x8C || c == 0x8E)
      lower = c + 0x10;  // Š Œ Ž
    else if (c == 0x9F)
      lower = 0xFF;  // Ÿ
    t.fold[static_cast<size_t>(c)] = static_cast<unsigned char>(lower);
    const bool ascii = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    const bool latin = (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x83 || c == 0x8A || c == 0x8C || c == 0x8E ||
                       c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F || c == 0xAA || c == 0xB5 || c == 0xBA;
    t.word[static_cast<size_t>(c)] = ascii || latin;
  }
  return t;
}

const CharTables& chars() {
  static const CharTables t = makeCharTables();
  return t;
}

unsigned char fold(char c) { return chars().fold[static_cast<unsigned char>(c)]; }
bool wordChar(char c) { return chars().word[static_cast<unsigned char>(c)]; }

// ---------------------------------------------------------------------------
// Matching within a line

class Matcher {
 public:
  Matcher(std::string_view pattern, WORD options)
      : pattern_(pattern),
        matchCase_(options & TIVRA_FIND_MATCHCASE),
        wholeWord_(options & TIVRA_FIND_WHOLEWORD),
        length_(static_cast<int>(pattern.size())) {}

  int length() const { return length_; }

  // Whether a match starts at `pos` (with the whole-word rule).
  bool at(const char* text, int length, int pos) const {
    return pos >= 0 && pos + length_ <= length && equalAt(text, pos) && bounded(text, length, pos);
  }

  // The first match starting at `from` or later, or -1.
  int forward(const char* text, int length, int from) const {
    if (length_ == 0) return -1;
    for (int pos = from; pos + length_ <= length;) {
      const int hit = candidate(text, length, pos);
      if (hit < 0) return -1;
      if (bounded(text, length, hit)) return hit;
      pos = hit + 1;
    }
    return -1;
  }

  // The last match starting before `before`, or -1.
  int backward(const char* text, int length, int before) const {
    if (length_ == 0) return -1;
    for (int pos = std::min(before - 1, length - length_); pos >= 0; --pos) {
      if (at(text, length, pos)) return pos;
    }
    return -1;
  }

 private:
  bool equalAt(const char* text, int pos) const {
    if (matchCase_) return std::memcmp(text + pos, pattern_.data(), pattern_.size()) == 0;
    for (int i = 0; i < length_; ++i) {
      if (fold(text[pos + i]) != fold(pattern_[static_cast<size_t>(i)])) return false;
    }
    return true;
  }

  // A match must not touch a word character on either side.
  bool bounded(const char* text, int length, int pos) const {
    if (!wholeWord_) return true;
    return (pos == 0 || !wordChar(text[pos - 1])) && (pos + length_ == length || !wordChar(text[pos + length_]));
  }

  // The next place at or after `from` where the pattern's characters are.
  int candidate(const char* text, int length, int from) const {
    if (matchCase_) {
      const void* p = memmem(text + from, static_cast<size_t>(length - from), pattern_.data(), pattern_.size());
      return p ? static_cast<int>(static_cast<const char*>(p) - text) : -1;
    }
    const unsigned char first = fold(pattern_[0]);
    for (int pos = from; pos + length_ <= length; ++pos) {
      if (fold(text[pos]) == first && equalAt(text, pos)) return pos;
    }
    return -1;
  }

  std::string_view pattern_;
  bool matchCase_;
  bool wholeWord_;
  int length_;
};

// ---------------------------------------------------------------------------
// Matching across the text (the line buffer committed)

struct Hit {
  int32_t line;
  int column;
};

bool searchDown(const Instance& inst, const Matcher& m, int32_t line, int column, Hit* hit) {
  for (LineHandle h = lineFromNumber(inst, line); h; h = nextLine(h), ++line, column = 0) {
    const char* text = lineText(h);
    const int found = m.forward(text, static_cast<int>(std::strlen(text)), column);
    if (found >= 0) {
      *hit = Hit{line, found};
      return true;
    }
  }
  return false;
}

bool searchUp(const Instance& inst, const Matcher& m, int32_t line, int before, Hit* hit) {
  for (LineHandle h = lineFromNumber(inst, line); h; h = prevLine(h), --line, before = INT_MAX) {
    const char* text = lineText(h);
    const int length = static_cast<int>(std::strlen(text));
    const int found = m.backward(text, length, std::min(before, length + 1));
    if (found >= 0) {
      *hit = Hit{line, found};
      return true;
    }
  }
  return false;
}

TivraRange ordered(const TivraRange& r) {
  const bool forward = r.StartLine < r.EndLine || (r.StartLine == r.EndLine && r.StartPos <= r.EndPos);
  return forward ? r : TivraRange{r.EndPos, r.StartPos, r.EndLine, r.StartLine};
}

// A caller's range moved into the text as EM_SETSEL moves it: a line
// before the first is (1, 0), a line after the last is the end of the text.
TivraRange clampedRange(const Instance& inst, const TivraRange& r) {
  auto clampEnd = [&](LONG line, SHORT column, LONG* outLine, SHORT* outColumn) {
    if (line < 1) {
      *outLine = 1;
      *outColumn = 0;
    } else if (line > inst.text.lineCount) {
      *outLine = inst.text.lineCount;
      *outColumn = static_cast<SHORT>(lineLength(inst.text.lastLine));
    } else {
      *outLine = line;
      *outColumn = static_cast<SHORT>(std::clamp<int>(column, 0, lineLength(lineFromNumber(inst, line))));
    }
  };
  TivraRange out{};
  clampEnd(r.StartLine, r.StartPos, &out.StartLine, &out.StartPos);
  clampEnd(r.EndLine, r.EndPos, &out.EndLine, &out.EndPos);
  return out;
}

TivraRange currentSelection(const Instance& inst) {
  return TivraRange{inst.anchorColumn, inst.caretColumn, inst.text.anchor.line, inst.text.caret.line};
}

// Searches from `from` (start = anchor, end = caret): downwards from the
// caret, wrapping once to the start of the text when allowed; upwards from
// the start of the selection, so that a match just found is not found
// again.
bool findFrom(const Instance& inst, const TivraRange& from, TivraRange* match) {
  const Matcher m(inst.search.findText, inst.search.options);
  Hit hit{};
  bool found;
  if (inst.search.options & TIVRA_FIND_UP) {
    const TivraRange o = ordered(from);
    found = searchUp(inst, m, o.StartLine, o.StartPos, &hit);
  } else {
    found = searchDown(inst, m, from.EndLine, from.EndPos, &hit);
    const bool fromTextStart = from.StartLine == 1 && from.EndLine == 1 && from.StartPos == 0 && from.EndPos == 0;
    if (!found && (inst.search.options & TIVRA_FIND_WRAP) && !fromTextStart) found = searchDown(inst, m, 1, 0, &hit);
  }
  if (found)
    *match =
        TivraRange{static_cast<SHORT>(hit.column), static_cast<SHORT>(hit.column + m.length()), hit.line, hit.line};
  return found;
}

void selectReplacement(Instance& inst, const TivraRange& inserted) {
  if (inst.options & TivraOption::DefaultSelection)
    setSelection(inst, inserted.EndLine, inserted.EndPos, inserted.EndLine, inserted.EndPos);
  else
    setSelection(inst, inserted.StartLine, inserted.StartPos, inserted.EndLine, inserted.EndPos);
}

void selectBookmarkLine(Instance& inst) {
  const int32_t line = inst.bookmarks[0].at.line;
  if (line >= 1 && line <= inst.text.lineCount) selectWholeLine(inst, line);
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared with the dialogs, brackets and go to line

void reportNotFound(Instance& inst, LPARAM code) {
  const LRESULT answer =
      inst.notifyWindow ? SendMessage(inst.notifyWindow, TM_FINDNOTIFY, reinterpret_cast<WPARAM>(inst.window), code)
                        : 0;
  if (answer == 0 && IsWindow(inst.window))
    showMessage(inst, cp1252("Søgningen gav intet resultat"), MB_OK | MB_ICONINFORMATION);
}

std::string withCount(const char* utf8Format, long count) {
  const std::string format = cp1252(utf8Format);
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, format.c_str(), count);
  return buffer;
}

void selectWholeLine(Instance& inst, int32_t line) {
  commitLineBuffer(inst);
  setSelection(inst, line, 0, line, lineLength(lineFromNumber(inst, line)));
  afterCaretMove(inst);
}

LRESULT findNext(Instance& inst, TivraRange* range) {
  if (!inst.search.findTextPresent) return -1;
  if (!commitLineBuffer(inst)) return 0;
  TivraRange match{};
  if (!findFrom(inst, range ? clampedRange(inst, *range) : currentSelection(inst), &match)) {
    reportNotFound(inst, 0);
    return 0;
  }
  if (range) {
    *range = match;
    return 1;
  }
  setSelection(inst, match.StartLine, match.StartPos, match.EndLine, match.EndPos);
  afterCaretMove(inst);
  return 1;
}

bool replaceSelectedMatch(Instance& inst) {
  if (!inst.search.findTextPresent || !commitLineBuffer(inst)) return false;
  const TivraRange sel = orderedSelection(inst);
  if (sel.StartLine != sel.EndLine) return false;
  const Matcher m(inst.search.findText, inst.search.options);
  const char* text = lineText(lineFromNumber(inst, sel.StartLine));
  if (sel.EndPos - sel.StartPos != m.length() || !m.at(text, static_cast<int>(std::strlen(text)), sel.StartPos))
    return false;
  TivraRange inserted{};
  if (!replaceRange(inst, sel, inst.search.replaceText, &inserted)) return false;
  selectReplacement(inst, inserted);
  afterTextChange(inst, sel.StartLine);
  return true;
}

long replaceAll(Instance& inst) {
  if (!inst.search.findTextPresent) return -1;
  if (!commitLineBuffer(inst)) return 0;
  const Matcher m(inst.search.findText, inst.search.options);
  const std::string_view replacement(inst.search.replaceText);
  long count = 0;
  int32_t firstChanged = 0;
  TivraRange last{};
  Hit hit{1, 0};
  // The search goes on after each replacement, so a replacement that
  // contains the find text is not found again.
  while (searchDown(inst, m, hit.line, hit.column, &hit)) {
    const TivraRange found{static_cast<SHORT>(hit.column), static_cast<SHORT>(hit.column + m.length()), hit.line,
                           hit.line};
    if (!replaceRange(inst, found, replacement, &last)) break;
    if (count++ == 0) firstChanged = hit.line;
    hit = Hit{last.EndLine, last.EndPos};
    // The caret walks along, so that finding the next line starts near.
    inst.text.caret = inst.text.anchor = LineRef{hit.line, lineFromNumber(inst, hit.line)};
    inst.caretColumn = inst.anchorColumn = static_cast<int16_t>(hit.column);
  }
  if (count == 0) return 0;
  selectReplacement(inst, last);
  afterTextChange(inst, firstChanged);
  return count;
}

// ---------------------------------------------------------------------------
// Entry points

LRESULT findMessage(Instance& inst, WPARAM which, TivraRange* range) {
  if (!inst.search.findTextPresent) return -1;
  switch (which) {
    case 0:
      return findNext(inst, range);
    case 1:
      return replaceSelectedMatch(inst) ? 1 : 0;
    case 2:
      return replaceAll(inst);
    default:
      return 0;
  }
}

LRESULT searchCommand(Instance& inst, UINT id) {
  switch (id) {
    case TCMD_FIND:
      openFindDialog(inst, false);
      return 0;
    case TCMD_FINDNEXT:
      findNext(inst, nullptr);
      return 0;
    case TCMD_REPLACE:
      if (!readOnly(inst)) openFindDialog(inst, true);
      return 0;
    case TCMD_FINDBRACKET:
      return findMatchingBracket(inst);
    case TCMD_GOTOLINE:
      return goToLineDialog(inst);
    case TCMD_GOTOBOOKMARK:
      selectBookmarkLine(inst);
      return 0;
    case TCMD_SETBOOKMARK:
      return setBookmark(inst, 0, 0);
    default:
      return 0;
  }
}

}  // namespace tivra
