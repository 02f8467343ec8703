// The instance record of one editor window: everything a window of class
// "Tivra32" keeps. One record per window, value-initialised (all zero) at
// creation, found through the window's extra bytes.
//
// Every field that holds a line handle is listed in forEachLineRef() or in
// forEachSavedLine() below, so that editing and compaction keep it valid.
// A field added later that holds a handle must be added there too.
#pragma once

#include "tivra.h"
#include "win32.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace tivra {

// A line node in the text arena: segment number * 16384 + offset / 4
// (24 bits). 0 means no line.
using LineHandle = uint32_t;

// A line number with the handle of that line.
struct LineRef {
  int32_t line = 0;
  LineHandle handle = 0;
};

// ---------------------------------------------------------------------------
// Text state

// Per window index over the arena's segment table: for each segment that
// the window owns, the size of its largest free block, arranged as a max
// tree so that "the first owned segment whose largest free block is at
// least n" is found without scanning all 1024 entries.
struct SegmentFitIndex {
  static constexpr int kLeaves = 1024;
  uint16_t tree[2 * kLeaves];
};

// Line numbers to handles (line_index.h): chunks of consecutive lines.
struct LineIndex {
  std::vector<LineHandle> heads;  // the first line of each chunk
  std::vector<int32_t> counts;    // its number of lines; 0: an emptied chunk, skipped
  std::vector<int32_t> tree;      // Fenwick tree over counts (1-based)
  int32_t emptyChunks;
  LineRef lastFound;  // the line looked up last: reading on from it is a step
};

struct TextState {
  LineHandle firstLine;
  LineHandle lastLine;
  int32_t lineCount;     // at least 1
  LineRef caret;         // line that holds the caret
  LineRef anchor;        // line where the selection began
  LineRef firstVisible;  // top line of the window
  SegmentFitIndex fit;
  // Looking a line up changes nothing the window shows, and may happen
  // where the window is only read.
  mutable LineIndex index;
  // The lines that go on in the next one without a line end: the pieces of
  // a line longer than the editor takes (text_store.h, continues()). Also
  // lines detached into undo steps; a node leaves the set when it is freed.
  std::unordered_set<LineHandle> continued;
  int32_t longLinesLoaded;  // lines cut into pieces by the last whole text loaded or set
};

// The caret line while it is being edited. It holds any stored line (a line
// made by insertion may have 8193 characters); typing never makes it longer
// than 8192.
struct LineBuffer {
  char text[TIVRA_MAX_INSERTED_LINE + 1];
  int length;
  bool edited;  // changed since it was loaded or committed
};

// ---------------------------------------------------------------------------
// Bookmarks

struct Bookmark {
  LineRef at;
  COLORREF foreground;
  COLORREF background;
  uint8_t marks;  // bit 0 and bit 1: the two mark bits
};

constexpr COLORREF kBookmarkForeground = RGB(255, 0, 0);
constexpr COLORREF kBookmarkBackground = RGB(255, 255, 0);

// ---------------------------------------------------------------------------
// Undo

enum UndoKind : uint16_t {
  kUndoNone = 0,
  kUndoLineReplaced = 1,   // savedLines: the other version of the line (one detached node)
  kUndoLinesJoined = 2,    // column: where the lines were joined
  kUndoLineSplit = 3,      // column: where the line was split
  kUndoRangeDeleted = 4,   // savedLines: a detached chain holding the original lines
                           // line ... line + lineDelta (the first and last with their
                           // full text); the text holds one joined line in their place
  kUndoRangeInserted = 5,  // the range (line, column) ... (line + lineDelta, secondColumn)
};

struct UndoStep {
  uint16_t kind;
  uint16_t column;
  uint16_t secondColumn;
  int32_t line;
  int32_t lineDelta;
  LineHandle savedLines;
  bool continued;  // kind 2: the joined lines were pieces of one line (no line end between them)
};

// ---------------------------------------------------------------------------
// Display

