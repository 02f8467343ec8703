#include "editor_settings.h"

#include "registry.h"
#include "win32.h"

namespace {

constexpr char kSettings[] = "Indstillinger";
constexpr char kEditor[] = "Editor";

QString readString(const morvel::RegIniFile& store, const char* name, const QString& fallback) {
  return QString::fromStdString(store.ReadString(kSettings, name, fallback.toStdString()));
}

morvel::ColorValue readColour(const morvel::RegIniFile& store, const char* name, morvel::ColorValue fallback) {
  return static_cast<morvel::ColorValue>(store.ReadInteger(kEditor, name, static_cast<int>(fallback))) & 0xFFFFFF;
}

// Scheme 3 as section "Editor" holds it.
morvel::CodeColourScheme readUserScheme(const morvel::RegIniFile& store) {
  const morvel::ColorValue window = GetSysColor(COLOR_WINDOW);
  morvel::CodeColourScheme s;
  s.normal = {readColour(store, "AlmT", GetSysColor(COLOR_WINDOWTEXT)), readColour(store, "AlmB", window)};
  s.elements = {readColour(store, "ElemT", RGB(255, 0, 0)), readColour(store, "ElemB", window)};
  s.attributes = {readColour(store, "AttribT", RGB(128, 0, 128)), readColour(store, "AttribB", window)};
  s.values = {readColour(store, "VaerdiT", RGB(0, 0, 128)), readColour(store, "VaerdiB", window)};
  s.comments = {readColour(store, "KomT", RGB(128, 128, 128)), readColour(store, "KomB", window)};
  if (store.ReadBool(kEditor, "EnsBg", false)) {
    for (morvel::ColourPair* code : {&s.elements, &s.attributes, &s.values, &s.comments})
      code->background = s.normal.background;
  }
  return s;
}

}  // namespace

EditorSettings defaultEditorSettings() {
  EditorSettings s;
  s.userScheme = morvel::builtInColourScheme(0, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW));
  return s;
}

EditorSettings readEditorSettings(const morvel::RegIniFile& store) {
  EditorSettings s = defaultEditorSettings();
  s.colourScheme = store.ReadInteger(kSettings, "Kodefarve", s.colourScheme);
  s.userScheme = readUserScheme(store);
  s.wordWrap = store.ReadBool(kSettings, "Ombrydning", s.wordWrap);
  s.fontName = readString(store, "Font", s.fontName);
  s.fontSize = store.ReadInteger(kSettings, "FontSize", s.fontSize);
  s.fontStyle = readString(store, "FontStyle", s.fontStyle);
  s.fileNamesOnTabs = store.ReadBool(kSettings, "Filnavn", s.fileNamesOnTabs);
  s.entityConversion = store.ReadBool(kSettings, "ÆØÅkoder", s.entityConversion);
  return s;
}

morvel::CodeColourScheme colourSchemeOf(const EditorSettings& settings) {
  if (settings.colourScheme == 3) return settings.userScheme;
  return morvel::builtInColourScheme(settings.colourScheme, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW));
}

QFont editorFontOf(const EditorSettings& settings) {
  QFont font(settings.fontName);
  font.setPointSize(settings.fontSize > 0 ? settings.fontSize : 10);
  font.setBold(settings.fontStyle.contains(QLatin1String("fed")));
  font.setItalic(settings.fontStyle.contains(QLatin1String("kursiv")));
  return font;
}
