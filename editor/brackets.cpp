// Bracket matching: the notify window says which tokens are brackets
// (TM_CLASSIFYBRACKET: bit 0 set = a closing one, searched backwards; bit 2
// = the kind of pair); the window walks the tokens from the bracket at the
// caret, counting nesting, to its counterpart.
#include "search.h"

#include "editing.h"
#include "entry_points.h"
#include "syntax.h"
#include "text_store.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tivra {

namespace {

constexpr LRESULT kClosing = 1;
constexpr LRESULT kPairKind = 4;

struct Found {
  int32_t line;
  int column;
  int length;
};

class BracketScan {
 public:
  explicit BracketScan(Instance& inst) : inst_(inst) {}

  // The answer of the notify window for a token; asked once per distinct
  // token in a scan.
  LRESULT classify(const TivraToken& token) {
    if (!inst_.notifyWindow) return 0;
    auto key = std::make_pair(token.WordType, std::string(token.WordStr));
    auto it = answers_.find(key);
    if (it != answers_.end()) return it->second;
    const LRESULT answer = SendMessage(inst_.notifyWindow, TM_CLASSIFYBRACKET, 0, reinterpret_cast<LPARAM>(&token));
    answers_.emplace(std::move(key), answer);
    return answer;
  }

  // Walks from the bracket at (line, column) of the given kind.
  bool counterpart(int32_t line, int column, LRESULT kind, Found* found) {
    kind_ = kind;
    depth_ = 0;
    return (kind & kClosing) ? backward(line, column, found) : forward(line, column, found);
  }

 private:
  // Whether the token ends the walk; nesting is counted on the way.
  bool isCounterpart(std::string_view text, const Token& t) {
    if (t.cls == TokenClass::Comment || t.cls == TokenClass::EndOfLine) return false;
    TivraToken record{};
    fillTokenRecord(inst_, text, t, &record);
    const LRESULT k = classify(record);
    if (k == 0 || (k & kPairKind) != (kind_ & kPairKind)) return false;
    if ((k & kClosing) == (kind_ & kClosing)) {
      ++depth_;
      return false;
    }
    return depth_-- == 0;
  }

  bool forward(int32_t line, int column, Found* found) {
    for (LineHandle h = lineFromNumber(inst_, line); h; h = nextLine(h), ++line) {
      const std::string_view text = shownLineText(inst_, line, h);
      LineTokenizer tokens(inst_, text, lineStartState(inst_, line, h));
      for (Token t = tokens.next(); t.cls != TokenClass::EndOfLine; t = tokens.next()) {
        if (t.column <= column) continue;
        if (isCounterpart(text, t)) {
          *found = Found{line, t.column, t.length};
          return true;
        }
      }
      column = -1;
    }
    return false;
  }

  bool backward(int32_t line, int column, Found* found) {
    std::vector<Token> before;
    for (LineHandle h = lineFromNumber(inst_, line); h; h = prevLine(h), --line) {
      const std::string_view text = shownLineText(inst_, line, h);
      LineTokenizer tokens(inst_, text, lineStartState(inst_, line, h));
      before.clear();
      for (Token t = tokens.next(); t.cls != TokenClass::EndOfLine && t.column < column; t = tokens.next())
        before.push_back(t);
      for (auto t = before.rbegin(); t != before.rend(); ++t) {
        if (isCounterpart(text, *t)) {
          *found = Found{line, t->column, t->length};
          return true;
        }
      }
      column = INT32_MAX;
    }
    return false;
  }

  Instance& inst_;
  std::map<std::pair<WORD, std::string>, LRESULT> answers_;
  LRESULT kind_ = 0;
  int depth_ = 0;
};

}  // namespace

bool caretAtBracket(Instance& inst) {
  TivraToken token{};
  if (!tokenAt(inst, inst.text.caret.line, inst.caretColumn, &token, nullptr)) return false;
  return BracketScan(inst).classify(token) != 0;
}

LRESULT findMatchingBracket(Instance& inst) {
  if (!commitLineBuffer(inst)) return 0;
  TivraToken token{};
  TivraRange span{};
  if (!tokenAt(inst, inst.text.caret.line, inst.caretColumn, &token, &span)) return 0;
  BracketScan scan(inst);
  const LRESULT kind = scan.classify(token);
  if (kind == 0) return 0;
  Found found{};
  if (!scan.counterpart(span.StartLine, span.StartPos, kind, &found)) {
    reportNotFound(inst, -1);
    return 0;
  }
  setSelection(inst, found.line, found.column, found.line, found.column + found.length);
  afterCaretMove(inst);
  return 0;
}

}  // namespace tivra
