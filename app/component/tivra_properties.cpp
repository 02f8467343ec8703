// TTivra: the properties, and what a new editor window is told.
#include "component/tivra_component.h"

#include "component/tivra_groups.h"
#include "component/tivra_syntax.h"
#include "qtext.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kControlId = 1000;
constexpr int kMaxSyntaxLength = 255;
constexpr int kMaxPrintJobName = 80;
constexpr int kKeptPrintJobName = 79;
constexpr int kMaxBookmarks = 256;
constexpr int kMaxTabStop = 40;
constexpr int kMaxRightMargin = 15;

int pixelsOf(TTivraSpaceStyle spacing) { return 2 * static_cast<int>(spacing); }

bool hasHorzBar(TTivraScrollStyle bars) {
  return bars == TTivraScrollStyle::lsHorizontal || bars == TTivraScrollStyle::lsBoth;
}
bool hasVertBar(TTivraScrollStyle bars) {
  return bars == TTivraScrollStyle::lsVertical || bars == TTivraScrollStyle::lsBoth;
}

}  // namespace

TTivra::TTivra(QWidget* parent)
    : TCustomTivra(parent),
      backColorSelected_(GetSysColor(COLOR_HIGHLIGHT)),
      foreColorSelected_(GetSysColor(COLOR_HIGHLIGHTTEXT)),
      fontColor_(GetSysColor(COLOR_WINDOWTEXT)),
      color_(GetSysColor(COLOR_WINDOW)) {
  backgroundBrush_ = CreateSolidBrush(color_);
}

TTivra::~TTivra() {
  // The editor goes while the events and fields it reaches still exist.
  DestroyEditor();
  EditorDestroyed();
  DeleteObject(backgroundBrush_);
  if (paintBitmap_) DeleteObject(paintBitmap_);
}

void TTivra::EditorDestroyed() {
  if (group_) leaveTivraGroup(group_);
  group_ = nullptr;
  // A file popup taken out of the context menu did not go with it.
  if (filePopup_ && !filePopupShown_) DestroyMenu(filePopup_);
  filePopup_ = functionsPopup_ = nullptr;
  filePopupShown_ = false;
}

// ---------------------------------------------------------------------------
// Creation

DWORD TTivra::CreationStyle() const {
  DWORD style = 0;
  if (hasFile_) style |= TS_FILECOMMANDS;
  if (canChangeFont_) style |= TS_FONTCOMMAND;
  if (canChangeFile_) style |= TS_NEWOPEN;
  if (highlight_) style |= TS_COLOURING;
  if (paintMode_ != TTivraPaintStyle::dsNone) style |= TS_PAINTNOTIFY;
  if (readOnly_) style |= TS_READONLY;
  style |= static_cast<DWORD>(pixelsOf(horzSpacing_)) << 11;
  style |= static_cast<DWORD>(pixelsOf(vertSpacing_)) << 13;
  if (hasHorzBar(scrollBars_)) style |= WS_HSCROLL;
  if (hasVertBar(scrollBars_)) style |= WS_VSCROLL;
  if (borderStyle_ == TBorderStyle::bsSingle && !ctl3D_) style |= WS_BORDER;
  if (tabStop_) style |= WS_TABSTOP;
  return style;
}

DWORD TTivra::CreationExStyle() const {
  return borderStyle_ == TBorderStyle::bsSingle && ctl3D_ ? WS_EX_CLIENTEDGE : 0;
}

