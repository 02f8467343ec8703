#include "commands/code_insertion.h"

#include "component/tivra_component.h"
#include "qtext.h"

namespace morvel {

namespace {

bool before(const TextPosition& a, const TextPosition& b) {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

}  // namespace

TextPosition Selection::first() const { return before(caret, anchor) ? caret : anchor; }

TextPosition Selection::last() const { return before(caret, anchor) ? anchor : caret; }

Selection selectionOf(TTivra& editor) {
  editor.GetSelection();
  return Selection{{editor.StartLine(), editor.StartPos()}, {editor.EndLine(), editor.EndPos()}};
}

void select(TTivra& editor, TextPosition anchor, TextPosition caret) {
  editor.setStartLine(anchor.line);
  editor.setStartPos(anchor.column);
  editor.setEndLine(caret.line);
  editor.setEndPos(caret.column);
  editor.SetSelection();
}

void wrapSelection(TTivra& editor, const QString& start, const QString& end) {
  wrapSelectionBytes(editor, platform::toCp1252(start), platform::toCp1252(end));
}

void wrapSelectionBytes(TTivra& editor, const std::string& start, const std::string& end) {
  const Selection selected = selectionOf(editor);
  const TextPosition p1 = selected.first();
  select(editor, p1, p1);
  editor.InsertBytes(start);
  const TextPosition textBegin = positionAfterInsert(p1, p1, start);
  const TextPosition p2 = positionAfterInsert(selected.last(), p1, start);
  if (!end.empty()) {
    select(editor, p2, p2);
    editor.InsertBytes(end);
  }
  select(editor, textBegin, p2);
}

void insertAtCaret(TTivra& editor, const QString& text) { editor.InsertText(text); }

bool isEmptyText(const TTivra& e) { return e.LineCount() <= 1 && e.LineLength(1) <= 0; }

void replaceWholeText(TTivra& e, const std::string& text) {
  if (e.TextBytes() == text) return;
  e.SelectAll();
  e.InsertBytes(text);
}

void editText(TTivra& editor, const std::vector<TextEdit>& edits) {
  if (edits.empty()) return;
  std::string text = editor.TextBytes();
  const Selection selected = selectionOf(editor);
  std::size_t anchor = offsetOf(text, selected.anchor);
  std::size_t caret = offsetOf(text, selected.caret);
  for (const TextEdit& edit : edits) {
    if (edit.eraseLength == 0 && edit.insertText.empty()) continue;
    select(editor, positionAt(text, edit.position), positionAt(text, edit.position + edit.eraseLength));
    if (edit.insertText.empty())
      editor.ClearSelection();
    else
      editor.InsertBytes(edit.insertText);
    text = applyTextEdits(std::move(text), {edit});
    anchor = offsetAfterEdit(anchor, edit);
    caret = offsetAfterEdit(caret, edit);
  }
  select(editor, positionAt(text, anchor), positionAt(text, caret));
}

}  // namespace morvel
