// What the editor tells its notify window, and the message boxes it shows
// when the notify window does not claim an error.
#pragma once

#include "instance.h"

#include <string>

namespace tivra {

// The caption of every message box of the editor.
extern const char* const kMessageCaption;

// WM_COMMAND to the notify window with MAKEWPARAM(control id, code) and
// the editor window; returns the answer (0 without a notify window).
LRESULT notifyParent(const Instance& inst, WORD code);

// TN_CHANGE, unless the window is still being created.
void notifyTextChanged(const Instance& inst);

// A message box captioned "Tivra V2.09 (32-bit)" (text in Windows-1252);
// the editor window is disabled while it shows and gets the focus after.
int showMessage(Instance& inst, const std::string& text, UINT flags);

// TN_ERRSPACE; unless the answer is nonzero, "Ikke mere hukommelse".
void reportOutOfMemory(Instance& inst);

// TN_MAXTEXT; unless the answer is 1, "Maksimumlinelængden er overskredet".
void reportMaxLine(Instance& inst);

// TN_FILEERROR (a file could not be written, a print job could not be
// done); unless the answer is 1, the message (UTF-8) with the stop icon.
void reportFileError(Instance& inst, const char* utf8Text);

// A UTF-8 literal in the editor's code page.
std::string cp1252(const char* utf8);

}  // namespace tivra
