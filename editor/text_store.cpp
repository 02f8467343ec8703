#include "text_store.h"

#include "line_index.h"
#include "notify.h"
#include "undo.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace tivra {

namespace {

constexpr size_t kCut = TIVRA_MAX_INSERTED_LINE;
// A line this near to one the window holds is walked to rather than looked
// up in the index.
constexpr int32_t kNear = 8;

int32_t distance(int32_t a, int32_t b) { return a > b ? a - b : b - a; }

LineHandle walk(LineHandle from, int32_t fromLine, int32_t to) {
  while (fromLine < to) {
    from = nodeNext(from);
    ++fromLine;
  }
  while (fromLine > to) {
    from = nodePrev(from);
    --fromLine;
  }
  return from;
}

// The first CR, LF or zero byte in [p, end), or end. Eight bytes are
// looked at at a time (loading a file is mostly this scan): a word holds
// one of the three when one of its bytes, taken as it is or XORed with CR
// or LF, is zero.
const char* lineEndOrZero(const char* p, const char* end) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHighs = 0x8080808080808080ULL;
  auto hasZeroByte = [](uint64_t v) { return ((v - kOnes) & ~v & kHighs) != 0; };
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if (hasZeroByte(word) || hasZeroByte(word ^ (kOnes * '\r')) || hasZeroByte(word ^ (kOnes * '\n'))) break;
    p += 8;
  }
  while (p < end && *p != '\r' && *p != '\n' && *p != 0) ++p;
  return p;
}

void writeNode(LineHandle h, std::string_view text) {
  char* dest = nodeText(h);
  if (!text.empty()) std::memcpy(dest, text.data(), text.size());
  dest[text.size()] = 0;
}

// Puts `node` in the place of the lines first ... last (which leave the
// list with their links to the outside cleared).
void linkInPlaceOf(Instance& inst, LineHandle node, LineHandle first, LineHandle last) {
  const LineHandle before = nodePrev(first);
  const LineHandle after = nodeNext(last);
  setNodePrev(node, before);
  setNodeNext(node, after);
  if (before) setNodeNext(before, node);
  if (after) setNodePrev(after, node);
  // By name, not by the missing neighbour: while a TextInserter works, new
  // lines follow the last line before the window counts them.
  if (inst.text.firstLine == first) inst.text.firstLine = node;
  if (inst.text.lastLine == last) inst.text.lastLine = node;
  setNodePrev(first, 0);
  setNodeNext(last, 0);
}

void moveReferences(Instance& inst, LineHandle from, LineHandle to) {
  forEachLineRef(inst, [&](LineRef& r) {
    if (r.handle == from) r.handle = to;
  });
}

// Gives line `line` new text: in place when the node keeps its size, else
// in a new node that takes the old one's place. Returns the line's handle,
// or 0 (the line keeps its old text) when the arena is exhausted.
LineHandle replaceLineText(Instance& inst, LineRef line, std::string_view text) {
  LineHandle h = line.handle;
  if (nodeSizeFor(text.size()) == nodeSizeFor(static_cast<size_t>(nodeLength(h)))) {
    writeNode(h, text);
    return h;
  }
  PinnedHandle pin(inst, h);
  const LineHandle fresh = allocateNode(inst, nodeSizeFor(text.size()));
  if (!fresh) return 0;
  writeNode(fresh, text);
  linkInPlaceOf(inst, fresh, h, h);
  moveReferences(inst, h, fresh);
  indexNodeReplaced(inst, line.line, fresh);
  setContinues(inst, fresh, continues(inst, h));
  freeNode(inst, h);
  return fresh;
}

}  // namespace

// ---------------------------------------------------------------------------
// Pieces of long lines

void setContinues(Instance& inst, LineHandle h, bool on) {
  if (on)
    inst.text.continued.insert(h);
  else if (!inst.text.continued.empty())
    inst.text.continued.erase(h);
}

std::string_view savedLineEnd(const Instance& inst) {
  if (inst.options & TivraOption::UnixStyleSave) return "\n";
  if (inst.options & TivraOption::MacStyleSave) return "\r";
  return "\r\n";
}

// ---------------------------------------------------------------------------
// Reading

LineHandle lineFromNumber(const Instance& inst, int32_t n) {
  const TextState& t = inst.text;
  LineHandle found = 0;
  for (const LineRef& known :
       {t.index.lastFound, t.caret, t.firstVisible, LineRef{1, t.firstLine}, LineRef{t.lineCount, t.lastLine}}) {
    if (known.handle != 0 && distance(n, known.line) <= kNear) {
      found = walk(known.handle, known.line, n);
      break;
    }
  }
  if (!found) found = indexedLine(inst, n);
  t.index.lastFound = LineRef{n, found};
  return found;
}

