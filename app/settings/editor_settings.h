// How the document editors look: what the settings dialog last applied to
// them, and what a new editor starts with.
#pragma once

#include "markup/code_colours.h"

#include <QFont>
#include <QString>

class TTivra;

// The syntax description of the document editors: the double quote (with
// itself as escape) for strings, ">" opening and "<" closing a block
// comment, and the slash.
inline const QString kDocumentSyntax = QStringLiteral("2\"\"001>1<001/");

// Sets up an editor to read and colour a page with kDocumentSyntax, as the
// document editors and the settings' preview do.
void configurePageEditor(TTivra& editor);

struct EditorLook {
  QFont font;
  // The colours of the code; `normal` is the editor's own text and background.
  morvel::CodeColourScheme scheme;
  // White on red (the scheme "Morvel 2"); otherwise the system's highlight colours.
  bool redSelection = true;
  int tabSize = 5;
  bool wordWrap = true;
};

// The editor font of the settings: the style is "fed", "kursiv",
// "fed kursiv" or empty for regular.
QFont editorFont(const QString& family, int pointSize, const QString& style);
QString fontStyleName(const QFont& font);

// Gives an editor the look. Wrapping is switched only when it differs, as
// the wrapping command does it: vertical scroll bar while wrapping, both
// bars otherwise.
void applyEditorLook(TTivra& editor, const EditorLook& look);
void setEditorWordWrap(TTivra& editor, bool wrap);
