// What the search sources share (search.cpp, find_dialogs.cpp,
// brackets.cpp, goto_line.cpp).
#pragma once

#include "instance.h"

#include <string>

namespace tivra {

// TM_FINDNOTIFY with `code` (0 nothing found, -1 no matching bracket);
// unless the notify window answers, "Søgningen gav intet resultat".
void reportNotFound(Instance& inst, LPARAM code);

// A message of the editor's own with a count put in ("%ld ...", UTF-8
// format), in Windows-1252.
std::string withCount(const char* utf8Format, long count);

// Selects line n (1 ... line count) from its start to its end and shows it.
void selectWholeLine(Instance& inst, int32_t line);

// Find next from the selection (or from `range`, which then receives the
// match): 1 found, 0 not found (after telling), -1 no find text.
LRESULT findNext(Instance& inst, TivraRange* range);

// Replaces the selection when it is a match: true when replaced.
bool replaceSelectedMatch(Instance& inst);

// Replaces every match from the start of the text: the count, or -1
// without a find text.
long replaceAll(Instance& inst);

// The search commands that go through the dialogs (find_dialogs.cpp).
void openFindDialog(Instance& inst, bool replace);

// Command 1024 (brackets.cpp).
LRESULT findMatchingBracket(Instance& inst);

// Command 1025 (goto_line.cpp).
LRESULT goToLineDialog(Instance& inst);

}  // namespace tivra
