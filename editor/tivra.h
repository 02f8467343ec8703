// The editor control of libtivra32: a window class "Tivra32" driven by
// window messages, and the library's two exports.
//
// A program creates a window of class "Tivra32" (CreateWindowEx), makes
// itself the notify window (TM_SETNOTIFY) and from then on talks to the
// editor only with the messages below. Text crosses the boundary as
// zero-terminated Windows-1252 strings with CR LF between lines; the caller
// owns every buffer it passes, and the editor copies what it keeps.
//
// Results: 0 for done and -1 for refused, unless a message says otherwise;
// counts and lengths are returned directly.
//
// Before its first editor window a program calls TivraRegister(), which
// registers the window classes; nothing happens when the library is merely
// loaded.
#pragma once

#include "win32.h"

// ---------------------------------------------------------------------------
// Records

// A selection or span: columns are byte offsets into a line (from 0), lines
// are counted from 1.
struct TivraRange {
  SHORT StartPos;
  SHORT EndPos;
  LONG StartLine;
  LONG EndLine;
};

// One token of the word scanner and of colouring.
constexpr int TIVRA_MAX_TOKEN = 1024;  // WordStr holds at most 1023 characters
struct TivraToken {
  HWND Window;     // the editor window that sends the token
  WORD WordType;   // TIVRA_TOKEN_* below
  LONG WordValue;  // delimiter: MAKELONG(column, item); string or comment:
                   // MAKELONG(column, scanner kind); word: its column, or
                   // its value when WordType has TIVRA_WORD_HASVALUE
  char WordStr[TIVRA_MAX_TOKEN];
};

constexpr WORD TIVRA_TOKEN_NONE = 0x0000;       // end of line, or a token of 1024 characters or more
constexpr WORD TIVRA_TOKEN_DELIMITER = 0x8000;  // an item of the syntax table
constexpr WORD TIVRA_TOKEN_WORD = 0x0001;       // plus the number bits below
constexpr WORD TIVRA_TOKEN_STRING = 0x2001;     // string or comment (scanner kinds 0 and 1)
constexpr WORD TIVRA_TOKEN_STRING_STATE = 0x6001;
constexpr WORD TIVRA_WORD_NUMBER = 0x0002;    // starts like a number
constexpr WORD TIVRA_WORD_HASVALUE = 0x0004;  // WordValue holds the integer value
constexpr WORD TIVRA_WORD_HEX = 0x0008;       // "0x" or "0X" prefix
constexpr WORD TIVRA_WORD_FRACTION = 0x0400;  // a decimal fraction: "12.5"
constexpr WORD TIVRA_WORD_EXPONENT = 0x0800;  // an exponent: "1e5", "2.5E-3"
constexpr WORD TIVRA_WORD_SUFFIX = 0x1000;    // letters or signs follow the number: "12px", "0x1G"

// ---------------------------------------------------------------------------
// Limits

constexpr int TIVRA_MAX_LINE = 8192;           // typing and joining stop here
constexpr int TIVRA_MAX_INSERTED_LINE = 8193;  // inserted text is cut into pieces of this length
// TM_GETLINE, TM_GETSUBLINE and TM_SCANRESTOFLINE buffers must hold this
// many bytes, and no more is written: a line of 8193 characters fills the
// buffer without a terminator (TM_GETLINE and TM_GETSUBLINE return the
// length; TM_SCANRESTOFLINE's rest is as long as the line's length less
// the scan's column).
constexpr int TIVRA_LINE_BUFFER = 8193;
constexpr int TIVRA_MAX_UNDO = 909;
constexpr int TIVRA_MAX_BOOKMARKS = 256;
constexpr int TIVRA_MAX_FIND_TEXT = 127;
constexpr LONG TIVRA_VERSION = 209;

// ---------------------------------------------------------------------------
// Window style bits, read at creation (low word, with WS_HSCROLL/WS_VSCROLL)

