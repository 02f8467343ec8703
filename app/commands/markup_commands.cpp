#include "commands/markup_commands.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "interaction.h"
#include "markup/auto_insert.h"
#include "markup/color_codes.h"
#include "markup/date_format.h"
#include "markup/markup_text.h"
#include "qtext.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

#include <QFile>

namespace morvel {

namespace st = settings;

namespace {

enum class Action {
  Wrap,    // the selection between the start and the end code
  Insert,  // the start code at the caret
  // The end code only when there is a selection to put between the two.
  WrapSelectionOrInsert,
};

struct DirectCommand {
  MarkupCommand command;
  Action action;
  const char* start;
  const char* end;
};

constexpr DirectCommand kDirectCommands[] = {
    {MarkupCommand::Bold, Action::Wrap, "<B>", "</B>"},
    {MarkupCommand::Italic, Action::Wrap, "<I>", "</I>"},
    {MarkupCommand::Underline, Action::Wrap, "<U>", "</U>"},
    {MarkupCommand::FontSizeUp, Action::Wrap, "<FONT SIZE=\"+1\">", "</FONT>"},
    {MarkupCommand::FontSizeDown, Action::Wrap, "<FONT SIZE=\"-1\">", "</FONT>"},
    {MarkupCommand::Heading1, Action::Wrap, "<H1>", "</H1>"},
    {MarkupCommand::Heading2, Action::Wrap, "<H2>", "</H2>"},
    {MarkupCommand::Heading3, Action::Wrap, "<H3>", "</H3>"},
    {MarkupCommand::Heading4, Action::Wrap, "<H4>", "</H4>"},
    {MarkupCommand::Heading5, Action::Wrap, "<H5>", "</H5>"},
    {MarkupCommand::Heading6, Action::Wrap, "<H6>", "</H6>"},
    {MarkupCommand::Typewriter, Action::Wrap, "<TT>", "</TT>"},
    {MarkupCommand::Preformatted, Action::Wrap, "<PRE>", "</PRE>"},
    {MarkupCommand::Center, Action::Wrap, "<CENTER>", "</CENTER>"},
    {MarkupCommand::AlignRight, Action::Wrap, "<P ALIGN=\"RIGHT\">", "</P>"},
    {MarkupCommand::Justify, Action::Wrap, "<P ALIGN=\"JUSTIFY\">", "</P>"},
    {MarkupCommand::LineBreak, Action::Insert, "<BR>", ""},
    {MarkupCommand::Paragraph, Action::WrapSelectionOrInsert, "<P>", "</P>"},
    {MarkupCommand::HorizontalRule, Action::Insert, "<HR>", ""},
    {MarkupCommand::NonBreakingSpace, Action::Insert, "&nbsp;", ""},
    {MarkupCommand::Comment, Action::Wrap, "<!-- ", " -->"},
    {MarkupCommand::TableRow, Action::Wrap, "<TR>", "</TR>"},
    {MarkupCommand::TableCell, Action::Wrap, "<TD>", "</TD>"},
    {MarkupCommand::ListItem, Action::WrapSelectionOrInsert, "<LI>", "</LI>"},
};

const DirectCommand* directCommand(MarkupCommand c) {
  for (const DirectCommand& d : kDirectCommands) {
    if (d.command == c) return &d;
  }
  return nullptr;
}

void runDirect(TTivra& e, const DirectCommand& d) {
  const bool wrap = d.action == Action::Wrap || (d.action == Action::WrapSelectionOrInsert && e.SelLength() > 0);
  if (wrap)
    morvel::wrapSelectionBytes(e, d.start, d.end);
  else
    e.InsertBytes(d.start);
}

std::optional<COLORREF> askForColour(QWidget* parent) {
  platform::ColourDialogRequest choice{RGB(0, 0, 0)};
  platform::Request r(platform::RequestKind::Colour);
  r.parentWidget = parent;
  r.data = &choice;
  if (!platform::ask(r)) return std::nullopt;
  return choice.colour;
}

QString autoDateCaption() {
  return QString::fromUtf8(morvel::kAutoDateCaption.data(), static_cast<qsizetype>(morvel::kAutoDateCaption.size()));
}

}  // namespace

void MarkupCommands::run(MarkupCommand c) {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  if (const DirectCommand* d = directCommand(c)) {
    runDirect(*e, *d);
    return;
  }
  switch (c) {
    case MarkupCommand::UpdateDate:
      updateDate();
      break;
    case MarkupCommand::SystemColour:
      if (const std::optional<COLORREF> colour = askForColour(host_.dialogParent()))
        insertAtCaret(*e, QString::fromStdString(colorCode(*colour)));
      break;
    default:
      break;
  }
}

void MarkupCommands::userCode(int i) {
  const QString start = QString::fromStdString(host_.store().ReadString(st::kKoder, st::userCode(i, 'b'), ""));
  const QString end = QString::fromStdString(host_.store().ReadString(st::kKoder, st::userCode(i, 'c'), ""));
  if (start.isEmpty() && end.isEmpty()) return;
  if (TTivra* e = host_.activeEditor()) wrapSelection(*e, start, end);
}

// ---------------------------------------------------------------------------
// The automatic update date and the generator line

void MarkupCommands::updateDate() {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  // The user asks for a date, so a page that refused one takes it now.
  if (const std::optional<TextEdit> removal = refusalRemoval(e->TextBytes())) editText(*e, {*removal});
  updateAutomaticDate(host_.activeDocument(), false, false);
}

void MarkupCommands::updateAutomaticDate(int i, bool ask, bool atEnd) {
  TTivra* e = host_.editor(i);
  if (!e) return;
  const std::string format = platform::toCp1252(host_.settings().dateFormat);
  const std::string date = formatDateTime(format, currentDateTime());
  const EditorText page = editorText(*e);
  const std::string& text = page.bytes;
  const AutoDateFinding found = findAutoDate(text, date);
  switch (found.state) {
    case AutoDateState::Current:
    case AutoDateState::Refused:
      return;
    case AutoDateState::Dated:
      editText(*e, {{found.dateBegin, found.dateEnd - found.dateBegin, date}});
      return;
    case AutoDateState::Damaged: {
      // The message asks the user to delete what is selected: the marker.
      select(*e, page.positionAt(found.startMarker), page.positionAt(found.startMarker + kAutoDateStart.size()));
      const std::string message = damagedAutoDateMessage(host_.documentName(i).toStdString());
      platform::messageBox(host_.dialogParent(), QString::fromStdString(message), autoDateCaption(),
                           MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    case AutoDateState::Missing:
      break;
  }
  if (ask) {
    const std::string question = missingAutoDateQuestion(host_.documentName(i).toStdString());
    const int answer = platform::messageBox(host_.dialogParent(), QString::fromStdString(question), autoDateCaption(),
                                            MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
      editText(*e, {{refusalPosition(text), 0, refusalBlock()}});
      return;
    }
  }
  // At the caret the date goes in front of a selection, which stays selected.
  const std::size_t at = atEnd ? autoDatePositionAtEnd(text) : page.offsetOf(selectionOf(*e).first());
  editText(*e, {{at, 0, autoDateBlock(date)}});
}

void MarkupCommands::insertGeneratorLine(int i) {
  if (TTivra* e = host_.editor(i)) editText(*e, generatorLineEdits(e->TextBytes()));
}

// ---------------------------------------------------------------------------
// Files and FONT end codes

void MarkupCommands::insertCodeForFile(const QString& path) {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  const std::string file = path.toStdString();
  std::optional<PictureSize> size;
  if (takesPictureCode(file)) {
    if (viewerPictureSize) size = viewerPictureSize(path);
    // Read from the file itself, so that the code gets the size of this
    // picture and not of whatever the viewer shows.
    if (!size) size = readPictureSize(QFile::encodeName(path).toStdString());
  }
  for (const std::string& code : codesForFile(file, host_.activeFileName().toStdString(), size))
    e->InsertText(QString::fromStdString(code));
}

std::optional<TextPosition> MarkupCommands::matchingFontEnd(int i) {
  TTivra* e = host_.editor(i);
  if (!e) return std::nullopt;
  const EditorText text = editorText(*e);
  const std::optional<std::size_t> end = morvel::matchingFontEnd(text.bytes, text.offsetOf(selectionOf(*e).first()));
  if (!end) return std::nullopt;
  return text.positionAt(*end);
}

}  // namespace morvel
