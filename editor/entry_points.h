// Where the window procedure (window.cpp) hands over the work of editing,
// search, display, file commands and printing. Each function takes the
// instance record and the message's parameters; the result is the
// message's result unless noted.
//
// Shared services for all of them: text_store.h (lines, ranges, inserting,
// deleting, the line buffer), undo.h (recording steps), notify.h
// (notifications and message boxes), menus.h (command states).
#pragma once

#include "group.h"
#include "instance.h"

namespace tivra {

// ---------------------------------------------------------------------------
// editing.cpp: keys, characters, mouse, clipboard, applying undo steps

LRESULT onKeyDown(Instance& inst, WPARAM key, LPARAM flags);
LRESULT onChar(Instance& inst, WPARAM character, LPARAM flags);
// WM_LBUTTONDOWN, WM_LBUTTONUP (also TM_MOUSEUP), WM_LBUTTONDBLCLK,
// WM_MOUSEMOVE, WM_RBUTTONDOWN.
LRESULT onMouse(Instance& inst, UINT message, WPARAM keys, LPARAM point);
LRESULT onTimer(Instance& inst, WPARAM id);
LRESULT onCut(Instance& inst);
LRESULT onCopy(Instance& inst);
LRESULT onPaste(Instance& inst);
// Commands 1011...1017 (undo, redo, cut, copy, paste, delete, duplicate).
LRESULT editingCommand(Instance& inst, UINT id);
// EM_UNDO / TM_UNDO / WM_UNDO: which 0 undo, 1 redo.
LRESULT undoOrRedo(Instance& inst, WPARAM which);

// ---------------------------------------------------------------------------
// search.cpp: find and replace, go to line, bookmarks commands, brackets

// Commands 1021...1027.
LRESULT searchCommand(Instance& inst, UINT id);
// TM_FIND: which 0 find next, 1 replace, 2 replace all; range or 0.
LRESULT findMessage(Instance& inst, WPARAM which, TivraRange* range);
// The registered message "commdlg_FindReplace".
LRESULT findReplaceDialogMessage(Instance& inst, WPARAM wParam, LPARAM lParam);
// The same for the shared find dialog of a group window.
LRESULT groupFindReplaceDialogMessage(GroupInstance& group, WPARAM wParam, LPARAM lParam);
// Command state of 1024: the caret is at a bracket.
bool caretAtBracket(Instance& inst);
// WM_ENABLE reaches the open find dialog too.
void enableFindDialog(Instance& inst, bool enable);
void destroyFindDialog(Instance& inst);
void destroyGroupFindDialog(GroupInstance& group);

// ---------------------------------------------------------------------------
// display.cpp: fonts and metrics, painting, caret, scrolling, word wrap,
// the syntax table and the word scanner

// At creation (default font and metrics) and destruction.
void initDisplay(Instance& inst);
void destroyDisplay(Instance& inst);
LRESULT onPaint(Instance& inst);
void onSize(Instance& inst, int width, int height);
// Focus gained or lost: create or destroy the caret.
void onFocusChange(Instance& inst, bool gained);
// WM_SETFONT; TM_SETLOGFONT. Both send TN_FONTCHANGED.
LRESULT setFont(Instance& inst, HFONT font, bool madeByWindow);
LRESULT setLogFont(Instance& inst, const LOGFONT* font);
// Command 1031: the font dialog.
LRESULT fontCommand(Instance& inst);
// TM_SETSYNTAX: wParam count + flags * 256; items 0 = the built-in table.
LRESULT setSyntax(Instance& inst, WPARAM countAndFlags, const WORD* items);
// TM_SCANSTART ... TM_SCANTOKENRANGE and TM_TOKENATCARET.
LRESULT wordScannerMessage(Instance& inst, UINT message, WPARAM wParam, LPARAM lParam);
// WM_HSCROLL / TM_HSCROLL and WM_VSCROLL / TM_VSCROLL.
LRESULT onScroll(Instance& inst, bool vertical, WPARAM code, LPARAM lParam);
LRESULT onMouseWheel(Instance& inst, WPARAM wParam, LPARAM lParam);
// TM_SETWORDWRAP.
LRESULT setWordWrap(Instance& inst, WPARAM flags, LPARAM width);
// TM_PAINTLINES.
LRESULT paintLines(Instance& inst, HDC dc, LPARAM size);
// TM_SETCARETWIDTH.
LRESULT setCaretWidth(Instance& inst, int width);
// TM_SETFIRSTVISIBLELINE, TM_SETFIRSTVISIBLECOLUMN, TM_GETFIRSTSUBLINE,
// TM_GETSUBLINE, TM_SUBLINELENGTH, TM_SUBLINECOUNT, TM_POSFROMPOINT.
LRESULT viewMessage(Instance& inst, UINT message, WPARAM wParam, LPARAM lParam);

// Told after every change of the stored text (from the line given on):
// repaint, scroll ranges, colouring state, ending a running word scan.
void textChanged(Instance& inst, int32_t fromLine);
// Told after the selection or caret moved without a text change.
void selectionChanged(Instance& inst);
// Told after the tab size, spacing, margins, scroll bars, options, colouring
// or paint notification changed.
void layoutChanged(Instance& inst);

// ---------------------------------------------------------------------------
// file_commands.cpp: loading and saving, the may-close question

// TM_LOADFILE: asks to save first when the text changed.
LRESULT loadFileMessage(Instance& inst, const char* name);
// Loads a file into the window: the text is replaced, the caret goes to
// (1, 0), TN_NEWTEXT is sent. keepName: the window holds the file's name
// afterwards (else the text is unnamed). False when the file cannot be read
// or the arena is exhausted.
bool loadFile(Instance& inst, const char* name, bool keepName);
// TM_QUERYCLOSE, WM_CLOSE, WM_QUERYENDSESSION: nonzero when the window may
// close (the text may be saved first).
LRESULT queryClose(Instance& inst);
// Saves under the window's name (asking for one when it has none): true
// when saved.
bool saveFile(Instance& inst);
// TM_SAVEFILEAS: 0 saved, 1 failed.
LRESULT saveFileAs(Instance& inst, const char* name);
// Commands 1001...1005.
LRESULT fileCommand(Instance& inst, UINT id);
// Creation with "Tivra-Ask-User-": the open dialog with a suggested name.
void askUserAndLoad(Instance& inst, const char* suggestedName);

// ---------------------------------------------------------------------------
// printing.cpp

// Commands 1006 and 1007.
LRESULT printCommand(Instance& inst, UINT id);
// The class of the progress dialog, with the editor's classes.
void registerPrintingClass();
void unregisterPrintingClass();
// At destruction: gives back the printer setup kept between prints.
void releasePrinterSetup(Instance& inst);

}  // namespace tivra
