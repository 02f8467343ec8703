// TKestrin: the keys and the mouse in the document editors, their context
// menus, and moving selected text by dragging it inside an editor.
#include "mainwindow/kestrin.h"

#include "commands/code_insertion.h"

#include "component/tivra_component.h"
#include "interaction.h"
#include "settings/indstillinger.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace {

// Start before end: by line, then by column.
TivraRange normalised(TivraRange r) {
  if (r.StartLine > r.EndLine || (r.StartLine == r.EndLine && r.StartPos > r.EndPos)) {
    std::swap(r.StartLine, r.EndLine);
    std::swap(r.StartPos, r.EndPos);
  }
  return r;
}

TivraRange selectionOf(TTivra& e) {
  e.GetSelection();
  return normalised(
      TivraRange{static_cast<SHORT>(e.StartPos()), static_cast<SHORT>(e.EndPos()), e.StartLine(), e.EndLine()});
}

void select(TTivra& e, const TivraRange& r) {
  e.setStartLine(r.StartLine);
  e.setStartPos(r.StartPos);
  e.setEndLine(r.EndLine);
  e.setEndPos(r.EndPos);
  e.SetSelection();
}

void placeCaret(TTivra& e, int line, int column) {
  select(e, TivraRange{static_cast<SHORT>(column), static_cast<SHORT>(column), line, line});
}

bool empty(const TivraRange& r) { return r.StartLine == r.EndLine && r.StartPos == r.EndPos; }

// The press is on selected text: strictly inside a one-line selection;
// after its start on its first line, before its end on its last line, or
// on a line in between.
bool insideSelection(const TivraRange& s, int line, int column) {
  if (empty(s)) return false;
  if (s.StartLine == s.EndLine) return line == s.StartLine && column > s.StartPos && column < s.EndPos;
  if (line == s.StartLine) return column > s.StartPos;
  if (line == s.EndLine) return column < s.EndPos;
  return line > s.StartLine && line < s.EndLine;
}

// Inside or at either end of a range.
bool withinRange(const TivraRange& r, int line, int column) {
  const auto before = [](int l1, int c1, int l2, int c2) { return l1 < l2 || (l1 == l2 && c1 < c2); };
  return !before(line, column, r.StartLine, r.StartPos) && !before(r.EndLine, r.EndPos, line, column);
}

}  // namespace

void TKestrin::connectEditorEvents(TTivra& e) {
  // The context menus are the window's, decided on the right button.
  e.setHasMenu(TTivraPopupStyle::psNone);
  e.OnChange = [this](TTivra& sender) {
    if (&sender == activeEditor()) refreshEditorStatus();
  };
  e.OnKeyDown = [this](TTivra& sender, WORD& key, Qt::KeyboardModifiers shift) { editorKeyDown(sender, key, shift); };
  e.OnWordClick = [this](TTivra& sender, WORD, LONG, const QString&, bool& handled) {
    wordDoubleClicked(sender, handled);
  };
  e.OnMouseDown = [this](TTivra& sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    editorMouseDown(sender, button, x, y);
  };
  e.OnMouseMove = [this](TTivra& sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    editorMouseMove(sender, button, x, y);
  };
  e.OnMouseUp = [this](TTivra& sender, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
    editorMouseUp(sender, button, x, y);
  };
}

void TKestrin::editorKeyDown(TTivra& e, WORD& key, Qt::KeyboardModifiers shift) {
  const Qt::KeyboardModifiers mods = shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (key == VK_INSERT && mods == Qt::NoModifier) {
    overwrite_->setEnabled(!overwrite_->isEnabled());
  } else if (key == VK_F4) {
    key = 0;
    elementDialogs_.editElement();
  } else if (key == VK_TAB && mods == (Qt::ControlModifier | Qt::AltModifier)) {
    key = 0;
    pagFiler_->setFocus();
  } else if (key == VK_TAB && mods == Qt::ControlModifier) {
    key = 0;
    const int next = active_ + 1 < documentCount() ? active_ + 1 : 0;
    tabs_->setCurrentIndex(next);
    activateDocument(next);
  } else if (key == VK_TAB && mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
    key = 0;
    const int previous = active_ > 0 ? active_ - 1 : documentCount() - 1;
    tabs_->setCurrentIndex(previous);
    activateDocument(previous);
  } else if (key == VK_F11 && mods == Qt::ShiftModifier) {
    key = 0;
    settings_.browserMenu = false;
    previewInExternalBrowser(true);
  } else if (key == VK_F10 && mods == Qt::ShiftModifier) {
    key = 0;
    // At the caret, which stays where it is.
    POINT caret{0, 0};
    if (GetFocus() == e.Handle()) GetCaretPos(&caret);
    ClientToScreen(e.Handle(), &caret);
    showEditorContextMenu(e, QPoint(caret.x, caret.y));
  }
}

