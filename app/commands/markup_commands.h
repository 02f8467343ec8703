// The markup commands of the Formater, Indsæt and Struktur menus, the tool
// bar and the pop-up menus, the user's own codes, the automatic update date
// and the generator line, and the codes for a file. They work on the
// documents of a DocumentHost; every change they make to a page goes
// through code_insertion.h.
#pragma once

#include "markup/picture_size.h"
#include "markup/text_position.h"

#include <QString>

#include <functional>
#include <optional>

namespace morvel {

class DocumentHost;

// The commands that put codes round the selection or at the caret, and the
// update date (F6) and the system colour dialog.
enum class MarkupCommand {
  Bold,
  Italic,
  Underline,
  FontSizeUp,
  FontSizeDown,
  Heading1,
  Heading2,
  Heading3,
  Heading4,
  Heading5,
  Heading6,
  Typewriter,
  Preformatted,
  Center,
  AlignRight,
  Justify,
  LineBreak,
  Paragraph,
  HorizontalRule,
  NonBreakingSpace,
  Comment,
  TableRow,
  TableCell,
  ListItem,
  UpdateDate,
  SystemColour,
};

class MarkupCommands {
 public:
  explicit MarkupCommands(DocumentHost& host) : host_(host) {}

  // The command on the active document.
  void run(MarkupCommand c);
  // The user's own code i (1..9) of section "Koder" round the selection.
  void userCode(int i);
  // F6: the update date at the caret, or brought up to date where it is;
  // a page that refused one takes it now.
  void updateDate();
  // The update date of document i as a save gives it: brought up to date,
  // or, when missing, asked for (`ask`) and put at the end of the page
  // (`atEnd`) or at the caret.
  void updateAutomaticDate(int i, bool ask, bool atEnd);
  // The "Generator" META element of document i, put in or renewed.
  void insertGeneratorLine(int i);
  // The codes for a file (a picture, a sound or a link) at the caret of the
  // active document.
  void insertCodeForFile(const QString& path);
  // Where the "</FONT>" that closes the FONT start code at the start of the
  // selection of document i lies; none when it is missing.
  std::optional<TextPosition> matchingFontEnd(int i);

  // The size the picture viewer shows a picture at; empty, or no answer,
  // means the picture's own size.
  std::function<std::optional<PictureSize>(const QString& path)> viewerPictureSize;

 private:
  DocumentHost& host_;
};

}  // namespace morvel
