// The window class "Tivra32": registering the classes, creation and destruction of the instance, and the window
// procedure that answers every message or hands it to its place
// (entry_points.h).
#include "arena.h"
#include "ascii.h"
#include "entry_points.h"
#include "file_names.h"
#include "group.h"
#include "instance.h"
#include "menus.h"
#include "notify.h"
#include "text_messages.h"
#include "text_store.h"
#include "undo.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>

namespace tivra {

namespace {

constexpr char kEditorClass[] = "Tivra32";
constexpr char kGroupClass[] = "TivraGroup32";
constexpr char kUntitled[] = "<<Ikke navngivet>>";
constexpr char kDefaultFilter[] = "All files/*.*/";
constexpr LPARAM kFontMadeByWindow = 0x45F20000;

UINT g_findReplaceMessage = 0;

bool startsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

bool hasClass(HWND hwnd, const char* name) {
  char buffer[32];
  const int n = GetClassName(hwnd, buffer, sizeof buffer);
  if (n <= 0) return false;
  return ascii::equalIgnoringCase(std::string_view(buffer, static_cast<size_t>(n)), name);
}

void copyString(char* buffer, const std::string& text) { std::memcpy(buffer, text.c_str(), text.size() + 1); }

// ---------------------------------------------------------------------------
// Small settings messages

void setStyleBit(Instance& inst, DWORD bit, bool on) {
  if (on)
    inst.style |= bit;
  else
    inst.style &= ~bit;
}

// TM_SETFILTER: "EXT/description/mask/...", where "//" is a "/" inside a
// part. The extension is the first part (at most 3 characters).
LRESULT setFilter(Instance& inst, const char* text) {
  if (!text) return -1;
  std::string extension;
  const char* p = text;
  for (; *p; ++p) {
    if (*p == '/' && p[1] == '/') {
      extension += '/';
      ++p;
    } else if (*p == '/') {
      ++p;
      break;
    } else {
      extension += *p;
    }
  }
  if (extension.size() > 3) extension.resize(3);
  inst.file.defaultExtension = extension;
  inst.file.filter = p;
  return 0;
}

LRESULT copyFilter(Instance& inst, char* buffer) {
  if (!buffer) return -1;
  std::string text;
  for (char c : inst.file.defaultExtension) text += c == '/' ? std::string("//") : std::string(1, c);
  copyString(buffer, text + "/" + inst.file.filter);
  return 0;
}

LRESULT copyFileName(Instance& inst, char* buffer) {
  if (!buffer) return -1;
  if (!(inst.style & TS_FILECOMMANDS))
    buffer[0] = 0;
  else
    copyString(buffer, inst.file.hasName ? inst.file.name : std::string(kUntitled));
  return 0;
}

LRESULT setInsertMode(Instance& inst, WPARAM mode) {
  const bool overwrite = mode == 0 ? true : mode == 1 ? false : !inst.overwriteMode;
  if (overwrite == inst.overwriteMode) return 0;
  inst.overwriteMode = overwrite;
  notifyParent(inst, overwrite ? TN_OVERWRITEMODE : TN_INSERTMODE);
  return 0;
}

LRESULT getModify(Instance& inst, WPARAM bit) {
  const bool differs = lineBufferDiffers(inst);
  if (bit == 0) return differs || (inst.modified & 1) ? 1 : 0;
  if (bit == 1) return (inst.modified & 2) ? 1 : 0;
  if (differs) return 1;
  return bit < 16 && (inst.modified & (1u << bit)) ? 1 : 0;
}

LRESULT setModify(Instance& inst, WPARAM flag, LPARAM bitParam) {
  const int bit = static_cast<int>(bitParam & 15);
  if (bit < 2) return -1;
  if (flag)
    inst.modified = static_cast<WORD>(inst.modified | (1u << bit));
  else
    inst.modified = static_cast<WORD>(inst.modified & ~(1u << bit));
  return 0;
}

LRESULT getHandle(Instance& inst, WPARAM which) {
  switch (which) {
    case TIVRA_HANDLE_NOTIFY:
      return reinterpret_cast<LRESULT>(inst.notifyWindow);
    case TIVRA_HANDLE_MENUBAR:
      return reinterpret_cast<LRESULT>(inst.menus.menuBar);
    case TIVRA_HANDLE_CONTEXTMENU:
      return reinterpret_cast<LRESULT>(inst.menus.contextMenu);
    case TIVRA_HANDLE_CONTROLID:
      return inst.controlId;
    case TIVRA_HANDLE_GROUP:
      return reinterpret_cast<LRESULT>(inst.group);
    default:
      return 0;
  }
}

LRESULT setLayout(Instance& inst, LPARAM layout) {
  Layout& l = inst.layout;
  l.extraHorzSpacing = static_cast<int>(layout & 0xF);
  l.extraVertSpacing = static_cast<int>((layout >> 4) & 0xF);
  l.rightMargin = static_cast<int>((layout >> 8) & 0xF);
  l.horzScrollBar = (layout & TIVRA_LAYOUT_HSCROLL) != 0;
  l.vertScrollBar = (layout & TIVRA_LAYOUT_VSCROLL) != 0;
  setStyleBit(inst, WS_HSCROLL, l.horzScrollBar);
  setStyleBit(inst, WS_VSCROLL, l.vertScrollBar);
  ShowScrollBar(inst.window, SB_HORZ, l.horzScrollBar);
  ShowScrollBar(inst.window, SB_VERT, l.vertScrollBar);
  layoutChanged(inst);
  return 0;
}

LRESULT getLayout(const Instance& inst) {
  const Layout& l = inst.layout;
  const int low = (l.extraHorzSpacing & 0xF) | ((l.extraVertSpacing & 0xF) << 4) | ((l.rightMargin & 0xF) << 8);
  const int bars = (l.horzScrollBar ? 1 : 0) | (l.vertScrollBar ? 2 : 0);
  return MAKELONG(low, bars);
}

LRESULT setFindText(Instance& inst, WPARAM which, const char* text) {
  if (!text || inst.search.findDialog) return -1;
  char* dest = which == 0 ? inst.search.findText : inst.search.replaceText;
  const size_t length = std::min<size_t>(std::strlen(text), TIVRA_MAX_FIND_TEXT);
  std::memcpy(dest, text, length);
  dest[length] = 0;
  if (which == 0) inst.search.findTextPresent = length > 0;
  return 0;
}

LRESULT copyFindText(Instance& inst, WPARAM which, char* buffer) {
  if (!buffer) return -1;
  const char* text = which == 0 ? inst.search.findText : inst.search.replaceText;
  std::memcpy(buffer, text, std::strlen(text) + 1);
  return 0;
}

LRESULT setDialogPosition(Instance& inst, WPARAM which, LPARAM position, bool onlyWithoutFindDialog) {
  if (which < 1 || which >= kDialogPositions) return -1;
  if (onlyWithoutFindDialog && which == 1 && inst.search.findDialog) return -1;
  inst.dialogPositions[which] = static_cast<LONG>(position);
  return 0;
}

LRESULT screenCentre(LPARAM out) {
  if (!out) return 0;
  const DWORD centre =
      static_cast<DWORD>(MAKELONG(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2));
  std::memcpy(reinterpret_cast<void*>(out), &centre, sizeof centre);
  return 1;
}

// WM_GETTEXT and WM_GETTEXTLENGTH read the text with wParam 1 (else they
// are about the caption); their private twins also with 2, the line ends
// of saving.
bool readsText(UINT msg, WPARAM wParam) {
  return wParam == TIVRA_TEXT_CRLF || (wParam == TIVRA_TEXT_SAVED && (msg == TM_GETTEXT || msg == TM_GETTEXTLENGTH));
}

LRESULT joinGroup(Instance& inst, HWND group) {
  if (!groupInstanceOf(group)) return -1;
  return SendMessage(group, TM_JOINGROUP, reinterpret_cast<WPARAM>(inst.window), 0);
}

LRESULT onCommand(Instance& inst, UINT id) {
  switch (id) {
    case TCMD_NEW:
    case TCMD_OPEN:
    case TCMD_REVERT:
    case TCMD_SAVE:
    case TCMD_SAVEAS:
      return fileCommand(inst, id);
    case TCMD_PRINT:
    case TCMD_PRINTSETUP:
      return printCommand(inst, id);
    case TCMD_SELECTALL:
      return selectAll(inst);
    case TCMD_FONT:
      return fontCommand(inst);
    case TCMD_EMPTYUNDO:
    case TCMD_CLEARALL:
      return editingCommand(inst, id);
    default:
      break;
  }
  if (id >= TCMD_UNDO && id <= TCMD_DUPLICATE) return editingCommand(inst, id);
  if (id >= TCMD_FIND && id <= TCMD_SETBOOKMARK) return searchCommand(inst, id);
  return 0;
}

// ---------------------------------------------------------------------------
// Creation and destruction

void setDefaults(Instance& inst) {
  inst.layout.tabSize = 8;
  inst.layout.visibleLines = 1;
  inst.bookmarkHigh = 15;
  for (Bookmark& b : inst.bookmarks) b = Bookmark{LineRef{}, kBookmarkForeground, kBookmarkBackground, 0};
  inst.undoDepth = TIVRA_MAX_UNDO;
  for (LONG& p : inst.dialogPositions) p = kDefaultDialogPosition;
  inst.file.filter = kDefaultFilter;
  std::error_code error;
  inst.file.dialogFolder = windowsName(std::filesystem::current_path(error));
  inst.layout.extraHorzSpacing = static_cast<int>((inst.style >> 11) & 6);
  inst.layout.extraVertSpacing = static_cast<int>((inst.style >> 13) & 6);
  inst.layout.horzScrollBar = inst.style & WS_HSCROLL;
  inst.layout.vertScrollBar = inst.style & WS_VSCROLL;
}

void loadInitialText(Instance& inst, const CREATESTRUCT& cs) {
  const char* initial = (inst.style & TS_TEXTFROMPARAM) ? static_cast<const char*>(cs.lpCreateParams) : cs.lpszName;
  if (!initial || !*initial) return;
  if (inst.style & TS_FILECOMMANDS) {
    if (startsWith(initial, TIVRA_ASK_USER_PREFIX))
      askUserAndLoad(inst, initial + std::strlen(TIVRA_ASK_USER_PREFIX));
    else
      loadFile(inst, initial, true);
  } else if (startsWith(initial, TIVRA_FILE_INIT_PREFIX)) {
    loadFile(inst, initial + std::strlen(TIVRA_FILE_INIT_PREFIX), false);
  } else {
    setWholeText(inst, initial);
  }
  emptyUndoBuffer(inst);
}

void freeInstance(HWND hwnd, Instance* inst) {
  SetWindowLongPtr(hwnd, 0, 0);
  delete inst;
}

LRESULT onCreate(HWND hwnd, const CREATESTRUCT* cs) {
  const bool child = cs->style & WS_CHILD;
  HWND notify = cs->hwndParent;
  if (notify && hasClass(notify, "MDICLIENT")) notify = GetParent(notify);
  const int id = child ? static_cast<int>(reinterpret_cast<intptr_t>(cs->hMenu)) : 1000;

  auto* inst = new (std::nothrow) Instance{};
  if (!inst) {
    if (notify) SendMessage(notify, WM_COMMAND, MAKEWPARAM(id, TN_ERRSPACE), reinterpret_cast<LPARAM>(hwnd));
    return -1;
  }
  inst->window = hwnd;
  inst->notifyWindow = notify;
  inst->controlId = id;
  inst->style = static_cast<DWORD>(cs->style);
  inst->creating = true;
  SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(inst));
  setDefaults(*inst);
  createMenus(*inst, child);
  if (!commitFirstSegment(*inst)) {
    reportOutOfMemory(*inst);
    destroyMenus(*inst);
    freeInstance(hwnd, inst);
    return -1;
  }
  clearText(*inst);
  initDisplay(*inst);
  loadInitialText(*inst, *cs);
  inst->modified = 2;
  setSyntax(*inst, 0, nullptr);
  notifyParent(*inst, TN_CREATED);
  notifyParent(*inst, TN_NEWTEXT);
  inst->creating = false;
  return 0;
}

LRESULT onDestroy(HWND hwnd, Instance* inst) {
  notifyParent(*inst, TN_DESTROYING);
  destroyFindDialog(*inst);
  if (inst->group) groupMemberLeaving(inst->group, hwnd);
  destroyDisplay(*inst);
  destroyMenus(*inst);
  releasePrinterSetup(*inst);
  releaseSegments(*inst);
  freeInstance(hwnd, inst);
  return 0;
}

// ---------------------------------------------------------------------------
// The window procedure

LRESULT dispatch(Instance& inst, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* text = reinterpret_cast<const char*>(lParam);
  auto* buffer = reinterpret_cast<char*>(lParam);
  auto* range = reinterpret_cast<TivraRange*>(lParam);
  switch (msg) {
    case WM_DESTROY:
      return onDestroy(hwnd, &inst);
    case WM_SIZE:
      onSize(inst, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFOCUS:
      onFocusChange(inst, true);
      if (inst.group) groupMemberFocused(inst.group, hwnd);
      notifyParent(inst, TN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      onFocusChange(inst, false);
      notifyParent(inst, TN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      enableFindDialog(inst, wParam != 0);
      if (inst.group) groupEnableMembers(inst.group, wParam != 0);
      return 0;
    case WM_PAINT:
      return onPaint(inst);
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      return setFont(inst, reinterpret_cast<HFONT>(wParam), lParam == kFontMadeByWindow);
    case WM_GETDLGCODE:
      return wParam == VK_TAB && (GetWindowLong(hwnd, GWL_STYLE) & WS_TABSTOP) ? 0x81 : 0x87;
    case WM_CLOSE:
      if (queryClose(inst)) DestroyWindow(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
    case TM_QUERYCLOSE:
      return queryClose(inst);

    case WM_SETTEXT:
    case TM_SETTEXT:
      if (wParam != 1) return DefWindowProc(hwnd, WM_SETTEXT, wParam, lParam);
      return setWholeText(inst, text);
    case WM_GETTEXT:
    case TM_GETTEXT:
      if (!readsText(msg, wParam)) return DefWindowProc(hwnd, WM_GETTEXT, wParam, lParam);
      return copyWholeText(inst, buffer, wParam);
    case WM_GETTEXTLENGTH:
    case TM_GETTEXTLENGTH:
      if (!readsText(msg, wParam)) return DefWindowProc(hwnd, WM_GETTEXTLENGTH, wParam, lParam);
      return wholeTextLength(inst, wParam);
    case TM_GETLONGLINES:
      return inst.text.longLinesLoaded;

    case EM_GETSEL:
    case TM_GETSEL:
      return getSelection(inst, range);
    case EM_SETSEL:
    case TM_SETSEL:
      return setSelectionMessage(inst, range);
    case TM_GETSELLENGTH:
      return selectionLength(inst);
    case TM_GETSELTEXT:
      return copySelection(inst, buffer);
    case EM_REPLACESEL:
    case TM_REPLACESEL:
      return replaceSelection(inst, text);
    case WM_CLEAR:
      return clearMessage(inst, wParam);
    case EM_GETLINECOUNT:
    case TM_GETLINECOUNT:
      return inst.text.lineCount;
    case EM_LINELENGTH:
    case TM_LINELENGTH:
      return lineLengthMessage(inst, wParam, lParam);
    case EM_GETLINE:
    case TM_GETLINE:
      return getLine(inst, wParam, buffer);

    case TM_LOADFILE:
      return loadFileMessage(inst, text);
    case TM_SAVEFILEAS:
      return saveFileAs(inst, text);
    case TM_SETFILTER:
      return setFilter(inst, text);
    case TM_GETFILTER:
      return copyFilter(inst, buffer);
    case TM_GETFILENAME:
      return copyFileName(inst, buffer);
    case TM_SETFILECOMMANDS:
      setStyleBit(inst, TS_FILECOMMANDS, wParam != 0);
      if (!wParam) {
        inst.file.hasName = false;
        inst.file.name.clear();
        inst.file.nativeName.clear();
      }
      return 0;

    case TM_SETINSERTMODE:
      return setInsertMode(inst, wParam);
    case EM_GETMODIFY:
    case TM_GETMODIFY:
      return getModify(inst, wParam);
    case EM_SETMODIFY:
    case TM_SETMODIFY:
      return setModify(inst, wParam, lParam);
    case EM_SETREADONLY:
    case TM_SETREADONLY:
      setStyleBit(inst, TS_READONLY, wParam != 0);
      return 0;
    case TM_SETOPTIONS:
      if (wParam)
        inst.options = static_cast<WORD>(inst.options | LOWORD(wParam));
      else
        inst.options = static_cast<WORD>(inst.options & ~LOWORD(lParam));
      layoutChanged(inst);
      return 0;
    case EM_SETTABSTOPS:
    case TM_SETTABSIZE:
      if (wParam >= 1 && wParam <= 40) {
        inst.layout.tabSize = static_cast<int>(wParam);
        layoutChanged(inst);
      }
      return 0;

    case EM_SETHANDLE:
    case TM_SETNOTIFY:
      inst.notifyWindow = reinterpret_cast<HWND>(lParam);
      if (wParam) inst.controlId = static_cast<int>(wParam);
      return 0;
    case EM_GETHANDLE:
    case TM_GETHANDLE:
      return getHandle(inst, wParam);
    case TM_IDENTIFY:
      return lParam + 1;
    case TM_JOINGROUP:
      return joinGroup(inst, reinterpret_cast<HWND>(wParam));
    case TM_SCREENCENTRE:
      return screenCentre(lParam);

    case EM_CANUNDO:
    case TM_CANUNDO:
      return (wParam == 1 ? canRedo(inst) : canUndo(inst)) ? 1 : 0;
    case EM_UNDO:
    case WM_UNDO:
    case TM_UNDO:
      return undoOrRedo(inst, msg == WM_UNDO ? 0 : wParam);
    case EM_EMPTYUNDOBUFFER:
    case TM_EMPTYUNDOBUFFER:
      emptyUndoBuffer(inst);
      return 0;
    case TM_SETUNDODEPTH:
      return setUndoDepth(inst, static_cast<long>(wParam));
    case TM_GETMAXUNDODEPTH:
      return TIVRA_MAX_UNDO;

    case TM_SETBOOKMARK:
      return setBookmark(inst, wParam, lParam);
    case TM_GETBOOKMARK:
      return getBookmark(inst, wParam);
    case TM_SETBOOKMARKLOOK:
      return setBookmarkLook(inst, wParam, lParam);
    case TM_SETBOOKMARKCOUNT:
      return setBookmarkCount(inst, wParam);

    case TM_SETFINDTEXT:
      return setFindText(inst, wParam, text);
    case TM_GETFINDTEXT:
      return copyFindText(inst, wParam, buffer);
    case TM_SETFINDOPTIONS:
      if (inst.search.findDialog) return -1;
      inst.search.options = static_cast<WORD>(lParam & 0xF);
      return 0;
    case TM_GETFINDOPTIONS:
      return inst.search.options;
    case TM_HASFINDTEXT:
      return inst.search.findTextPresent ? 1 : 0;
    case TM_FIND:
      return findMessage(inst, wParam, range);
    case TM_SETDIALOGPOS:
      return setDialogPosition(inst, wParam, lParam, false);
    case TM_SETFINDDIALOGPOS:
      return setDialogPosition(inst, wParam, lParam, true);

    case TM_COMMANDSTATE:
      return commandAvailable(inst, static_cast<UINT>(wParam)) ? 1 : 0;
    case TM_SETMENUSTATES: {
      auto menu = reinterpret_cast<HMENU>(wParam);
      applyCommandStates(inst, menu);
      for (UINT id = TCMD_PROGRAM_FIRST; id <= TCMD_PROGRAM_LAST; ++id)
        EnableMenuItem(menu, id, MF_BYCOMMAND | MF_ENABLED);
      return 0;
    }
    case WM_INITMENUPOPUP:
      applyCommandStates(inst, reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_COMMAND:
      return onCommand(inst, LOWORD(wParam));

    case TM_GETFIRSTVISIBLECOLUMN:
      return inst.layout.horzScrollPos / std::max(1, inst.font.averageCharWidth);
    case EM_GETFIRSTVISIBLELINE:
    case TM_GETFIRSTVISIBLELINE:
      return inst.text.firstVisible.line;
    case TM_GETCHARMETRICS:
      return MAKELONG(inst.font.averageCharWidth, inst.font.lineHeight);
    case TM_SETLOGFONT:
      return setLogFont(inst, reinterpret_cast<const LOGFONT*>(lParam));
    case TM_GETLOGFONT:
      if (!lParam) return -1;
      std::memcpy(reinterpret_cast<LOGFONT*>(lParam), &inst.font.logFont, sizeof(LOGFONT));
      return 0;
    case TM_SETLAYOUT:
      return setLayout(inst, lParam);
    case TM_GETLAYOUT:
      return getLayout(inst);
    case TM_SETCOLOURING:
      setStyleBit(inst, TS_COLOURING, wParam != 0);
      layoutChanged(inst);
      return 0;
    case TM_SETPAINTNOTIFY:
      setStyleBit(inst, TS_PAINTNOTIFY, wParam != 0);
      layoutChanged(inst);
      return 0;
    case TM_SETSYNTAX:
      return setSyntax(inst, wParam, reinterpret_cast<const WORD*>(lParam));
    case TM_SCANSTART:
    case TM_SCANNEXT:
    case TM_SCANNEXTLINE:
    case TM_SCANRESTOFLINE:
    case TM_SCANTOKENRANGE:
    case TM_TOKENATCARET:
      return wordScannerMessage(inst, msg, wParam, lParam);
    case WM_HSCROLL:
    case TM_HSCROLL:
      return onScroll(inst, false, wParam, lParam);
    case WM_VSCROLL:
    case TM_VSCROLL:
      return onScroll(inst, true, wParam, lParam);
    case WM_MOUSEWHEEL:
      return onMouseWheel(inst, wParam, lParam);
    case TM_SETWORDWRAP:
      return setWordWrap(inst, wParam, lParam);
    case TM_PAINTLINES:
      return paintLines(inst, reinterpret_cast<HDC>(wParam), lParam);
    case TM_SETCARETWIDTH:
      return setCaretWidth(inst, static_cast<int>(wParam));
    case TM_SETFIRSTVISIBLELINE:
    case TM_SETFIRSTVISIBLECOLUMN:
    case TM_GETFIRSTSUBLINE:
    case TM_GETSUBLINE:
    case TM_SUBLINELENGTH:
    case TM_SUBLINECOUNT:
    case TM_POSFROMPOINT:
      return viewMessage(inst, msg, wParam, lParam);

    case WM_KEYDOWN:
      return onKeyDown(inst, wParam, lParam);
    case WM_CHAR:
      return onChar(inst, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
      return onMouse(inst, msg, wParam, lParam);
    case TM_MOUSEUP:
      return onMouse(inst, WM_LBUTTONUP, wParam, lParam);
    case WM_TIMER:
      return onTimer(inst, wParam);
    case WM_CUT:
      return onCut(inst);
    case WM_COPY:
      return onCopy(inst);
    case WM_PASTE:
      return onPaste(inst);
    default:
      return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK editorWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return onCreate(hwnd, reinterpret_cast<const CREATESTRUCT*>(lParam));
  auto* inst = reinterpret_cast<Instance*>(GetWindowLongPtr(hwnd, 0));
  if (!inst) return DefWindowProc(hwnd, msg, wParam, lParam);
  if (msg == g_findReplaceMessage && msg != 0) return findReplaceDialogMessage(*inst, wParam, lParam);
  return dispatch(*inst, hwnd, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The classes

void registerClasses() {
  WNDCLASS wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
  wc.lpfnWndProc = editorWindowProc;
  wc.cbWndExtra = sizeof(Instance*);
  wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.lpszClassName = kEditorClass;
  RegisterClass(&wc);

  wc.lpfnWndProc = groupWindowProc;
  wc.cbWndExtra = sizeof(GroupInstance*);
  wc.hIcon = nullptr;
  wc.lpszClassName = kGroupClass;
  RegisterClass(&wc);
}

bool g_registered = false;

// At the end of the process. The arena stays while an editor window is
// left (one that a static object still owns): it may yet be destroyed.
void unregisterClasses() {
  unregisterPrintingClass();
  UnregisterClass(kGroupClass, nullptr);
  if (UnregisterClass(kEditorClass, nullptr)) releaseArena();
  g_registered = false;
}

}  // namespace

Instance* instanceOf(HWND hwnd) {
  if (!hwnd || !hasClass(hwnd, kEditorClass)) return nullptr;
  return reinterpret_cast<Instance*>(GetWindowLongPtr(hwnd, 0));
}

UINT findReplaceMessage() { return g_findReplaceMessage; }

}  // namespace tivra

extern "C" TIVRA_EXPORT BOOL TivraRegister() {
  using namespace tivra;
  if (g_registered) return TRUE;
  if (!reserveArena()) return FALSE;
  g_findReplaceMessage = RegisterWindowMessage(TIVRA_FINDREPLACE_MESSAGE);
  registerClasses();
  registerPrintingClass();
  g_registered = true;
  std::atexit(unregisterClasses);
  return TRUE;
}

extern "C" TIVRA_EXPORT LONG TivraVer() { return TIVRA_VERSION; }
