#include "commands/code_commands.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "controls/hourglass.h"
#include "interaction.h"
#include "markup/code_check.h"
#include "markup/code_cleanup.h"
#include "qtext.h"
#include "startup/splash.h"

namespace morvel {

void CodeCommands::checkHtmlCodes() {
  TTivra* e = host_.activeEditor();
  if (!e || isEmptyText(*e)) return;
  CodeCheckResult result;
  {
    const Hourglass wait;
    const EditorText page = editorText(*e);
    result = checkHtmlCode(page.bytes, page.continued);
  }
  platform::messageBox(host_.dialogParent(), platform::fromCp1252(result.report), productName(), MB_OK);
}

void CodeCommands::stripHtmlCodes() {
  TTivra* e = host_.activeEditor();
  if (!e || isEmptyText(*e)) return;
  const Hourglass wait;
  replaceWholeText(*e, stripCodes(e->TextBytes()));
}

void CodeCommands::convertCodesToUpperCase(int i) {
  TTivra* e = host_.editor(i);
  if (!e) return;
  const std::string text = e->TextBytes();
  if (text.find('<') == std::string::npos) return;
  const Hourglass wait;
  const std::string upper = codesToUpperCase(text);
  if (upper == text) return;
  const Selection selected = selectionOf(*e);
  replaceWholeText(*e, upper);
  // Letters change case in place: the selection still covers the same text.
  select(*e, selected.anchor, selected.caret);
}

}  // namespace morvel
