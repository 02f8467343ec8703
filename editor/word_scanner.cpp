// The word scanner (TM_SCANSTART ... TM_SCANTOKENRANGE): callers walk the
// whole text token by token, as colouring sees it; and the token at the
// caret (TM_TOKENATCARET).
#include "entry_points.h"
#include "syntax.h"
#include "text_store.h"

#include <cstring>

namespace tivra {

namespace {

constexpr LRESULT kScanToken = 0;
constexpr LRESULT kScanEnd = 1;
constexpr LRESULT kScanEndOfLine = 4;

std::string_view scannedLine(const Instance& inst) {
  return shownLineText(inst, inst.scanner.at.line, inst.scanner.at.handle);
}

// Moves the scan to the start of the next line in the state the current
// one hands on; false at the last line (the scan ends).
bool scanToNextLine(Instance& inst) {
  WordScanner& s = inst.scanner;
  const std::string_view text = scannedLine(inst);
  const WORD endState = scanLineState(inst, text.substr(static_cast<size_t>(s.column)), s.state);
  const LineHandle next = nextLine(s.at.handle);
  if (!next) {
    s.running = false;
    return false;
  }
  s.at = LineRef{s.at.line + 1, next};
  s.column = 0;
  s.state = nextLineState(inst, endState);
  s.tokenColumn = 0;
  s.tokenLength = 0;
  return true;
}

LRESULT scanStart(Instance& inst) {
  WordScanner& s = inst.scanner;
  s = WordScanner{};
  s.running = true;
  s.at = LineRef{1, inst.text.firstLine};
  s.state = textStartState(inst);
  inst.modified = static_cast<WORD>(inst.modified & ~2u);
  return 0;
}

LRESULT scanNext(Instance& inst, bool acrossLines, TivraToken* out) {
  WordScanner& s = inst.scanner;
  if (!s.running) return kScanEnd;
  for (;;) {
    const std::string_view text = scannedLine(inst);
    LineTokenizer tokens(inst, text, s.state, s.column);
    const Token t = tokens.next();
    if (t.cls != TokenClass::EndOfLine) {
      s.column = tokens.column();
      s.state = tokens.state();
      s.tokenColumn = t.column;
      s.tokenLength = t.length;
      s.tokenKind = t.kind;
      if (out) fillTokenRecord(inst, text, t, out);
      return kScanToken;
    }
    if (!acrossLines) {
      s.tokenColumn = t.column;
      s.tokenLength = 0;
      s.tokenKind = kKindEndOfLine;
      if (out) fillTokenRecord(inst, text, t, out);
      return kScanEndOfLine;
    }
    if (!scanToNextLine(inst)) return kScanEnd;
  }
}

LRESULT copyRestOfLine(Instance& inst, char* buffer) {
  if (!inst.scanner.running) return kScanEnd;
  if (!buffer) return -1;
  copyToLineBuffer(scannedLine(inst).substr(static_cast<size_t>(inst.scanner.column)), buffer);
  return 0;
}

LRESULT tokenRange(Instance& inst, TivraRange* range) {
  const WordScanner& s = inst.scanner;
  if (!s.running) return kScanEnd;
  if (!range) return -1;
  *range = TivraRange{static_cast<SHORT>(s.tokenColumn), static_cast<SHORT>(s.tokenColumn + s.tokenLength), s.at.line,
                      s.at.line};
  return 0;
}

}  // namespace

LRESULT wordScannerMessage(Instance& inst, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TM_SCANSTART:
      return scanStart(inst);
    case TM_SCANNEXT:
      return scanNext(inst, wParam != 0, reinterpret_cast<TivraToken*>(lParam));
    case TM_SCANNEXTLINE:
      if (!inst.scanner.running) return kScanEnd;
      return scanToNextLine(inst) ? 0 : kScanEnd;
    case TM_SCANRESTOFLINE:
      return copyRestOfLine(inst, reinterpret_cast<char*>(lParam));
    case TM_SCANTOKENRANGE:
      return tokenRange(inst, reinterpret_cast<TivraRange*>(lParam));
    case TM_TOKENATCARET:
      return tokenAt(inst, inst.text.caret.line, inst.caretColumn, reinterpret_cast<TivraToken*>(lParam), nullptr)
                 ? 0
                 : kScanEndOfLine;
    default:
      return 0;
  }
}

}  // namespace tivra
