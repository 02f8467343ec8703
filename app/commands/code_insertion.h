// The ways the markup commands and the element dialogs change a page: wrap
// the selection in a start and an end code, insert a text at the caret, or
// make edits at byte offsets while the selection stays on its text. Every
// command and dialog goes through these, so that the selection behaves the
// same everywhere. Each insertion is an undo step of its own.
#pragma once

#include "markup/auto_insert.h"
#include "markup/text_position.h"

#include <QString>

#include <string>
#include <vector>

class TTivra;

namespace morvel {

// Puts `start` before the selection and `end` after it, and selects the
// same text again, now between the codes. The direction in which the
// selection was made does not matter. With nothing selected the caret ends
// between the two codes. `end` may be empty.
void wrapSelection(TTivra& editor, const QString& start, const QString& end);
void wrapSelectionBytes(TTivra& editor, const std::string& start, const std::string& end);

// Inserts at the caret; a selection is replaced.
void insertAtCaret(TTivra& editor, const QString& text);

// The editor holds no text: one empty line.
bool isEmptyText(const TTivra& editor);

// A page as its editor holds it: the text, and the lines that go on in the
// next without a line end (the pieces of lines longer than the editor
// takes), so that offsets into the text and the editor's positions agree.
struct EditorText {
  std::string bytes;
  ContinuedLines continued;

  TextPosition positionAt(std::size_t offset) const { return morvel::positionAt(bytes, offset, continued); }
  std::size_t offsetOf(TextPosition position) const { return morvel::offsetOf(bytes, position, continued); }
};
EditorText editorText(const TTivra& editor);

// Replaces the whole text as two undo steps: the old text goes, the new
// text comes. Nothing happens when the text stays the same.
void replaceWholeText(TTivra& editor, const std::string& text);

// Makes the edits one after the other (positions as applyTextEdits takes
// them) and keeps the selection on the text it covered.
void editText(TTivra& editor, const std::vector<TextEdit>& edits);

// The selection's two ends as the editor reports them: where it was begun
// and where the caret is.
struct Selection {
  TextPosition anchor;
  TextPosition caret;

  TextPosition first() const;
  TextPosition last() const;
};
Selection selectionOf(TTivra& editor);
void select(TTivra& editor, TextPosition anchor, TextPosition caret);

}  // namespace morvel