constexpr DWORD TS_FILECOMMANDS = 0x0001;  // "&Filer" menu; the window may hold a file name
constexpr DWORD TS_MENUBAR = 0x0002;       // append the menus to the window's menu bar
constexpr DWORD TS_NOCONTEXTMENU = 0x0004;
constexpr DWORD TS_FONTCOMMAND = 0x0008;    // "&Skrifttyper..." present
constexpr DWORD TS_NEWOPEN = 0x0010;        // "&Ny" and "&Åben ..." present
constexpr DWORD TS_NAMECAPTION = 0x0020;    // with TS_FILECOMMANDS: caption shows the file name
constexpr DWORD TS_TEXTFROMPARAM = 0x0100;  // initial text from the creation parameter
constexpr DWORD TS_COLOURING = 0x0200;
constexpr DWORD TS_PAINTNOTIFY = 0x0400;
constexpr DWORD TS_READONLY = 0x0800;
constexpr DWORD TS_HSPACING = 0x3000;  // (style >> 11) & 6 = 0, 2, 4 or 6 pixels
constexpr DWORD TS_VSPACING = 0xC000;  // (style >> 13) & 6 = 0, 2, 4 or 6 pixels

// Initial texts with a meaning of their own
#define TIVRA_ASK_USER_PREFIX "Tivra-Ask-User-"    // with TS_FILECOMMANDS: open dialog, rest = suggested name
#define TIVRA_FILE_INIT_PREFIX "Tivra-File-Init-"  // without TS_FILECOMMANDS: load the file as an unnamed text

// ---------------------------------------------------------------------------
// Option bits (TM_SETOPTIONS), named as the program's properties

namespace TivraOption {
constexpr WORD DefaultSelection = 0x0001;
constexpr WORD AutoIndent = 0x0002;
constexpr WORD MultiLineItems = 0x0004;
constexpr WORD CurrentWordAsText = 0x0008;
constexpr WORD UnixStyleSave = 0x0010;
constexpr WORD PaintBitmap = 0x0040;  // takes part in painting with a notification bitmap
constexpr WORD MacStyleSave = 0x0080;
constexpr WORD StartInComments = 0x0100;
constexpr WORD SingleLineStrings = 0x0200;
constexpr WORD MultiLineStrings = 0x0400;
constexpr WORD NoPrintDialog = 0x0800;
constexpr WORD NoPrintProgress = 0x1000;
constexpr WORD WrapKeys = 0x2000;
constexpr WORD NoExternalLeading = 0x4000;  // leading left out of the line height
}  // namespace TivraOption

// ---------------------------------------------------------------------------
// Messages the window answers. Standard edit messages (EM_GETSEL, ...) and
// WM_SETTEXT/WM_GETTEXT/WM_GETTEXTLENGTH/WM_UNDO behave as their twins here.

