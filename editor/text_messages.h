// The messages that read and change the text and the selection, and the
// bookmark messages.
#pragma once

#include "instance.h"

#include <string_view>

namespace tivra {

// WM_SETTEXT / TM_SETTEXT with wParam 1; also the initial text at creation.
LRESULT setWholeText(Instance& inst, const char* text);
// WM_GETTEXT / TM_GETTEXT: lineEnds TIVRA_TEXT_CRLF or TIVRA_TEXT_SAVED.
LRESULT copyWholeText(Instance& inst, char* buffer, WPARAM lineEnds);
// WM_GETTEXTLENGTH / TM_GETTEXTLENGTH likewise.
LRESULT wholeTextLength(Instance& inst, WPARAM lineEnds);

LRESULT getSelection(Instance& inst, TivraRange* range);               // EM_GETSEL
LRESULT setSelectionMessage(Instance& inst, const TivraRange* range);  // EM_SETSEL
LRESULT selectionLength(Instance& inst);                               // TM_GETSELLENGTH
LRESULT copySelection(Instance& inst, char* buffer);                   // TM_GETSELTEXT
LRESULT replaceSelection(Instance& inst, const char* text);            // EM_REPLACESEL
// Replaces an ordered range (committed line buffer) by a text, recorded as
// two undo steps (deletion, insertion); `inserted` receives the new text's
// range. The selection is left for the caller to set. False (the text as
// it was, the user told) when the arena runs out or a joined line would
// be too long.
bool replaceRange(Instance& inst, const TivraRange& range, std::string_view text, TivraRange* inserted);
// Deletes an ordered range (committed line buffer) without recording it;
// `removed` receives the detached lines. False (the text as it was, the
// user told) when the arena runs out or a joined line would be too long.
// `longest` as for deleteRange().
bool deleteRangeOrTell(Instance& inst, const TivraRange& range, LineHandle* removed, int longest = TIVRA_MAX_LINE);
// Joins `line` with the next one the same way, without recording it;
// `joint` receives the column where they meet, `continued` whether the
// two were pieces of one line.
bool joinLinesOrTell(Instance& inst, int32_t line, int* joint, bool* continued, int longest = TIVRA_MAX_LINE);
LRESULT clearMessage(Instance& inst, WPARAM wholeText);  // WM_CLEAR
LRESULT selectAll(Instance& inst);                       // command 1018
LRESULT clearAll(Instance& inst);                        // command 1033, WM_CLEAR with 1

LRESULT getLine(Instance& inst, WPARAM line, char* buffer);               // EM_GETLINE
LRESULT lineLengthMessage(Instance& inst, WPARAM wParam, LPARAM lParam);  // EM_LINELENGTH

LRESULT setBookmark(Instance& inst, WPARAM index, LPARAM line);                // TM_SETBOOKMARK
LRESULT getBookmark(Instance& inst, WPARAM index);                             // TM_GETBOOKMARK
LRESULT setBookmarkLook(Instance& inst, WPARAM indexAndFlags, LPARAM colour);  // TM_SETBOOKMARKLOOK
LRESULT setBookmarkCount(Instance& inst, WPARAM count);                        // TM_SETBOOKMARKCOUNT

}  // namespace tivra