void TTivra::WindowCreated() {
  Send(EM_SETHANDLE, kControlId, reinterpret_cast<LPARAM>(NotifyHandle()));
  // A new window's text is empty already; clearing it would mark it changed.
  if (!text_.empty()) setTextBytes(text_);
  text_.clear();
  if (!selText_.empty()) InsertBytes(selText_);
  selText_.clear();
  sendFileFilter();
  Send(EM_SETTABSTOPS, static_cast<WPARAM>(tabStopSize_));
  sendOption(TivraOption::DefaultSelection);
  sendOption(TivraOption::AutoIndent);
  joinGroup();
  sendUndoDepth();
  // Item2AsComment and ExtraComments are flags of the syntax message.
  sendSyntax();
  Send(TM_SETBOOKMARKCOUNT, static_cast<WPARAM>(bookmarksMax_));
  Send(TM_SETCARETWIDTH, static_cast<WPARAM>(caretWidth_));
  sendOption(TivraOption::CurrentWordAsText);
  SetSelection();
  Send(TM_SETINSERTMODE, insertMode_ ? 1 : 0);
  sendOption(TivraOption::MultiLineItems);
  sendOption(TivraOption::MultiLineStrings);
  sendOption(TivraOption::MacStyleSave);
  Send(EM_SETREADONLY, readOnly_ ? 1 : 0);
  sendOption(TivraOption::SingleLineStrings);
  sendOption(TivraOption::UnixStyleSave);
  sendWordWrap();
  sendOption(TivraOption::WrapKeys);
  sendInitialization();
  Send(TM_SETPAINTNOTIFY, paintMode_ != TTivraPaintStyle::dsNone ? 1 : 0);
  sendOption(TivraOption::StartInComments);
  // These settings are not in the style either; without this they would be
  // lost when set before the window exists.
  sendOption(TivraOption::NoPrintDialog);
  sendOption(TivraOption::NoPrintProgress);
  if (rightMargin_ != 0) sendLayout();
  keepMenus();
}

void TTivra::keepMenus() {
  HMENU context = reinterpret_cast<HMENU>(Send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU));
  const int count = context ? GetMenuItemCount(context) : 0;
  // The "&Filer" popup is there only when the window has file commands;
  // "F&unktioner" is always the last.
  filePopup_ = hasFile_ && count > 0 ? GetSubMenu(context, 0) : nullptr;
  functionsPopup_ = count > 0 ? GetSubMenu(context, count - 1) : nullptr;
  filePopupShown_ = filePopup_ != nullptr;
}

void TTivra::joinGroup() {
  if (groupNumber_ <= 0 || group_ || !HandleAllocated()) return;
  group_ = joinTivraGroup(groupNumber_, Handle());
}

// ---------------------------------------------------------------------------
// Sending settings

void TTivra::setOption(WORD bit, bool on) {
  options_ = static_cast<WORD>(on ? options_ | bit : options_ & ~bit);
  sendOption(bit);
}

void TTivra::sendOption(WORD bit) const {
  if (optionOn(bit))
    Send(TM_SETOPTIONS, bit, 0);
  else
    Send(TM_SETOPTIONS, 0, bit);
}

void TTivra::sendSyntax() const {
  const std::vector<std::uint16_t> items = morvel::syntaxItems(platform::toCp1252(syntax_));
  const WPARAM flags = (item2AsComment_ ? 1u : 0u) | (extraComments_ ? 2u : 0u);
  // Without a description the window keeps its built-in table.
  if (items.empty())
    Send(TM_SETSYNTAX, flags << 8, 0);
  else
    Send(TM_SETSYNTAX, items.size() | flags << 8, reinterpret_cast<LPARAM>(items.data()));
}

void TTivra::sendLayout() const {
  LPARAM layout = pixelsOf(horzSpacing_) | pixelsOf(vertSpacing_) << 4 | rightMargin_ << 8;
  if (hasHorzBar(scrollBars_)) layout |= TIVRA_LAYOUT_HSCROLL;
  if (hasVertBar(scrollBars_)) layout |= TIVRA_LAYOUT_VSCROLL;
  Send(TM_SETLAYOUT, 0, layout);
}

void TTivra::sendWordWrap() const {
  WPARAM flags = 0;
  if (wordWrap_) flags |= TIVRA_WRAP_ON;
  if (wordWrapWidth_ > 0) flags |= TIVRA_WRAP_FIXEDWIDTH;
  if (wordWrapAuto_) flags |= TIVRA_WRAP_AUTOBREAK;
  Send(TM_SETWORDWRAP, flags, wordWrapWidth_);
}