constexpr UINT TM_GETSEL = WM_USER + 0;         // lParam TivraRange*: start = anchor, end = caret (not ordered)
constexpr UINT TM_SETSEL = WM_USER + 1;         // lParam TivraRange*: clamped to the text
constexpr UINT TM_GETSELLENGTH = WM_USER + 2;   // -> length of the selected text
constexpr UINT TM_GETSELTEXT = WM_USER + 3;     // lParam buffer (TM_GETSELLENGTH + 1 bytes)
constexpr UINT TM_LOADFILE = WM_USER + 4;       // lParam name -> 0 / -1
constexpr UINT TM_SAVEFILEAS = WM_USER + 5;     // lParam name -> 0 ok / 1 failed
constexpr UINT TM_SETFILTER = WM_USER + 6;      // lParam "EXT/description/mask/..." ("//" = "/")
constexpr UINT TM_SETINSERTMODE = WM_USER + 7;  // wParam 0 overwrite, 1 insert, other toggle
constexpr UINT TM_GETMODIFY = WM_USER + 8;      // wParam bit index -> 0/1
constexpr UINT TM_SETMODIFY = WM_USER + 9;      // wParam flag, lParam bit index (>= 2) -> 0 / -1
constexpr UINT TM_GETLINECOUNT = WM_USER + 10;
constexpr UINT TM_SETLOGFONT = WM_USER + 11;  // lParam LOGFONT*
constexpr UINT TM_SETNOTIFY = WM_USER + 12;   // lParam notify window; nonzero wParam = control id
constexpr UINT TM_GETHANDLE = WM_USER + 13;   // wParam TIVRA_HANDLE_*
constexpr UINT TM_GETFIRSTVISIBLECOLUMN = WM_USER + 14;
constexpr UINT TM_GETFILENAME = WM_USER + 15;  // lParam buffer
constexpr UINT TM_GETLOGFONT = WM_USER + 16;   // lParam LOGFONT*
constexpr UINT TM_LINELENGTH = WM_USER + 17;   // lParam line (or wParam when lParam = 0) -> length / -1
constexpr UINT TM_REPLACESEL = WM_USER + 18;   // lParam text -> 0 / -1
constexpr UINT TM_GETLINE = WM_USER + 20;      // wParam line (0: first 32 bits of the buffer) -> length
constexpr UINT TM_CANUNDO = WM_USER + 22;      // wParam 0 undo, 1 redo -> 0/1
constexpr UINT TM_UNDO = WM_USER + 23;         // wParam 0 undo, 1 redo -> 0 / -1
constexpr UINT TM_HASFINDTEXT = WM_USER + 24;
constexpr UINT TM_GETCHARMETRICS = WM_USER + 25;  // -> MAKELONG(average character width, line height)
constexpr UINT TM_SETMENUSTATES = WM_USER + 26;   // wParam menu
constexpr UINT TM_SETTABSIZE = WM_USER + 27;      // wParam 1...40
constexpr UINT TM_SETSYNTAX = WM_USER + 28;       // wParam count + flags * 256, lParam WORD items (0: built-in)
constexpr UINT TM_EMPTYUNDOBUFFER = WM_USER + 29;
constexpr UINT TM_GETFIRSTVISIBLELINE = WM_USER + 30;
constexpr UINT TM_SETREADONLY = WM_USER + 31;      // wParam flag
constexpr UINT TM_SETUNDODEPTH = WM_USER + 32;     // wParam depth -> the depth set (1...909)
constexpr UINT TM_GETMAXUNDODEPTH = WM_USER + 33;  // -> 909
constexpr UINT TM_SCANSTART = WM_USER + 35;
constexpr UINT TM_SCANNEXT = WM_USER + 36;  // wParam nonzero: go on across lines; lParam TivraToken*
constexpr UINT TM_SCANNEXTLINE = WM_USER + 37;
constexpr UINT TM_SCANRESTOFLINE = WM_USER + 38;   // lParam buffer of TIVRA_LINE_BUFFER bytes (as TM_GETLINE)
constexpr UINT TM_SCANTOKENRANGE = WM_USER + 39;   // lParam TivraRange*
constexpr UINT TM_TOKENATCARET = WM_USER + 40;     // lParam TivraToken* -> 0 found, 4 none
constexpr UINT TM_QUERYCLOSE = WM_USER + 41;       // -> nonzero: may close
constexpr UINT TM_IDENTIFY = WM_USER + 42;         // lParam n -> n + 1
constexpr UINT TM_SETOPTIONS = WM_USER + 43;       // wParam bits to set; wParam 0: clears the bits of LOWORD(lParam)
constexpr UINT TM_GETFILTER = WM_USER + 44;        // lParam buffer
constexpr UINT TM_SETDIALOGPOS = WM_USER + 56;     // wParam dialog 1...7, lParam MAKELONG(x, y) (-1 default)
constexpr UINT TM_SETBOOKMARK = WM_USER + 57;      // wParam index, lParam line (0 = caret line)
constexpr UINT TM_GETBOOKMARK = WM_USER + 58;      // wParam index -> line
constexpr UINT TM_SETBOOKMARKLOOK = WM_USER + 59;  // wParam index + TIVRA_BOOKMARK_* * 256, lParam colour
constexpr UINT TM_JOINGROUP = WM_USER + 60;        // wParam group window (to an editor) or editor (to a group)
constexpr UINT TM_SETLAYOUT = WM_USER + 61;        // lParam TIVRA_LAYOUT_* fields
constexpr UINT TM_GETLAYOUT = WM_USER + 62;        // -> MAKELONG(layout low word, scroll-bar bits)
constexpr UINT TM_SETCOLOURING = WM_USER + 63;     // wParam flag
constexpr UINT TM_SETPAINTNOTIFY = WM_USER + 64;   // wParam flag
constexpr UINT TM_SETFILECOMMANDS = WM_USER + 65;  // wParam flag
constexpr UINT TM_SETFINDTEXT = WM_USER + 66;      // wParam 0 find, 1 replace; lParam text
constexpr UINT TM_GETFINDTEXT = WM_USER + 67;      // wParam 0 find, 1 replace; lParam buffer (128 bytes)
constexpr UINT TM_SETFINDOPTIONS = WM_USER + 68;   // lParam TIVRA_FIND_* bits
constexpr UINT TM_GETFINDOPTIONS = WM_USER + 69;
constexpr UINT TM_FIND = WM_USER + 70;     // wParam 0 find next, 1 replace, 2 replace all; lParam TivraRange* or 0
constexpr UINT TM_SETTEXT = WM_USER + 71;  // wParam 1, lParam text
constexpr UINT TM_GETTEXT = WM_USER + 72;  // wParam TIVRA_TEXT_*, lParam buffer (TM_GETTEXTLENGTH + 1 bytes)
constexpr UINT TM_GETTEXTLENGTH = WM_USER + 73;  // wParam TIVRA_TEXT_*
constexpr UINT TM_MOUSEUP = WM_USER + 74;        // as WM_LBUTTONUP
constexpr UINT TM_COMMANDSTATE = WM_USER + 75;   // wParam command id -> 1 available
constexpr UINT TM_HSCROLL = WM_USER + 76;        // as WM_HSCROLL; code 273: go to pixel column lParam
constexpr UINT TM_VSCROLL = WM_USER + 77;  // as WM_VSCROLL; 273: go to line lParam; 275: lParam -> (line, sub-line)
constexpr UINT TM_SETBOOKMARKCOUNT = WM_USER + 78;  // wParam n: highest index n - 1 (1...255)
constexpr UINT TM_SETWORDWRAP = WM_USER + 79;       // wParam TIVRA_WRAP_* bits, lParam fixed width
constexpr UINT TM_PAINTLINES = WM_USER + 81;        // wParam HDC, lParam two 16-bit values: height, width
// -> how many lines longer than TIVRA_MAX_INSERTED_LINE characters the text
// held when it was last loaded (TM_LOADFILE, the file commands, the initial
// file) or set (WM_SETTEXT); 0 after WM_CLEAR with 1 and "&Ny". Such a line
// is kept as pieces that EM_GETLINE and editing see as lines of their own;
// reading the text back (WM_GETTEXT, the selection, the clipboard) and
// saving join them again without a line end, so the line comes back whole.
constexpr UINT TM_GETLONGLINES = WM_USER + 84;
constexpr UINT TM_SETCARETWIDTH = WM_USER + 87;
constexpr UINT TM_SETFIRSTVISIBLELINE = WM_USER + 88;    // wParam sub-line, lParam line
constexpr UINT TM_SETFIRSTVISIBLECOLUMN = WM_USER + 89;  // wParam column
constexpr UINT TM_GETFIRSTSUBLINE = WM_USER + 90;
constexpr UINT TM_GETSUBLINE = WM_USER + 91;     // wParam sub-line, lParam buffer of TIVRA_LINE_BUFFER bytes (line in
                                                 // its first 32 bits) -> length, -1; bounded as TM_GETLINE
