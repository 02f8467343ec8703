// What the multi-purpose text dialog builds and changes: sound codes, frame
// set start tags and the title of a page. Texts are Windows-1252 bytes.
#pragma once

#include "dialogs/edited_element.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvel {

// <EMBED SRC="file" AUTOSTART="TRUE" LOOP="0">
std::string soundCode(std::string_view file);

// How the frame set fields start from the attributes of a <FRAMESET> tag.
struct FrameSetFields {
  std::string rows;
  std::string columns;
  bool rowsGreyed = false;
  bool columnsGreyed = false;
  // With both rows and columns: the border thickness and visibility.
  bool border = false;
  std::string thickness;
  bool visible = true;
};
FrameSetFields frameSetFields(const FrameSetAttributes& frameSet);

struct FrameSetBorder {
  bool visible = true;
  std::string thickness;
};
// <FRAMESET FRAMEBORDER=".." FRAMESPACING=".." BORDER=".." ROWS=".." COLS=".."
// + kept attributes + ">"; the border parts only with a border.
std::string frameSetCode(std::string_view rows, std::string_view columns, const std::optional<FrameSetBorder>& border,
                         std::string_view keptAttributes);

// What giving a page a new title does to its text.
struct TitleChange {
  enum Kind {
    Replace,       // the text between <TITLE> and </T.. becomes the title
    InsertInHead,  // a TITLE line goes in right after <HEAD>
    Damaged,       // <TITLE> without its end code: "Der er fejl i titelkoden."
    NoHead,        // neither TITLE nor HEAD: the page base dialog makes them
  } kind = NoHead;
  std::size_t position = 0;  // where the edit starts
  std::size_t eraseLength = 0;
  std::string insert;
};
TitleChange titleChange(std::string_view page, std::string_view title);

}  // namespace morvel
