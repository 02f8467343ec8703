// The text of one editor window as a doubly linked list of line nodes in
// the arena, and the operations through which the rest of the control
// reads and changes it.
//
// Line numbers count from 1, columns from 0. Positions and ranges passed in
// must lie in the text (the message layer clamps what callers send); ranges
// must be ordered (start before end). Text arguments must not point into
// the arena (an allocation may move nodes).
//
// Nothing here reports failures to the user, with one exception:
// commitLineBuffer(), which many places call, reports running out of
// memory itself.
#pragma once

#include "arena.h"
#include "instance.h"

#include <memory>
#include <string>
#include <string_view>

namespace tivra {

enum class StoreResult {
  Ok,
  OutOfMemory,  // the arena is exhausted; nothing was changed
  LineTooLong,  // joining would make a line longer than 8192 characters; nothing was changed
};

// ---------------------------------------------------------------------------
// Pieces of long lines
//
// A line longer than 8193 characters is kept as pieces of at most 8193
// (inserting cuts it so); every piece but its last "continues": writing the
// text out joins it to the next line without a line end, so that the line
// comes back as it was. Editing works on the pieces as on any line.

inline bool continues(const Instance& inst, LineHandle h) {
  return !inst.text.continued.empty() && inst.text.continued.count(h) != 0;
}
void setContinues(Instance& inst, LineHandle h, bool on);

// The line end that saving writes between lines: LF with UnixStyleSave
// (also when MacStyleSave is set too), CR with MacStyleSave, else CR LF.
std::string_view savedLineEnd(const Instance& inst);

// ---------------------------------------------------------------------------
// Reading

// The handle of line n (1...line count): walked to from a line the window
// holds when one is a few lines away (the line looked up last, so that
// reading line after line costs a step each), else found through the line
// index in logarithmic time.
LineHandle lineFromNumber(const Instance& inst, int32_t n);

inline LineHandle nextLine(LineHandle h) { return nodeNext(h); }
inline LineHandle prevLine(LineHandle h) { return nodePrev(h); }
inline const char* lineText(LineHandle h) { return nodeText(h); }
inline int lineLength(LineHandle h) { return nodeLength(h); }

// The characters of the range, zero-terminated, with `lineEnd` between
// lines (none after a piece that continues). Returns the number of
// characters written (without the terminator).
size_t copyRange(const Instance& inst, const TivraRange& range, char* out, std::string_view lineEnd = "\r\n");

// Copies a line, or a part of one, into a caller's buffer of
// TIVRA_LINE_BUFFER bytes: at most that many characters, and a terminator
// when there is room for one (8193 characters fill the buffer without).
void copyToLineBuffer(std::string_view text, char* buffer);

// What copyRange writes, without the terminator.
size_t rangeLength(const Instance& inst, const TivraRange& range, std::string_view lineEnd = "\r\n");

// The whole text as a range: (1, 0) to the end of the last line.
TivraRange wholeText(const Instance& inst);

// The selection with its start before its end.
TivraRange orderedSelection(const Instance& inst);

// Moves anchor and caret (positions in the text) and loads the caret line
// into the line buffer. The line buffer must have been committed.
void setSelection(Instance& inst, int32_t anchorLine, int anchorColumn, int32_t caretLine, int caretColumn);

// ---------------------------------------------------------------------------
// Single lines

// Puts `replacement`, a detached node, in the place of line `line`; the
// window's references to it move to the replacement. Returns the line's
// old node, now detached.
LineHandle exchangeLineNode(Instance& inst, LineRef line, LineHandle replacement);

// ---------------------------------------------------------------------------
// Whole text and ranges

// Gives all the window's segments back but one and leaves one empty line;
// the undo buffer is emptied and every reference goes to (1, 0).
void clearText(Instance& inst);

// Turns text into lines as it arrives (in one piece or in blocks) and
// inserts it at a position:
//   - LF ends a line; CR LF ends a line; a CR followed by anything else ends
//     a line by itself; a CR at the end of a block is decided by the next;
//   - a run of more than 8193 characters without a line end becomes lines
//     of 8193 characters (the characters before the insertion column count
//     towards the first, those after it towards the last), each of which
//     continues in the next; the last piece ends as the insertion line did;
//   - zero bytes are skipped (a string ends at its terminator before it
//     gets here; a file's stray zero bytes do not cut its text short).
// Nothing is visible in the window's state until finish(). When the arena
// runs out, everything inserted so far is taken back and the text is as
// it was.
class TextInserter {
 public:
  TextInserter(Instance& inst, int32_t line, int column);
  ~TextInserter();
  TextInserter(const TextInserter&) = delete;
  TextInserter& operator=(const TextInserter&) = delete;

