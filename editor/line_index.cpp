#include "line_index.h"

#include "arena.h"

#include <algorithm>
#include <vector>

namespace tivra {

namespace {

// Chunks are cut to this many lines; a chunk that has grown beyond
// kLongestChunk is cut again when a lookup lands in it.
constexpr int32_t kChunkLines = 16;
constexpr int32_t kLongestChunk = 3 * kChunkLines;

int32_t chunkCount(const LineIndex& x) { return static_cast<int32_t>(x.counts.size()); }

void rebuildTree(LineIndex& x) {
  const int32_t n = chunkCount(x);
  x.tree.assign(static_cast<size_t>(n) + 1, 0);
  for (int32_t i = 1; i <= n; ++i) {
    x.tree[static_cast<size_t>(i)] += x.counts[static_cast<size_t>(i - 1)];
    const int32_t parent = i + (i & -i);
    if (parent <= n) x.tree[static_cast<size_t>(parent)] += x.tree[static_cast<size_t>(i)];
  }
}

void addToCount(LineIndex& x, int32_t chunk, int32_t delta) {
  x.counts[static_cast<size_t>(chunk)] += delta;
  for (int32_t i = chunk + 1; i <= chunkCount(x); i += i & -i) x.tree[static_cast<size_t>(i)] += delta;
}

// The number of lines before chunk `chunk`.
int32_t linesBefore(const LineIndex& x, int32_t chunk) {
  int32_t sum = 0;
  for (int32_t i = chunk; i > 0; i -= i & -i) sum += x.tree[static_cast<size_t>(i)];
  return sum;
}

struct Place {
  int32_t chunk;
  int32_t offset;  // of the line within the chunk, from 0
};

// The chunk that holds line n (1...lines in the index).
Place locate(const LineIndex& x, int32_t n) {
  const int32_t size = chunkCount(x);
  int32_t step = 1;
  while (step * 2 <= size) step *= 2;
  int32_t pos = 0;
  int32_t rest = n;
  for (; step > 0; step /= 2) {
    if (pos + step <= size && x.tree[static_cast<size_t>(pos + step)] < rest) {
      pos += step;
      rest -= x.tree[static_cast<size_t>(pos)];
    }
  }
  return Place{pos, rest - 1};
}

LineHandle walkForward(LineHandle h, int32_t steps) {
  for (; steps > 0; --steps) h = nodeNext(h);
  return h;
}

LineHandle walkBack(LineHandle h, int32_t steps) {
  for (; steps > 0; --steps) h = nodePrev(h);
  return h;
}

// Drops the emptied chunks and cuts every chunk longer than kLongestChunk
// into chunks of kChunkLines, walking along it.
void recut(LineIndex& x) {
  std::vector<LineHandle> heads;
  std::vector<int32_t> counts;
  heads.reserve(x.heads.size());
  counts.reserve(x.counts.size());
  for (size_t c = 0; c < x.counts.size(); ++c) {
    int32_t left = x.counts[c];
    if (left == 0) continue;
    LineHandle head = x.heads[c];
    while (left > kLongestChunk) {
      heads.push_back(head);
      counts.push_back(kChunkLines);
      head = walkForward(head, kChunkLines);
      left -= kChunkLines;
    }
    heads.push_back(head);
    counts.push_back(left);
  }
  x.heads = std::move(heads);
  x.counts = std::move(counts);
  x.emptyChunks = 0;
  rebuildTree(x);
}

}  // namespace

LineHandle indexedLine(const Instance& inst, int32_t n) {
  LineIndex& x = inst.text.index;
  Place at = locate(x, n);
  if (x.counts[static_cast<size_t>(at.chunk)] > kLongestChunk) {
    recut(x);
    at = locate(x, n);
  }
  const auto c = static_cast<size_t>(at.chunk);
  const int32_t toEnd = x.counts[c] - at.offset;
  // From the next chunk's first line when that is nearer.
  if (toEnd < at.offset && c + 1 < x.counts.size() && x.counts[c + 1] > 0) return walkBack(x.heads[c + 1], toEnd);
  return walkForward(x.heads[c], at.offset);
}

void indexReset(Instance& inst) {
  LineIndex& x = inst.text.index;
  x.heads.assign(1, inst.text.firstLine);
  x.counts.assign(1, 1);
  x.emptyChunks = 0;
  rebuildTree(x);
  x.lastFound = LineRef{1, inst.text.firstLine};
}

void indexNodeReplaced(Instance& inst, int32_t line, LineHandle node) {
  LineIndex& x = inst.text.index;
  const Place at = locate(x, line);
  if (at.offset == 0) x.heads[static_cast<size_t>(at.chunk)] = node;
}

void indexLinesInserted(Instance& inst, int32_t after, int32_t count) {
  LineIndex& x = inst.text.index;
  addToCount(x, locate(x, after).chunk, count);
}

void indexLinesRemoved(Instance& inst, int32_t first, int32_t count, LineHandle next) {
  LineIndex& x = inst.text.index;
  Place at = locate(x, first);
  while (count > 0) {
    const auto c = static_cast<size_t>(at.chunk);
    const int32_t here = std::min(count, x.counts[c] - at.offset);
    if (here == x.counts[c]) {
      ++x.emptyChunks;
    } else if (at.offset == 0) {
      // The chunk lost its first lines: the line after the removed ones
      // (the removal ends inside this chunk) begins it now.
      x.heads[c] = next;
    }
    addToCount(x, at.chunk, -here);
    count -= here;
    at = Place{at.chunk + 1, 0};
    while (count > 0 && at.chunk < chunkCount(x) && x.counts[static_cast<size_t>(at.chunk)] == 0) ++at.chunk;
    if (at.chunk == chunkCount(x)) break;
  }
  if (x.emptyChunks > chunkCount(x) / 2) recut(x);
}

std::string checkLineIndex(const Instance& inst) {
  const LineIndex& x = inst.text.index;
  if (x.counts.empty() || x.heads.size() != x.counts.size()) return "the index has no chunks";
  if (x.tree.size() != x.counts.size() + 1) return "the index's tree does not fit its chunks";
  std::vector<LineHandle> byNumber{0};
  for (LineHandle h = inst.text.firstLine; h; h = nodeNext(h)) byNumber.push_back(h);
  int32_t line = 1;
  int32_t empty = 0;
  for (int32_t c = 0; c < chunkCount(x); ++c) {
    const int32_t count = x.counts[static_cast<size_t>(c)];
    if (count < 0) return "chunk " + std::to_string(c) + " has " + std::to_string(count) + " lines";
    if (linesBefore(x, c) != line - 1) return "the tree's sum before chunk " + std::to_string(c) + " is wrong";
    empty += count == 0 ? 1 : 0;
    if (count == 0) continue;
    if (line >= static_cast<int32_t>(byNumber.size())) return "the chunks hold more lines than the text";
    if (x.heads[static_cast<size_t>(c)] != byNumber[static_cast<size_t>(line)])
      return "chunk " + std::to_string(c) + " does not begin with line " + std::to_string(line);
    line += count;
  }
  if (line - 1 != inst.text.lineCount || line != static_cast<int32_t>(byNumber.size()))
    return "the chunks hold " + std::to_string(line - 1) + " lines, the text " + std::to_string(byNumber.size() - 1);
  if (empty != x.emptyChunks) return "the emptied chunks are miscounted";
  const LineRef& last = x.lastFound;
  if (last.line < 1 || last.line >= static_cast<int32_t>(byNumber.size()) ||
      byNumber[static_cast<size_t>(last.line)] != last.handle)
    return "the line looked up last does not name its line";
  return {};
}

}  // namespace tivra