void TKestrin::editorMouseDown(TTivra& e, Qt::MouseButton button, int x, int y) {
  if (button == Qt::RightButton) {
    int line = 0;
    int column = 0;
    if (e.SelLength() == 0 && e.PositionFromPoint(x, y, line, column)) placeCaret(e, line, column);
    POINT at{x, y};
    ClientToScreen(e.Handle(), &at);
    showEditorContextMenu(e, QPoint(at.x, at.y));
    return;
  }
  if (button != Qt::LeftButton) return;
  showFileName(active_);
  if (!overSelection_ || empty(selection_)) return;
  // The editor has just put the caret at the press; the text goes on being
  // the selection while it is dragged.
  select(e, selection_);
  dragRange_ = selection_;
  draggedText_ = e.SelText();
  draggingText_ = true;
}

void TKestrin::editorMouseMove(TTivra& e, Qt::MouseButton, int x, int y) {
  if (draggingText_) return;
  selection_ = selectionOf(e);
  int line = 0;
  int column = 0;
  overSelection_ = e.PositionFromPoint(x, y, line, column) && insideSelection(selection_, line, column);
  if (overSelection_)
    e.setCursor(Qt::ArrowCursor);
  else
    e.unsetCursor();
}

void TKestrin::editorMouseUp(TTivra& e, Qt::MouseButton button, int x, int y) {
  if (button != Qt::LeftButton || !draggingText_) return;
  draggingText_ = false;
  finishTextDrag(e, x, y);
}

void TKestrin::finishTextDrag(TTivra& e, int x, int y) {
  int line = 0;
  int column = 0;
  // Dropped on itself (or beside the text): the text stays where it was.
  if (!e.PositionFromPoint(x, y, line, column) || withinRange(dragRange_, line, column)) {
    select(e, dragRange_);
    return;
  }
  select(e, dragRange_);
  e.ClearSelection();
  // The drop point moves with the text that left before it.
  const bool after = line > dragRange_.EndLine || (line == dragRange_.EndLine && column >= dragRange_.EndPos);
  if (after) {
    if (line == dragRange_.EndLine) {
      column = dragRange_.StartPos + (column - dragRange_.EndPos);
      line = dragRange_.StartLine;
    } else {
      line -= dragRange_.EndLine - dragRange_.StartLine;
    }
  }
  placeCaret(e, line, column);
  e.InsertText(draggedText_);
  selection_ = selectionOf(e);
}

bool TKestrin::dropLinks(const QStringList& files, const QPoint& at) {
  TTivra* e = activeEditor();
  if (!e || !e->isVisible() || files.isEmpty()) return false;
  const QPoint local = e->mapFrom(this, at);
  if (!e->rect().contains(local)) return false;
  // The point in the editor window's client area.
  POINT origin{0, 0};
  ClientToScreen(e->Handle(), &origin);
  const QPoint client = e->mapToGlobal(local) - QPoint(origin.x, origin.y);
  int line = 0;
  int column = 0;
  if (e->PositionFromPoint(client.x(), client.y(), line, column)) placeCaret(*e, line, column);
  for (const QString& file : files) markup_.insertCodeForFile(file);
  e->setFocus();
  raise();
  activateWindow();
  return true;
}

void TKestrin::showEditorContextMenu(TTivra& e, const QPoint& at) {
  const POINT point{at.x(), at.y()};
  if (e.SelLength() > 0) {
    platform::popupMenu(popMarkTekst_, point, this);
    return;
  }
  if (e.TokenAtCaret() != 0) {
    const QList<QAction*> items = popUmarkTekst_->actions();
    for (int k = 7; k < items.size(); ++k) items[k]->setVisible(true);
    platform::popupMenu(popUmarkTekst_, point, this);
    return;
  }
  elementDialogs_.editElement();
}

void TKestrin::showTabContextMenu(const QPoint& at) {
  // Only the document commands.
  const QList<QAction*> items = popUmarkTekst_->actions();
  for (int k = 7; k < items.size(); ++k) items[k]->setVisible(false);
  platform::popupMenu(popUmarkTekst_, POINT{at.x(), at.y()}, this);
}

void TKestrin::wordDoubleClicked(TTivra& e, bool& handled) {
  // The word between blanks: to the editor's syntax the text between codes
  // is one comment, which it would not select.
  e.setCurrentWordAsText(true);
  const bool found = e.TokenAtCaret() == 0;
  e.setCurrentWordAsText(false);
  if (!found) return;
  const std::string word = e.Token().WordStr;
  const morvel::TextPosition caret = morvel::selectionOf(e).caret;
  const std::string line = e.GetLineBytes(caret.line);
  const auto column = static_cast<std::size_t>(caret.column);
  // The place of the word that the caret touches.
  for (std::size_t at = line.find(word); at != std::string::npos && at <= column; at = line.find(word, at + 1)) {
    if (column > at + word.size()) continue;
    morvel::select(e, {caret.line, static_cast<int>(at)}, {caret.line, static_cast<int>(at + word.size())});
    handled = true;
    return;
  }
}