  // False when the arena is exhausted (the insertion is then abandoned).
  bool feed(const char* data, size_t length);
  // Links everything in; `inserted` (optional) receives the inserted text's
  // range. False when the arena is exhausted (the text is unchanged).
  bool finish(TivraRange* inserted);

  // How many lines were cut into pieces.
  int32_t longLines() const { return longLines_; }

 private:
  bool addContent(const char* data, size_t length);
  // Ends the line being gathered; `continued`: it goes on in the next.
  bool emitLine(bool continued);
  void rollback();

  Instance& inst_;
  int32_t line_;
  int column_;
  LineHandle start_;  // the insertion line
  LineHandle tail_;   // the last line inserted so far (start_ before any)
  PinnedHandle pinStart_;
  PinnedHandle pinTail_;
  std::string suffix_;      // the insertion line's characters after the column
  std::string firstPiece_;  // replaces the insertion line's text at the end
  bool haveFirstPiece_ = false;
  bool firstPieceContinues_ = false;
  bool startContinues_ = false;  // the insertion line went on in the next: so does the last piece
  bool cutting_ = false;         // the line being gathered has been cut
  int32_t longLines_ = 0;
  std::unique_ptr<char[]> current_;  // the line being gathered
  size_t currentLength_ = 0;
  int32_t added_ = 0;  // lines linked in after start_
  bool skipLineFeed_ = false;
  bool failed_ = false;
};

// Inserts a zero-terminated or sized text at a position (one TextInserter
// run). `inserted` receives the range of the new text.
StoreResult insertTextAt(Instance& inst, int32_t line, int column, std::string_view text, TivraRange* inserted);

// Deletes a range: the start line keeps its text before the start column
// followed by the end line's text after the end column (and continues as
// the end line did). The original lines start ... end leave the text as
// one detached chain, returned in `removed` (the caller keeps it in an undo
// step or frees it); a new node holds the joined line.
//
// References (bookmarks, ...) on a line that is deleted move to the line
// that follows, or to the joined line when nothing follows: the joined
// line stands for the start line, unless the range takes the start line
// from its first column (Ctrl+Y), then for the end line. A line after the
// one it stands for is deleted, save the end line when text of it is left.
//
// A joined line may have `longest` characters: TIVRA_MAX_LINE for an edit,
// TIVRA_MAX_INSERTED_LINE when undo or redo brings back a line that was.
StoreResult deleteRange(Instance& inst, const TivraRange& range, LineHandle* removed, int longest = TIVRA_MAX_LINE);

// Links a chain that deleteRange removed back in place of the joined line
// it left (the inverse of deleteRange; frees the joined line, never fails).
// References on the joined line stay on the range's first line.
void restoreRange(Instance& inst, int32_t line, LineHandle removed);

// ---------------------------------------------------------------------------
// The caret line buffer

// Loads the caret line into the line buffer.
void loadLineBuffer(Instance& inst);

// Whether the line buffer holds something else than the caret line.
bool lineBufferDiffers(const Instance& inst);

// Stores the line buffer into the caret line when it differs, keeping the
// old version in an undo step. When the arena is exhausted the failure is
// reported, the buffer is reloaded from the stored line, and false is
// returned.
bool commitLineBuffer(Instance& inst);

// Sets every modified bit and notes the lowest changed line for repainting.
void markTextChanged(Instance& inst, int32_t fromLine);

}  // namespace tivra
