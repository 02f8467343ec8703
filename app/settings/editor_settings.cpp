#include "settings/editor_settings.h"

#include "component/tivra_component.h"
#include "win32.h"

namespace {

const QString kBold = QStringLiteral("fed");
const QString kItalic = QStringLiteral("kursiv");
constexpr int kFallbackPointSize = 10;
constexpr int kCaretWidth = 2;

}  // namespace

QFont editorFont(const QString& family, int pointSize, const QString& style) {
  QFont font(family);
  font.setPointSize(pointSize > 0 ? pointSize : kFallbackPointSize);
  font.setBold(style.contains(kBold));
  font.setItalic(style.contains(kItalic));
  return font;
}

QString fontStyleName(const QFont& font) {
  QStringList words;
  if (font.bold()) words << kBold;
  if (font.italic()) words << kItalic;
  return words.join(QLatin1Char(' '));
}

void configurePageEditor(TTivra& e) {
  e.setCaretWidth(kCaretWidth);
  e.setExtraHorzSpacing(TTivraSpaceStyle::slLarge);
  e.setExtraVertSpacing(TTivraSpaceStyle::slSmall);
  e.setHighlight(true);
  e.setMultiLineItems(true);
  e.setStartInComments(true);
  e.setSyntax(kDocumentSyntax);
}

void setEditorWordWrap(TTivra& editor, bool wrap) {
  editor.setWordWrap(wrap);
  editor.setScrollBars(wrap ? TTivraScrollStyle::lsVertical : TTivraScrollStyle::lsBoth);
}

void applyEditorLook(TTivra& editor, const EditorLook& look) {
  editor.setFont(look.font);
  editor.setFontColor(look.scheme.normal.text);
  editor.setColor(look.scheme.normal.background);
  editor.setBackColorSelected(look.redSelection ? RGB(255, 0, 0) : GetSysColor(COLOR_HIGHLIGHT));
  editor.setForeColorSelected(look.redSelection ? RGB(255, 255, 255) : GetSysColor(COLOR_HIGHLIGHTTEXT));
  editor.setTabStopSize(look.tabSize);
  if (editor.WordWrap() != look.wordWrap) setEditorWordWrap(editor, look.wordWrap);
  // The code colours come from the highlight event, which the editor asks
  // again only when it paints.
  if (editor.HandleAllocated()) InvalidateRect(editor.Handle(), nullptr, TRUE);
}
