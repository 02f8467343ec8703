#include "dialogs/text_dialog_codes.h"

#include "ascii.h"
#include "dialogs/link_codes.h"

namespace morvel {

namespace {

bool fillsTheRest(std::string_view size) { return size.empty() || size == "100%"; }

}  // namespace

std::string soundCode(std::string_view file) {
  return "<EMBED SRC=\"" + std::string(file) + "\" AUTOSTART=\"TRUE\" LOOP=\"0\">";
}

FrameSetFields frameSetFields(const FrameSetAttributes& frameSet) {
  FrameSetFields fields;
  fields.rows = frameSet.rows;
  fields.columns = frameSet.cols;
  fields.rowsGreyed = fillsTheRest(fields.rows) && !fillsTheRest(fields.columns);
  fields.columnsGreyed = fillsTheRest(fields.columns) && !fillsTheRest(fields.rows);
  if (!fields.rows.empty() && !fields.columns.empty()) {
    fields.border = true;
    fields.thickness = wholeNumber(frameSet.frameSpacing) ? frameSet.frameSpacing : frameSet.border;
    fields.visible = !(frameSet.frameBorder == "0" || ascii::equalIgnoringCase(frameSet.frameBorder, "NO"));
  }
  return fields;
}

std::string frameSetCode(std::string_view rows, std::string_view columns, const std::optional<FrameSetBorder>& border,
                         std::string_view keptAttributes) {
  std::string code = "<FRAMESET";
  if (border) {
    code += quotedAttribute("FRAMEBORDER", border->visible ? "1" : "0");
    code += quotedAttribute("FRAMESPACING", border->thickness) + quotedAttribute("BORDER", border->thickness);
  }
  if (!rows.empty()) code += quotedAttribute("ROWS", rows);
  if (!columns.empty()) code += quotedAttribute("COLS", columns);
  return code + std::string(keptAttributes) + ">";
}

TitleChange titleChange(std::string_view page, std::string_view title) {
  TitleChange change;
  constexpr std::string_view open = "<TITLE>";
  const std::size_t start = ascii::findIgnoringCase(page, open);
  if (start != std::string_view::npos) {
    const std::size_t from = start + open.size();
    const std::size_t end = ascii::findIgnoringCase(page, "</T", from);
    if (end == std::string_view::npos) {
      change.kind = TitleChange::Damaged;
      return change;
    }
    change.kind = TitleChange::Replace;
    change.position = from;
    change.eraseLength = end - from;
    change.insert = std::string(title);
    return change;
  }
  constexpr std::string_view head = "<HEAD>";
  const std::size_t headAt = ascii::findIgnoringCase(page, head);
  if (headAt == std::string_view::npos) return change;
  change.kind = TitleChange::InsertInHead;
  change.position = headAt + head.size();
  change.insert = "\r\n\t<TITLE>" + std::string(title) + "</TITLE>";
  return change;
}

}  // namespace morvel