constexpr UINT TM_SUBLINELENGTH = WM_USER + 92;  // wParam sub-line, lParam line
constexpr UINT TM_SUBLINECOUNT = WM_USER + 93;   // lParam line
constexpr UINT TM_SETFINDDIALOGPOS = WM_USER + 94;  // as TM_SETDIALOGPOS, dialog 1 only while no find dialog is open
constexpr UINT TM_POSFROMPOINT = WM_USER + 96;  // lParam MAKELONG(x, y) -> MAKELONG(line - first visible, column) / -1
constexpr UINT TM_SCREENCENTRE = 0x706B;        // lParam DWORD* := MAKELONG(x, y) -> 1

// Messages the window sends to its notify window
constexpr UINT TM_COLOURSELECTION = WM_USER + 45;    // wParam HDC
constexpr UINT TM_COLOURWORD = WM_USER + 46;         // wParam HDC, lParam TivraToken*
constexpr UINT TM_PAINTNOTIFICATION = WM_USER + 47;  // wParam HDC, lParam RECT* -> HBITMAP or 0
constexpr UINT TM_CLASSIFYBRACKET = WM_USER + 48;    // lParam TivraToken* -> 0, 1, 2, 5, 6
constexpr UINT TM_WORDCLICKED = WM_USER + 49;        // wParam editor, lParam TivraToken* or 0 -> nonzero handled
constexpr UINT TM_WORDBREAK = WM_USER + 80;          // wParam length, lParam line text -> break position
constexpr UINT TM_PRINTPAGE = WM_USER + 83;          // wParam printer HDC, lParam MAKELONG(vertical, horizontal
                                                     // page size) -> MAKELONG(header height, footer height)
