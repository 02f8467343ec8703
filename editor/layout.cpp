#include "layout.h"

#include "view.h"

#include <algorithm>
#include <string_view>

namespace tivra {

int pixelOfColumn(const Instance& inst, const char* text, int length, int column) {
  return textWidth(inst, std::string_view(text, static_cast<size_t>(std::clamp(column, 0, length))));
}

int columnOfPixel(const Instance& inst, const char* text, int length, int x) {
  int left = 0;
  for (int i = 0; i < length; ++i) {
    const int right = advance(inst, left, text[i]);
    if (x < right) return x - left <= right - x ? i : i + 1;
    left = right;
  }
  return length;
}

int visibleRows(const Instance& inst) { return std::max(1, inst.layout.visibleLines); }

TextPosition positionFromPoint(Instance& inst, int x, int y) {
  // Into the rows that hold text: the window may show fewer rows of text
  // than it has room for.
  Row last = topRow(inst);
  const int textRows = 1 + stepRows(inst, last, visibleRows(inst) - 1);
  const int row = std::clamp(y < 0 ? 0 : y / rowHeight(inst), 0, textRows - 1);
  const LRESULT at = SendMessage(inst.window, TM_POSFROMPOINT, 0, MAKELPARAM(x, row * rowHeight(inst)));
  if (at == -1) return TextPosition{last.line, 0};
  return TextPosition{inst.text.firstVisible.line + LOWORD(at), HIWORD(at)};
}

}  // namespace tivra
