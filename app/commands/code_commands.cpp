// TKestrin: the HTML code check ("Tje&k HTML-koder") and the clean-up
// commands that rewrite the whole page: stripping the codes and writing
// them in upper case (also before every save when the setting asks for it).
#include "mainwindow/kestrin.h"

#include "commands/code_insertion.h"
#include "component/tivra_component.h"
#include "controls/hourglass.h"
#include "interaction.h"
#include "mainwindow/documents.h"
#include "markup/code_check.h"
#include "markup/code_cleanup.h"
#include "qtext.h"
#include "startup/splash.h"

namespace {

bool textEmpty(const TTivra& e) { return e.LineCount() <= 1 && e.LineLength(1) <= 0; }

}  // namespace

void TKestrin::checkHtmlCodes() {
  TTivra* e = activeEditor();
  if (!e || textEmpty(*e) || internalBrowserShown()) return;
  morvel::CodeCheckResult result;
  {
    const Hourglass wait;
    result = morvel::checkHtmlCode(e->TextBytes());
  }
  platform::messageBox(this, platform::fromCp1252(result.report), morvel::productName(), MB_OK);
}

void TKestrin::stripHtmlCodes() {
  TTivra* e = activeEditor();
  if (!e || textEmpty(*e)) return;
  const Hourglass wait;
  morvel::replaceWholeText(*e, morvel::stripCodes(e->TextBytes()));
}

void TKestrin::convertActiveCodesToUpperCase() { convertCodesToUpperCase(active_); }

void TKestrin::convertCodesToUpperCase(int i) {
  TTivra* e = editor(i);
  if (!e) return;
  const std::string text = e->TextBytes();
  if (text.find('<') == std::string::npos) return;
  const Hourglass wait;
  const std::string upper = morvel::codesToUpperCase(text);
  if (upper == text) return;
  const morvel::Selection selected = morvel::selectionOf(*e);
  morvel::replaceWholeText(*e, upper);
  // Letters change case in place: the selection still covers the same text.
  morvel::select(*e, selected.anchor, selected.caret);
}