void copyToLineBuffer(std::string_view text, char* buffer) {
  const size_t copied = std::min<size_t>(text.size(), TIVRA_LINE_BUFFER);
  std::memcpy(buffer, text.data(), copied);
  if (copied < TIVRA_LINE_BUFFER) buffer[copied] = 0;
}

size_t rangeLength(const Instance& inst, const TivraRange& r, std::string_view lineEnd) {
  size_t length = 0;
  LineHandle h = lineFromNumber(inst, r.StartLine);
  for (int32_t line = r.StartLine; line < r.EndLine; ++line) {
    length += static_cast<size_t>(nodeLength(h)) + (continues(inst, h) ? 0 : lineEnd.size());
    h = nodeNext(h);
  }
  return length + static_cast<size_t>(r.EndPos) - static_cast<size_t>(r.StartPos);
}

size_t copyRange(const Instance& inst, const TivraRange& r, char* out, std::string_view lineEnd) {
  char* p = out;
  LineHandle h = lineFromNumber(inst, r.StartLine);
  int column = r.StartPos;
  for (int32_t line = r.StartLine; line < r.EndLine; ++line) {
    const char* text = nodeText(h);
    const size_t length = std::strlen(text);
    std::memcpy(p, text + column, length - static_cast<size_t>(column));
    p += length - static_cast<size_t>(column);
    if (!continues(inst, h)) {
      std::memcpy(p, lineEnd.data(), lineEnd.size());
      p += lineEnd.size();
    }
    column = 0;
    h = nodeNext(h);
  }
  const size_t last = static_cast<size_t>(r.EndPos - column);
  std::memcpy(p, nodeText(h) + column, last);
  p += last;
  *p = 0;
  return static_cast<size_t>(p - out);
}

TivraRange wholeText(const Instance& inst) {
  return TivraRange{0, static_cast<SHORT>(nodeLength(inst.text.lastLine)), 1, inst.text.lineCount};
}

TivraRange orderedSelection(const Instance& inst) {
  const LineRef& a = inst.text.anchor;
  const LineRef& c = inst.text.caret;
  const bool anchorFirst = a.line < c.line || (a.line == c.line && inst.anchorColumn <= inst.caretColumn);
  if (anchorFirst) return TivraRange{inst.anchorColumn, inst.caretColumn, a.line, c.line};
  return TivraRange{inst.caretColumn, inst.anchorColumn, c.line, a.line};
}

void setSelection(Instance& inst, int32_t anchorLine, int anchorColumn, int32_t caretLine, int caretColumn) {
  const LineHandle anchor = lineFromNumber(inst, anchorLine);
  inst.text.anchor = LineRef{anchorLine, anchor};
  inst.anchorColumn = static_cast<int16_t>(anchorColumn);
  const LineHandle caret = lineFromNumber(inst, caretLine);
  inst.text.caret = LineRef{caretLine, caret};
  inst.caretColumn = static_cast<int16_t>(caretColumn);
  loadLineBuffer(inst);
}

// ---------------------------------------------------------------------------
// Single lines

LineHandle exchangeLineNode(Instance& inst, LineRef line, LineHandle replacement) {
  linkInPlaceOf(inst, replacement, line.handle, line.handle);
  moveReferences(inst, line.handle, replacement);
  indexNodeReplaced(inst, line.line, replacement);
  return line.handle;
}

// ---------------------------------------------------------------------------
// Whole text and ranges

void clearText(Instance& inst) {
  discardUndoSteps(inst);
  resetSegments(inst);
  inst.text.continued.clear();
  inst.text.longLinesLoaded = 0;
  const LineHandle h = allocateNode(inst, nodeSizeFor(0));
  if (!h) std::abort();  // a freshly reset segment always has room for one empty line
  writeNode(h, {});
  setNodeNext(h, 0);
  setNodePrev(h, 0);
  TextState& t = inst.text;
  t.firstLine = t.lastLine = h;
  t.lineCount = 1;
  t.caret = t.anchor = t.firstVisible = LineRef{1, h};
  for (Bookmark& b : inst.bookmarks) b.at = LineRef{1, h};
  indexReset(inst);
  inst.scanner.running = false;
  inst.caretColumn = inst.anchorColumn = 0;
  loadLineBuffer(inst);
}

TextInserter::TextInserter(Instance& inst, int32_t line, int column)
    : inst_(inst),
      line_(line),
      column_(column),
      start_(lineFromNumber(inst, line)),
      tail_(start_),
      pinStart_(inst, start_),
      pinTail_(inst, tail_),
      current_(new char[kCut]) {
  startContinues_ = continues(inst, start_);
  const char* text = nodeText(start_);
  suffix_.assign(text + column);
  std::memcpy(current_.get(), text, static_cast<size_t>(column));
  currentLength_ = static_cast<size_t>(column);
}

TextInserter::~TextInserter() {
  // Abandoned before finish(): take back what was linked in.
  if (added_ > 0) rollback();
}

