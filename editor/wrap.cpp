// Word wrap: where a line is broken into sub-lines.
#include "view.h"

#include "line_breaks.h"
#include "syntax.h"

#include <string>

namespace tivra {

namespace {

// The break when the notify window chooses (TM_WORDBREAK): its answer if
// it lies in 1 ... fitting, else all that fits.
int askForBreak(Instance& inst, std::string_view rest, int fitting) {
  if (!inst.notifyWindow) return fitting;
  const std::string line(rest);  // zero-terminated for the receiver
  const LRESULT answer = SendMessage(inst.notifyWindow, TM_WORDBREAK, static_cast<WPARAM>(fitting),
                                     reinterpret_cast<LPARAM>(line.c_str()));
  return answer >= 1 && answer <= fitting ? static_cast<int>(answer) : fitting;
}

}  // namespace

int currentWrapWidth(const Instance& inst) {
  const Layout& l = inst.layout;
  if (!(l.wordWrapFlags & TIVRA_WRAP_ON)) return 0;
  if (l.wordWrapFlags & TIVRA_WRAP_FIXEDWIDTH) return std::max(0, l.wordWrapFixedWidth);
  return std::max(0, l.clientWidth - l.extraHorzSpacing - l.rightMargin - 1);
}

int subLineLength(Instance& inst, std::string_view rest) {
  const int size = static_cast<int>(rest.size());
  const int width = currentWrapWidth(inst);
  if (size == 0 || width <= 0) return size;
  const int fitting = fittingLength(rest, width, [&inst](int x, char c) { return advance(inst, x, c); });
  if (fitting == size) return size;
  if (inst.layout.wordWrapFlags & TIVRA_WRAP_AUTOBREAK) return breakAtBlank(rest, fitting);
  // Not even one character fits: it goes alone, whatever the notify window
  // would say.
  if (fitting == 0) return 1;
  return askForBreak(inst, rest, fitting);
}

void subLineStarts(Instance& inst, std::string_view text, std::vector<int>& starts) {
  starts.clear();
  starts.push_back(0);
  if (!wrapping(inst)) return;
  size_t pos = 0;
  for (;;) {
    pos += static_cast<size_t>(subLineLength(inst, text.substr(pos)));
    if (pos >= text.size()) return;
    starts.push_back(static_cast<int>(pos));
  }
}

int subLineCount(Instance& inst, int32_t line, LineHandle handle) {
  if (!wrapping(inst)) return 1;
  std::vector<int> starts;
  subLineStarts(inst, shownLineText(inst, line, handle), starts);
  return static_cast<int>(starts.size());
}

int subLineOfColumn(const std::vector<int>& starts, int column) {
  const auto after = std::upper_bound(starts.begin(), starts.end(), column);
  return std::max(0, static_cast<int>(after - starts.begin()) - 1);
}

}  // namespace tivra
