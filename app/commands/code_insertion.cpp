#include "commands/code_insertion.h"

#include "component/tivra_component.h"
#include "qtext.h"

#include <algorithm>

namespace morvel {

namespace {

bool before(const TextPosition& a, const TextPosition& b) {
  return a.line < b.line || (a.line == b.line && a.column < b.column);
}

std::size_t lineBreaks(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) ++count;
  return count;
}

// The lines that continue: where the text has no line end after a line's
// characters. Read only when the text has fewer line ends than the editor
// has lines between its lines.
ContinuedLines continuedLines(const TTivra& editor, std::string_view text) {
  const int lines = editor.LineCount();
  ContinuedLines continued;
  if (lines < 2 || lineBreaks(text) + 1 == static_cast<std::size_t>(lines)) return continued;
  std::size_t at = 0;
  for (int line = 1; line < lines; ++line) {
    const std::size_t length = static_cast<std::size_t>(std::max(editor.LineLength(line), 0));
    at += length;
    if (text.compare(at, 2, "\r\n") == 0)
      at += 2;
    else
      continued.push_back({line, length});
  }
  return continued;
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
  const int lines = editor.LineCount();
  const int selectedLength = std::max(editor.SelLength(), 0);
  select(editor, p1, p1);
  editor.InsertBytes(start);
  TextPosition textBegin = positionAfterInsert(p1, p1, start);
  TextPosition p2 = positionAfterInsert(selected.last(), p1, start);
  // A line that grew past what the editor takes was cut into pieces: the
  // places are found by their offsets. The caret stands after the code.
  if (editor.LineCount() != lines + static_cast<int>(lineBreaks(start))) {
    const EditorText text = editorText(editor);
    textBegin = selectionOf(editor).caret;
    p2 = text.positionAt(text.offsetOf(textBegin) + static_cast<std::size_t>(selectedLength));
  }
  if (!end.empty()) {
    select(editor, p2, p2);
    editor.InsertBytes(end);
  }
  select(editor, textBegin, p2);
}

void insertAtCaret(TTivra& editor, const QString& text) { editor.InsertText(text); }

bool isEmptyText(const TTivra& e) { return e.LineCount() <= 1 && e.LineLength(1) <= 0; }

EditorText editorText(const TTivra& editor) {
  EditorText text{editor.TextBytes(), {}};
  text.continued = continuedLines(editor, text.bytes);
  return text;
}

void replaceWholeText(TTivra& e, const std::string& text) {
  if (e.TextBytes() == text) return;
  e.SelectAll();
  e.InsertBytes(text);
}

void editText(TTivra& editor, const std::vector<TextEdit>& edits) {
  if (edits.empty()) return;
  EditorText text = editorText(editor);
  const Selection selected = selectionOf(editor);
  std::size_t anchor = text.offsetOf(selected.anchor);
  std::size_t caret = text.offsetOf(selected.caret);
  for (const TextEdit& edit : edits) {
    if (edit.eraseLength == 0 && edit.insertText.empty()) continue;
    select(editor, text.positionAt(edit.position), text.positionAt(edit.position + edit.eraseLength));
    if (edit.insertText.empty())
      editor.ClearSelection();
    else
      editor.InsertBytes(edit.insertText);
    // Read again: an edit may cut a long line into other pieces.
    text = editorText(editor);
    anchor = offsetAfterEdit(anchor, edit);
    caret = offsetAfterEdit(caret, edit);
  }
  select(editor, text.positionAt(anchor), text.positionAt(caret));
}

}  // namespace morvel