bool TextInserter::feed(const char* data, size_t length) {
  if (failed_) return false;
  const char* p = data;
  const char* end = data + length;
  while (p < end) {
    if (skipLineFeed_) {
      skipLineFeed_ = false;
      if (*p == '\n') {
        ++p;
        continue;
      }
    }
    const char* run = p;
    p = lineEndOrZero(p, end);
    if (p > run && !addContent(run, static_cast<size_t>(p - run))) return false;
    if (p == end) break;
    const char c = *p++;
    if (c == 0) continue;
    if (!emitLine(false)) return false;
    // The line has ended either way; an LF right after a CR belongs to it.
    skipLineFeed_ = c == '\r';
  }
  return true;
}

bool TextInserter::addContent(const char* data, size_t length) {
  while (length > 0) {
    // A full line is cut off only when more of it follows, so a line of
    // exactly 8193 characters followed by a line end stays one line.
    if (currentLength_ == kCut) {
      if (!cutting_) ++longLines_;
      cutting_ = true;
      if (!emitLine(true)) return false;
    }
    const size_t take = std::min(length, kCut - currentLength_);
    std::memcpy(current_.get() + currentLength_, data, take);
    currentLength_ += take;
    data += take;
    length -= take;
  }
  return true;
}

bool TextInserter::emitLine(bool continued) {
  const std::string_view piece(current_.get(), currentLength_);
  currentLength_ = 0;
  if (!continued) cutting_ = false;
  if (!haveFirstPiece_) {
    firstPiece_.assign(piece);
    firstPieceContinues_ = continued;
    haveFirstPiece_ = true;
    return true;
  }
  const LineHandle h = allocateNode(inst_, nodeSizeFor(piece.size()));
  if (!h) {
    rollback();
    return false;
  }
  writeNode(h, piece);
  // A new node is never marked: only a cut piece needs it.
  if (continued) setContinues(inst_, h, true);
  const LineHandle after = nodeNext(tail_);
  setNodePrev(h, tail_);
  setNodeNext(h, after);
  setNodeNext(tail_, h);
  if (after) setNodePrev(after, h);
  tail_ = h;
  ++added_;
  return true;
}

void TextInserter::rollback() {
  for (; added_ > 0; --added_) {
    const LineHandle h = nodeNext(start_);
    const LineHandle after = nodeNext(h);
    setNodeNext(start_, after);
    if (after) setNodePrev(after, start_);
    freeNode(inst_, h);
  }
  tail_ = start_;
  failed_ = true;
  releaseEmptySegments(inst_);
}

bool TextInserter::finish(TivraRange* inserted) {
  if (failed_) return false;
  // The inserted text ends where the gathering stands now.
  const int32_t endLine = haveFirstPiece_ ? line_ + added_ + 1 : line_;
  const auto endColumn = static_cast<SHORT>(currentLength_);
  if (!addContent(suffix_.data(), suffix_.size()) || !emitLine(startContinues_)) return false;

  const LineHandle replaced = replaceLineText(inst_, LineRef{line_, start_}, firstPiece_);
  if (!replaced) {
    rollback();
    return false;
  }
  setContinues(inst_, replaced, firstPieceContinues_);
  if (added_ == 0) tail_ = replaced;
  TextState& t = inst_.text;
  if (added_ > 0) {
    if (t.lastLine == replaced) t.lastLine = tail_;
    t.lineCount += added_;
    forEachLineRef(inst_, [&](LineRef& r) {
      if (r.line > line_) r.line += added_;
    });
    indexLinesInserted(inst_, line_, added_);
  }
  if (inserted) *inserted = TivraRange{static_cast<SHORT>(column_), endColumn, line_, endLine};
  haveFirstPiece_ = true;
  added_ = 0;  // linked in for good
  return true;
}

StoreResult insertTextAt(Instance& inst, int32_t line, int column, std::string_view text, TivraRange* inserted) {
  TextInserter inserter(inst, line, column);
  if (!inserter.feed(text.data(), text.size()) || !inserter.finish(inserted)) return StoreResult::OutOfMemory;
  return StoreResult::Ok;
}

