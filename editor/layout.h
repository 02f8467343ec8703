// Where the caret goes for the keys and the mouse: pixel offsets within a
// line (for Up and Down, which keep the caret's pixel column) and the text
// position under a client point, with points outside the text taken to
// the nearest visible position (for selecting by dragging).
//
// Measuring and the rows of the window are the display's (view.h); this
// only puts them to the use of moving the caret.
#pragma once

#include "instance.h"

namespace tivra {

struct TextPosition {
  int32_t line;
  int column;
};

// The pixel offset of `column` from the start of a line's text.
int pixelOfColumn(const Instance& inst, const char* text, int length, int column);

// The column whose boundary lies nearest to pixel offset `x` (0 ... length).
int columnOfPixel(const Instance& inst, const char* text, int length, int x);

// The text under client point (x, y); a point above, below or beside the
// text gives the nearest position in the rows the window shows.
TextPosition positionFromPoint(Instance& inst, int x, int y);

// Rows of text the window shows, at least 1.
int visibleRows(const Instance& inst);

}  // namespace tivra
