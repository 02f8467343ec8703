// Line numbers to line handles in logarithmic time.
//
// The lines of a text are kept in chunks of consecutive lines, each known
// by the handle of its first line and its number of lines; a Fenwick tree
// over the numbers finds the chunk of a line in log(chunks) steps, and the
// line is walked to from the chunk's first line (or the next chunk's),
// never more than a chunk's length.
//
// The text store tells the index of every change to the line list, with
// the line numbers where it happened; the index then changes a count or a
// first line, in logarithmic time. Chunks grow with insertions and are
// split again the first time a lookup lands in one that has grown too
// long (after a load, the whole text is one chunk until then), so bulk
// changes cost nothing until lines are looked up.
//
// Memory: about 12 bytes for every 16 lines.
#pragma once

#include "instance.h"

#include <string>

namespace tivra {

// The handle of line n (1...line count).
LineHandle indexedLine(const Instance& inst, int32_t n);

// The text is one line again (inst.text.firstLine).
void indexReset(Instance& inst);

// Line `line` is held by another node now.
void indexNodeReplaced(Instance& inst, int32_t line, LineHandle node);

// `count` lines were linked in after line `after` (at least 1).
void indexLinesInserted(Instance& inst, int32_t after, int32_t count);

// The lines first ... first + count - 1 left the text; `next` is the line
// that follows them now (0 when they were the last).
void indexLinesRemoved(Instance& inst, int32_t first, int32_t count, LineHandle next);

// Compaction moved nodes: every first line is passed through `moved`.
template <typename F>
void indexRelocate(Instance& inst, F&& moved) {
  for (LineHandle& h : inst.text.index.heads) h = moved(h);
}

// Compares the index with a walk along the line list: an empty string, or
// what is wrong.
std::string checkLineIndex(const Instance& inst);

}  // namespace tivra