StoreResult deleteRange(Instance& inst, const TivraRange& r, LineHandle* removed, int longest) {
  *removed = 0;
  if (r.StartLine == r.EndLine && r.StartPos == r.EndPos) return StoreResult::Ok;
  LineHandle first = lineFromNumber(inst, r.StartLine);
  LineHandle last = walk(first, r.StartLine, r.EndLine);
  const char* lastText = nodeText(last);
  const size_t suffixLength = std::strlen(lastText) - static_cast<size_t>(r.EndPos);
  if (r.StartLine != r.EndLine && static_cast<size_t>(r.StartPos) + suffixLength > static_cast<size_t>(longest))
    return StoreResult::LineTooLong;
  std::string joined(nodeText(first), static_cast<size_t>(r.StartPos));
  joined.append(lastText + r.EndPos, suffixLength);

  PinnedHandle pinFirst(inst, first);
  PinnedHandle pinLast(inst, last);
  const LineHandle node = allocateNode(inst, nodeSizeFor(joined.size()));
  if (!node) return StoreResult::OutOfMemory;
  writeNode(node, joined);
  setContinues(inst, node, continues(inst, last));
  linkInPlaceOf(inst, node, first, last);
  const int32_t removedLines = r.EndLine - r.StartLine;
  const LineHandle following = nodeNext(node);
  const int32_t standsFor = r.StartPos > 0 ? r.StartLine : r.EndLine;
  forEachLineRef(inst, [&](LineRef& ref) {
    if (ref.line > r.EndLine) {
      ref.line -= removedLines;
    } else if (ref.line >= r.StartLine) {
      const bool deleted = ref.line > standsFor && !(ref.line == r.EndLine && suffixLength > 0);
      ref = deleted && following ? LineRef{r.StartLine + 1, following} : LineRef{r.StartLine, node};
    }
  });
  if (removedLines > 0) indexLinesRemoved(inst, r.StartLine + 1, removedLines, nodeNext(node));
  indexNodeReplaced(inst, r.StartLine, node);
  inst.text.lineCount -= removedLines;
  *removed = first;
  return StoreResult::Ok;
}

void restoreRange(Instance& inst, int32_t line, LineHandle removed) {
  const LineHandle joined = lineFromNumber(inst, line);
  LineHandle last = removed;
  int32_t restoredLines = 0;
  while (nodeNext(last)) {
    last = nodeNext(last);
    ++restoredLines;
  }
  const LineHandle before = nodePrev(joined);
  const LineHandle after = nodeNext(joined);
  setNodePrev(removed, before);
  setNodeNext(last, after);
  if (before)
    setNodeNext(before, removed);
  else
    inst.text.firstLine = removed;
  if (after)
    setNodePrev(after, last);
  else
    inst.text.lastLine = last;
  forEachLineRef(inst, [&](LineRef& r) {
    if (r.handle == joined)
      r.handle = removed;
    else if (r.line > line)
      r.line += restoredLines;
  });
  indexNodeReplaced(inst, line, removed);
  if (restoredLines > 0) indexLinesInserted(inst, line, restoredLines);
  inst.text.lineCount += restoredLines;
  setNodeNext(joined, 0);
  setNodePrev(joined, 0);
  freeNode(inst, joined);
}

// ---------------------------------------------------------------------------
// The caret line buffer

void loadLineBuffer(Instance& inst) {
  LineBuffer& b = inst.lineBuffer;
  const char* text = nodeText(inst.text.caret.handle);
  const size_t length = std::min(std::strlen(text), sizeof b.text - 1);
  std::memcpy(b.text, text, length);
  b.text[length] = 0;
  b.length = static_cast<int>(length);
  b.edited = false;
}

bool lineBufferDiffers(const Instance& inst) {
  const LineBuffer& b = inst.lineBuffer;
  if (!b.edited) return false;
  const char* stored = nodeText(inst.text.caret.handle);
  return std::strlen(stored) != static_cast<size_t>(b.length) ||
         std::memcmp(stored, b.text, static_cast<size_t>(b.length)) != 0;
}

bool commitLineBuffer(Instance& inst) {
  if (!lineBufferDiffers(inst)) {
    inst.lineBuffer.edited = false;
    return true;
  }
  LineBuffer& b = inst.lineBuffer;
  const LineHandle node = allocateNode(inst, nodeSizeFor(static_cast<size_t>(b.length)));
  if (!node) {
    reportOutOfMemory(inst);
    loadLineBuffer(inst);
    return false;
  }
  writeNode(node, std::string_view(b.text, static_cast<size_t>(b.length)));
  // The stored version leaves the text whole and is kept for undo.
  const LineHandle old = inst.text.caret.handle;
  setContinues(inst, node, continues(inst, old));
  linkInPlaceOf(inst, node, old, old);
  moveReferences(inst, old, node);
  indexNodeReplaced(inst, inst.text.caret.line, node);
  b.edited = false;
  markTextChanged(inst, inst.text.caret.line);
  UndoStep step{};
  step.kind = kUndoLineReplaced;
  step.line = inst.text.caret.line;
  step.savedLines = old;
  recordStep(inst, step);
  return true;
}

void markTextChanged(Instance& inst, int32_t fromLine) {
  inst.modified = 0xFFFF;
  Layout& l = inst.layout;
  if (l.lowestChangedLine <= 0 || fromLine < l.lowestChangedLine) l.lowestChangedLine = std::max(fromLine, 1);
}

}  // namespace tivra