// The colouring syntax table (TM_SETSYNTAX) and what the scanner derives
// from it (syntax.cpp).
struct SyntaxTable {
  WORD items[254];  // item n is items[n - 1]
  int count;
  BYTE flags;           // bit 0: item 2 is a comment marker; bit 1: items 6 and 7 are extra comment markers
  BYTE firstItem[256];  // character -> first item starting with it (0 none)
  BYTE nextItem[256];   // item -> next item with the same first character (two-character items first)
  BYTE second[256];     // item -> its second character, 0 for a one-character item
  BYTE role[256];       // item -> what it does (syntax.h, ItemRole)
  BYTE blank[256];      // space, TAB and the zero byte
  bool valid;           // derived tables are current
};

// The state at the start of each line, so that painting a screen does not
// scan the text above it (syntax.cpp). states[n - 2] belongs to line n
// (line 1 starts in the text's start state); lines 2 ... validThrough are
// current.
struct LineStateCache {
  std::vector<WORD> states;
  int32_t validThrough;
};

// The word scanner of TM_SCANSTART ... TM_SCANTOKENRANGE.
struct WordScanner {
  bool running;
  LineRef at;  // the line being scanned
  int column;  // next column to scan
  WORD state;  // line state: normal, string, character, comment, extra comment
  int tokenColumn;
  int tokenLength;
  int tokenKind;
};

// Font and what is measured from it.
struct FontState {
  LOGFONT logFont;
  HFONT font;
  bool ownsFont;  // made by the window itself: deleted with it
  int averageCharWidth;
  int maxCharWidth;
  int height;      // the font's cell height
  int lineHeight;  // height + external leading + extra vertical spacing
  int externalLeading;
  int overhang;
  int charWidths[256];
};

struct Layout {
  int extraHorzSpacing;  // 0, 2, 4 or 6 pixels (TM_SETLAYOUT may give 0...15)
  int extraVertSpacing;
  int rightMargin;
  bool horzScrollBar;
  bool vertScrollBar;
  int tabSize;             // characters, 1...40
  int caretWidth;          // 0: the system's default
  WORD wordWrapFlags;      // TIVRA_WRAP_*
  int wordWrapFixedWidth;  // pixels, with TIVRA_WRAP_FIXEDWIDTH
  int wrapWidth;           // the width in force
  int clientWidth;
  int clientHeight;
  int visibleLines;     // at least 1
  int horzScrollPos;    // pixels
  int horzScrollRange;  // grows to the widest line seen
  int firstVisibleSubLine;
  int32_t lowestChangedLine;  // repainting and colouring start here
  int wheelRemainder;         // wheel movement short of a whole notch
  TivraRange shownSelection;  // the selection as last painted (ordered)
  bool caretCreated;          // the window has the caret (it has the focus)
  int caretPixelColumn;       // the pixel offset in its row that Up and Down keep
};

// ---------------------------------------------------------------------------
// Search

struct SearchState {
  char findText[TIVRA_MAX_FIND_TEXT + 1];
  char replaceText[TIVRA_MAX_FIND_TEXT + 1];
  WORD options;  // TIVRA_FIND_* bits
  bool findTextPresent;
  HWND findDialog;     // the modeless find or replace dialog, while open
  bool replaceDialog;  // the open dialog is the replace dialog
  void* dialogData;    // what the open dialog needs while it lives
};

// ---------------------------------------------------------------------------
// Files and printing

struct FileState {
  std::string name;        // full path, Windows-1252 as the window reports it
  std::string nativeName;  // the same path as the file system spells it
  bool hasName;
  std::string defaultExtension;  // up to 3 characters
  std::string filter;            // descriptions and masks in the "/" form of TM_SETFILTER
  std::string dialogFolder;      // where the file dialogs start
  HGLOBAL printerDevMode;        // the print dialog's setup (DEVMODE and DEVNAMES),
  HGLOBAL printerDevNames;       //   kept between prints
  bool printing;                 // a print job runs (the window is disabled)
};

// ---------------------------------------------------------------------------
// Menus

enum PopupIndex { kPopupFile = 0, kPopupEdit = 1, kPopupSearch = 2, kPopupFunctions = 3, kPopupCount = 4 };