constexpr UINT TM_FINDNOTIFY = WM_USER + 98;         // wParam editor, lParam code -> response
constexpr UINT TM_READPREVIEW = WM_USER + 99;        // wParam block length, lParam char** block
constexpr UINT TM_PRINTJOBNAME = WM_USER + 100;      // -> text or 0

// The registered message of the find and replace dialogs
#define TIVRA_FINDREPLACE_MESSAGE "commdlg_FindReplace"

// TM_GETHANDLE
constexpr WPARAM TIVRA_HANDLE_NOTIFY = 0;
constexpr WPARAM TIVRA_HANDLE_MENUBAR = 1;
constexpr WPARAM TIVRA_HANDLE_CONTEXTMENU = 2;
constexpr WPARAM TIVRA_HANDLE_CONTROLID = 3;
constexpr WPARAM TIVRA_HANDLE_GROUP = 4;

// TM_SETBOOKMARKLOOK, high byte of wParam
constexpr WPARAM TIVRA_BOOKMARK_FOREGROUND = 1;
constexpr WPARAM TIVRA_BOOKMARK_BACKGROUND = 2;
constexpr WPARAM TIVRA_BOOKMARK_SETMARK0 = 4;
constexpr WPARAM TIVRA_BOOKMARK_CLEARMARK0 = 8;
constexpr WPARAM TIVRA_BOOKMARK_SETMARK1 = 16;
constexpr WPARAM TIVRA_BOOKMARK_CLEARMARK1 = 32;

// TM_SETLAYOUT / TM_GETLAYOUT
constexpr LPARAM TIVRA_LAYOUT_HSPACING = 0x000F;
constexpr LPARAM TIVRA_LAYOUT_VSPACING = 0x00F0;
constexpr LPARAM TIVRA_LAYOUT_RMARGIN = 0x0F00;
constexpr LPARAM TIVRA_LAYOUT_HSCROLL = 0x10000;
constexpr LPARAM TIVRA_LAYOUT_VSCROLL = 0x20000;

// TM_SETFINDOPTIONS / TM_GETFINDOPTIONS
constexpr LPARAM TIVRA_FIND_WRAP = 0x1;
constexpr LPARAM TIVRA_FIND_UP = 0x2;
constexpr LPARAM TIVRA_FIND_WHOLEWORD = 0x4;
constexpr LPARAM TIVRA_FIND_MATCHCASE = 0x8;

// TM_GETTEXT / TM_GETTEXTLENGTH (WM_GETTEXT and WM_GETTEXTLENGTH take 1 only)
constexpr WPARAM TIVRA_TEXT_CRLF = 1;   // lines joined by CR LF
constexpr WPARAM TIVRA_TEXT_SAVED = 2;  // by the line end that saving writes (UnixStyleSave, MacStyleSave)

// TM_SETWORDWRAP
constexpr WPARAM TIVRA_WRAP_ON = 0x1;
constexpr WPARAM TIVRA_WRAP_FIXEDWIDTH = 0x2;
constexpr WPARAM TIVRA_WRAP_AUTOBREAK = 0x4;

