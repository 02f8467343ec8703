// The settings that decide how the document editors look and behave, read
// from the settings store ("Indstillinger" and "Editor"). Until the
// settings dialog exists they are read once at start-up.
#pragma once

#include "code_colours.h"

#include <QFont>
#include <QString>

namespace morvel {
class RegIniFile;
}

struct EditorSettings {
  int colourScheme = 2;              // "Kodefarve": 0 none, 1, 2, 3 the user's
  morvel::CodeColourScheme userScheme;  // scheme 3, from section "Editor"
  bool wordWrap = true;              // "Ombrydning"
  QString fontName = QStringLiteral("Courier New");  // "Font"
  int fontSize = 10;                 // "FontSize", points
  QString fontStyle;                 // "FontStyle": "fed", "kursiv", "fed kursiv" or empty
  bool fileNamesOnTabs = false;      // "Filnavn"
  bool entityConversion = false;     // "ÆØÅkoder"
};

// The defaults of a store that has none of these values.
EditorSettings defaultEditorSettings();
EditorSettings readEditorSettings(const morvel::RegIniFile& store);

// The colours of the chosen scheme.
morvel::CodeColourScheme colourSchemeOf(const EditorSettings& settings);

// The editors' font.
QFont editorFontOf(const EditorSettings& settings);