struct MenuState {
  HMENU contextMenu;
  HMENU popups[kPopupCount];  // in the context menu (kPopupFile is 0 without file commands)
  HMENU menuBar;
  bool ownsMenuBar;              // created by the window: destroyed with it
  HMENU barPopups[kPopupCount];  // the copies appended to the menu bar
};

// ---------------------------------------------------------------------------
// The instance record

constexpr int kDialogPositions = 8;  // index 1...7 of TM_SETDIALOGPOS
constexpr LONG kDefaultDialogPosition = -1;

struct Instance {
  HWND window;
  HWND notifyWindow;
  int controlId;
  DWORD style;    // bits changed by messages are written back here
  bool creating;  // inside WM_CREATE

  TextState text;
  int16_t caretColumn;   // selection: caret (text.caret line, this column)
  int16_t anchorColumn;  //   and anchor (text.anchor line, this column)
  LineBuffer lineBuffer;

  bool overwriteMode;  // false: insert mode
  WORD options;        // TivraOption bits
  WORD modified;       // bit 0 changed since load or save; bit 1 typing; 2...15 callers' markers

  int bookmarkHigh;  // highest bookmark index in use (1...255)
  Bookmark bookmarks[TIVRA_MAX_BOOKMARKS];

  UndoStep undoSteps[TIVRA_MAX_UNDO];
  uint16_t undoPosition;  // steps done
  uint16_t undoTotal;     // steps recorded; position...total are redo steps
  uint16_t undoDepth;     // 1...909

  FontState font;
  Layout layout;
  SyntaxTable syntax;
  LineStateCache lineStates;
  WordScanner scanner;
  SearchState search;
  FileState file;
  MenuState menus;
  LONG dialogPositions[kDialogPositions];  // MAKELONG(x, y), or -1 for the default place

  HWND group;  // the TivraGroup32 window the editor belongs to, or 0

  bool mouseSelecting;  // left button down, selection in progress
  bool selectionTimer;  // timer 1 runs while the pointer is outside the text
  POINT mousePoint;     // where the pointer was last seen while selecting (client)

  // Line handles that code holds in local variables while the arena may
  // compact a segment (an allocation in between); compaction rewrites them.
  static constexpr int kMaxPinned = 8;
  LineHandle* pinned[kMaxPinned];
  int pinnedCount;
};

// The instance of an editor window, or null for other windows and for an
// editor before WM_CREATE or after WM_DESTROY.
Instance* instanceOf(HWND hwnd);

// The number of the registered message "commdlg_FindReplace".
UINT findReplaceMessage();

// Keeps a local line handle valid across allocations for as long as it
// lives.
class PinnedHandle {
 public:
  PinnedHandle(Instance& inst, LineHandle& handle) : inst_(inst) {
    if (inst_.pinnedCount == Instance::kMaxPinned) std::abort();  // nested deeper than any caller does
    inst_.pinned[inst_.pinnedCount++] = &handle;
  }
  ~PinnedHandle() { --inst_.pinnedCount; }
  PinnedHandle(const PinnedHandle&) = delete;
  PinnedHandle& operator=(const PinnedHandle&) = delete;

 private:
  Instance& inst_;
};

// Every (line number, handle) pair that follows the text: caret, anchor,
// first visible line, bookmarks in use, the word scanner's line, the line
// looked up last.
template <typename F>
void forEachLineRef(Instance& inst, F&& visit) {
  visit(inst.text.caret);
  visit(inst.text.anchor);
  visit(inst.text.firstVisible);
  visit(inst.text.index.lastFound);
  for (int i = 0; i <= inst.bookmarkHigh && i < TIVRA_MAX_BOOKMARKS; ++i) visit(inst.bookmarks[i].at);
  if (inst.scanner.running) visit(inst.scanner.at);
}

// Every handle of a detached line chain that the window keeps (the saved
// lines of undo steps).
template <typename F>
void forEachSavedLine(Instance& inst, F&& visit) {
  for (int i = 0; i < inst.undoTotal; ++i) {
    if (inst.undoSteps[i].savedLines) visit(inst.undoSteps[i].savedLines);
  }
}

}  // namespace tivra