// ---------------------------------------------------------------------------
// Notifications: WM_COMMAND to the notify window, wParam =
// MAKEWPARAM(control id, code), lParam = the editor window.

constexpr WORD TN_SETFOCUS = 0x0100;
constexpr WORD TN_KILLFOCUS = 0x0200;
constexpr WORD TN_CHANGE = 0x0300;
constexpr WORD TN_INSERTMODE = 0x0320;
constexpr WORD TN_OVERWRITEMODE = 0x0321;
constexpr WORD TN_NEWTEXT = 0x0400;  // a file was loaded or a new text started
constexpr WORD TN_FONTCHANGED = 0x0401;
constexpr WORD TN_ERRSPACE = 0x0500;        // answer nonzero: no message box
constexpr WORD TN_MAXTEXT = 0x0501;         // answer 1: no message box
constexpr WORD TN_FILEERROR = 0x05DC;       // answer 1: no message box
constexpr WORD TN_CLIPBOARDERROR = 0x05DD;  // answer 1: no message box
constexpr WORD TN_HSCROLL = 0x0601;
constexpr WORD TN_VSCROLL = 0x0602;
constexpr WORD TN_GOINGTOCLOSE = 0x0800;  // answer nonzero vetoes
constexpr WORD TN_ASKSAVE = 0x0801;       // answer 1 save, 2 do not save, 3 cancel, other: the editor asks
constexpr WORD TN_CREATED = 0x0834;
constexpr WORD TN_DESTROYING = 0x0835;

// ---------------------------------------------------------------------------
// Menu command ids (WM_COMMAND, TM_COMMANDSTATE, the editor's menus)

constexpr UINT TCMD_NEW = 1001;
constexpr UINT TCMD_OPEN = 1002;
constexpr UINT TCMD_REVERT = 1003;
constexpr UINT TCMD_SAVE = 1004;
constexpr UINT TCMD_SAVEAS = 1005;
constexpr UINT TCMD_PRINT = 1006;
constexpr UINT TCMD_PRINTSETUP = 1007;
constexpr UINT TCMD_UNDO = 1011;
constexpr UINT TCMD_REDO = 1012;
constexpr UINT TCMD_CUT = 1013;
constexpr UINT TCMD_COPY = 1014;
constexpr UINT TCMD_PASTE = 1015;
constexpr UINT TCMD_DELETE = 1016;
constexpr UINT TCMD_DUPLICATE = 1017;
constexpr UINT TCMD_SELECTALL = 1018;
constexpr UINT TCMD_FIND = 1021;
constexpr UINT TCMD_FINDNEXT = 1022;
constexpr UINT TCMD_REPLACE = 1023;
constexpr UINT TCMD_FINDBRACKET = 1024;
constexpr UINT TCMD_GOTOLINE = 1025;
constexpr UINT TCMD_GOTOBOOKMARK = 1026;
constexpr UINT TCMD_SETBOOKMARK = 1027;
constexpr UINT TCMD_FONT = 1031;
constexpr UINT TCMD_EMPTYUNDO = 1032;
constexpr UINT TCMD_CLEARALL = 1033;
// Ids 1041...1050 belong to the program; TM_SETMENUSTATES enables them.
constexpr UINT TCMD_PROGRAM_FIRST = 1041;
constexpr UINT TCMD_PROGRAM_LAST = 1050;

// ---------------------------------------------------------------------------
// Exports

#define TIVRA_EXPORT __attribute__((visibility("default")))

extern "C" {
// Registers the window classes "Tivra32" and "TivraGroup32" (and the
// class of the printing progress dialog) and reserves the text arena that
// all editor windows of the process share. Every program calls it once
// before it creates an editor or group window; later calls do nothing.
// FALSE when the arena cannot be reserved (no editor window can then be
// made). The classes are unregistered and the arena released when the
// process ends, if no editor window is left by then.
TIVRA_EXPORT BOOL TivraRegister();
// The library version as a number: 209 (2.09).
TIVRA_EXPORT LONG TivraVer();
// Greys every item of the menu whose id lies in 1003...1050 (all editor
// commands but "&Ny" and "&Åben ...").
TIVRA_EXPORT void DisableMenu(HMENU menu);
}