void TTivra::sendUndoDepth() {
  if (!HandleAllocated()) return;
  const int largest = static_cast<int>(Send(TM_GETMAXUNDODEPTH));
  const int depth = undoDepth_ < 0 || undoDepth_ > largest ? largest : undoDepth_;
  undoDepth_ = static_cast<int>(Send(TM_SETUNDODEPTH, static_cast<WPARAM>(depth)));
}

void TTivra::sendFileFilter() const {
  const std::string filter = morvel::windowFileFilter(platform::toCp1252(defaultExt_), platform::toCp1252(fileMask_));
  Send(TM_SETFILTER, 0, reinterpret_cast<LPARAM>(filter.c_str()));
}

// Loads what FileName names, as InitializeType isFile asks.
void TTivra::sendInitialization() {
  if (initializeType_ != TTivraInitStyle::isFile || !HandleAllocated()) return;
  if (fileName_ == QLatin1String("+")) {
    askAndLoadFile();
  } else if (fileName_.isEmpty()) {
    if (hasFile_)
      Send(WM_COMMAND, MAKEWPARAM(TCMD_NEW, 0), 0);
    else
      ClearAll();
  } else {
    LoadFile(fileName_);
  }
}

void TTivra::askAndLoadFile() {
  static const char filter[] = "All Files (*.*)\0*.*\0";
  char chosen[4096] = "";
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Handle();
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = chosen;
  ofn.nMaxFile = sizeof chosen;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileName(&ofn)) {
    fileName_.clear();
    return;
  }
  fileName_ = platform::fromCp1252(chosen);
  LoadFile(fileName_);
}

void TTivra::applyStyleBit(DWORD bit, bool on) {
  if (!HandleAllocated()) return;
  const DWORD style = static_cast<DWORD>(GetWindowLong(Handle(), GWL_STYLE));
  SetWindowLong(Handle(), GWL_STYLE, static_cast<LONG>(on ? style | bit : style & ~bit));
}

void TTivra::repaintEditor() const {
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
}

// ---------------------------------------------------------------------------
// Setters

void TTivra::setMultiLineStrings(bool on) {
  if (on && SingleLineStrings()) setOption(TivraOption::SingleLineStrings, false);
  setOption(TivraOption::MultiLineStrings, on);
}

void TTivra::setSingleLineStrings(bool on) {
  if (on && MultiLineStrings()) setOption(TivraOption::MultiLineStrings, false);
  setOption(TivraOption::SingleLineStrings, on);
}

void TTivra::setBorderStyle(TBorderStyle style) {
  borderStyle_ = style;
  applyStyleBit(WS_BORDER, (CreationStyle() & WS_BORDER) != 0);
  if (HandleAllocated()) SetWindowLong(Handle(), GWL_EXSTYLE, static_cast<LONG>(CreationExStyle()));
}

void TTivra::setCtl3D(bool on) {
  ctl3D_ = on;
  setBorderStyle(borderStyle_);
}

void TTivra::setTabStop(bool on) {
  tabStop_ = on;
  applyStyleBit(WS_TABSTOP, on);
}

void TTivra::setCanChangeFile(bool on) {
  if (on == canChangeFile_) return;
  canChangeFile_ = on;
  if (!HandleAllocated() || !filePopup_) return;
  if (on) {
    InsertMenu(filePopup_, 0, MF_BYPOSITION | MF_STRING, TCMD_OPEN, "&Open ...");
    InsertMenu(filePopup_, 0, MF_BYPOSITION | MF_STRING, TCMD_NEW, "&New");
  } else {
    DeleteMenu(filePopup_, TCMD_NEW, MF_BYCOMMAND);
    DeleteMenu(filePopup_, TCMD_OPEN, MF_BYCOMMAND);
  }
}

void TTivra::setCanChangeFont(bool on) {
  if (on == canChangeFont_) return;
  canChangeFont_ = on;
  if (!HandleAllocated() || !functionsPopup_) return;
  if (on) {
    InsertMenu(functionsPopup_, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenu(functionsPopup_, 0, MF_BYPOSITION | MF_STRING, TCMD_FONT, "Change &Font ...");
  } else if (GetMenuItemID(functionsPopup_, 0) == TCMD_FONT) {
    DeleteMenu(functionsPopup_, 0, MF_BYPOSITION);
    if (GetMenuItemID(functionsPopup_, 0) == 0) DeleteMenu(functionsPopup_, 0, MF_BYPOSITION);
  }
}

void TTivra::setHasFile(bool on) {
  hasFile_ = on;
  if (!HandleAllocated()) return;
  Send(TM_SETFILECOMMANDS, on ? 1 : 0);
  HMENU context = reinterpret_cast<HMENU>(Send(EM_GETHANDLE, TIVRA_HANDLE_CONTEXTMENU));
  if (!context || !filePopup_ || on == filePopupShown_) return;
  if (on)
    InsertMenu(context, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(filePopup_), "&File");
  else
    RemoveMenu(context, 0, MF_BYPOSITION);
  filePopupShown_ = on;
}

void TTivra::setHighlight(bool on) {
  highlight_ = on;
  Send(TM_SETCOLOURING, on ? 1 : 0);
}

void TTivra::setPaintMode(TTivraPaintStyle mode) {
  paintMode_ = mode;
  Send(TM_SETPAINTNOTIFY, mode != TTivraPaintStyle::dsNone ? 1 : 0);
}

void TTivra::setReadOnly(bool on) {
  readOnly_ = on;
  Send(EM_SETREADONLY, on ? 1 : 0);
}

void TTivra::setExtraHorzSpacing(TTivraSpaceStyle spacing) {
  horzSpacing_ = spacing;
  sendLayout();
}

void TTivra::setExtraVertSpacing(TTivraSpaceStyle spacing) {
  vertSpacing_ = spacing;
  sendLayout();
}

void TTivra::setScrollBars(TTivraScrollStyle bars) {
  scrollBars_ = bars;
  sendLayout();
}

void TTivra::setWordWrapRMargin(int pixels) {
  rightMargin_ = std::clamp(pixels, 0, kMaxRightMargin);
  sendLayout();
}

void TTivra::setBackColorSelected(COLORREF colour) {
  backColorSelected_ = colour;
  repaintEditor();
}

void TTivra::setForeColorSelected(COLORREF colour) {
  foreColorSelected_ = colour;
  repaintEditor();
}

void TTivra::setFontColor(COLORREF colour) {
  fontColor_ = colour;
  repaintEditor();
}

void TTivra::setColor(COLORREF colour) {
  color_ = colour;
  DeleteObject(backgroundBrush_);
  backgroundBrush_ = CreateSolidBrush(colour);
  repaintEditor();
}

void TTivra::setBookmarksMax(int count) {
  bookmarksMax_ = std::clamp(count, 1, kMaxBookmarks);
  Send(TM_SETBOOKMARKCOUNT, static_cast<WPARAM>(bookmarksMax_));
}

void TTivra::setCaretWidth(int width) {
  caretWidth_ = std::clamp(width, 0, 0xFFFF);
  Send(TM_SETCARETWIDTH, static_cast<WPARAM>(caretWidth_));
}

void TTivra::setDefaultExt(const QString& extension) {
  defaultExt_ = extension.toUpper().left(3);
  sendFileFilter();
}

void TTivra::setFileMask(const QString& mask) {
  fileMask_ = mask;
  sendFileFilter();
}

void TTivra::setFileName(const QString& name) {
  fileName_ = name;
  if (initializeType_ == TTivraInitStyle::isCustom) {
    if (Live()) raise(OnTimeToLoadText);
    return;
  }
  sendInitialization();
}

void TTivra::setInitializeType(TTivraInitStyle type) {
  const bool switchedToFile = type == TTivraInitStyle::isFile && initializeType_ != type;
  initializeType_ = type;
  if (switchedToFile && !fileName_.isEmpty()) sendInitialization();
}

void TTivra::setGroupNumber(int number) {
  groupNumber_ = number;
  joinGroup();
}

void TTivra::setInsertMode(bool on) {
  insertMode_ = on;
  Send(TM_SETINSERTMODE, on ? 1 : 0);
}

void TTivra::setExtraComments(bool on) {
  extraComments_ = on;
  sendSyntax();
}

void TTivra::setItem2AsComment(bool on) {
  item2AsComment_ = on;
  sendSyntax();
}

void TTivra::setSyntax(const QString& description) {
  syntax_ = description.left(kMaxSyntaxLength);
  sendSyntax();
}

void TTivra::setPrintJobName(const QString& name) {
  printJobName_ = name.size() > kMaxPrintJobName ? name.left(kKeptPrintJobName) : name;
  printJobNameBytes_ = platform::toCp1252(printJobName_);
}

void TTivra::setTabStopSize(int size) {
  tabStopSize_ = std::clamp(size, 1, kMaxTabStop);
  Send(EM_SETTABSTOPS, static_cast<WPARAM>(tabStopSize_));
}

void TTivra::setUndoDepth(int depth) {
  undoDepth_ = depth;
  sendUndoDepth();
}

void TTivra::setWordWrap(bool on) {
  wordWrap_ = on;
  sendWordWrap();
}

void TTivra::setWordWrapAuto(bool on) {
  wordWrapAuto_ = on;
  sendWordWrap();
}

void TTivra::setWordWrapWidth(int pixels) {
  wordWrapWidth_ = std::clamp(pixels, 0, 0xFFFF);
  sendWordWrap();
}

// ---------------------------------------------------------------------------
// Text and view

QString TTivra::Text() const { return platform::fromCp1252(TextBytes()); }

void TTivra::setText(const QString& text) { setTextBytes(platform::toCp1252(text)); }

std::string TTivra::TextBytes() const {
  if (!HandleAllocated()) return text_;
  return textWithLineEnds(TIVRA_TEXT_CRLF);
}

std::string TTivra::SavedTextBytes() const {
  if (!HandleAllocated()) return text_;
  return textWithLineEnds(TIVRA_TEXT_SAVED);
}

std::string TTivra::textWithLineEnds(WPARAM form) const {
  const LRESULT length = Send(TM_GETTEXTLENGTH, form);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  Send(TM_GETTEXT, form, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

int TTivra::LongLines() const { return static_cast<int>(Send(TM_GETLONGLINES)); }

void TTivra::setTextBytes(const std::string& text) {
  if (!HandleAllocated()) {
    text_ = text;
    return;
  }
  if (text.empty())
    Send(WM_CLEAR, 1);
  else
    Send(TM_SETTEXT, 1, reinterpret_cast<LPARAM>(text.c_str()));
}

int TTivra::FirstVisibleLine() const { return static_cast<int>(Send(EM_GETFIRSTVISIBLELINE)); }

void TTivra::setFirstVisibleLine(int line) { Send(TM_SETFIRSTVISIBLELINE, 0, line); }

int TTivra::FirstVisiblePos() const { return static_cast<int>(Send(TM_GETFIRSTVISIBLECOLUMN)); }

void TTivra::setFirstVisiblePos(int column) {
  Send(TM_SETFIRSTVISIBLECOLUMN, static_cast<WPARAM>(std::max(0, column)));
}

int TTivra::Skip() const { return static_cast<int>(Send(TM_GETFIRSTSUBLINE)); }

void TTivra::setSkip(int subLine) {
  Send(TM_SETFIRSTVISIBLELINE, static_cast<WPARAM>(std::max(0, subLine)), FirstVisibleLine());
}

void TTivra::setStartLine(int line) { range_.StartLine = std::max(1, line); }
void TTivra::setStartPos(int column) { range_.StartPos = static_cast<SHORT>(column); }
void TTivra::setEndLine(int line) { range_.EndLine = std::max(1, line); }
void TTivra::setEndPos(int column) { range_.EndPos = static_cast<SHORT>(column); }
