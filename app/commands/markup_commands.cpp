// TKestrin: the markup commands of the Formater, Indsæt and Struktur menus,
// the tool bar and the pop-up menus; the user's own codes; the automatic
// update date and the generator line; the code for a file; double clicks
// on words; the HTML help. Every change they make to a page goes through
// code_insertion.h.
#include "mainwindow/kestrin.h"

#include "commands/code_insertion.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "interaction.h"
#include "markup/ascii_case.h"
#include "markup/auto_insert.h"
#include "markup/color_codes.h"
#include "markup/date_format.h"
#include "markup/markup_text.h"
#include "qtext.h"
#include "settings/indstillinger.h"
#include "settings/settings_store.h"
#include "startup/help.h"
#include "startup/splash.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QUrl>

namespace st = morvel::settings;

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

void run(TTivra& e, const DirectCommand& d) {
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

// A keyword for a help file from the selected text: "<TABLE>" asks for TABLE.
QString helpKeyword(const QString& selected) {
  QString keyword = selected.trimmed();
  keyword.remove(QLatin1Char('<')).remove(QLatin1Char('>')).remove(QLatin1Char('/'));
  return keyword.trimmed();
}

}  // namespace

// ---------------------------------------------------------------------------
// The two ways codes go in

void TKestrin::wrapSelection(const QString& start, const QString& end) {
  if (TTivra* e = activeEditor()) morvel::wrapSelection(*e, start, end);
}

void TKestrin::insertText(const QString& text) {
  if (TTivra* e = activeEditor()) morvel::insertAtCaret(*e, text);
}

// ---------------------------------------------------------------------------
// Commands

void TKestrin::runMarkupCommand(MarkupCommand c) {
  TTivra* e = activeEditor();
  if (!e) return;
  if (const DirectCommand* d = directCommand(c)) {
    run(*e, *d);
    return;
  }
  switch (c) {
    case MarkupCommand::UpdateDate:
      updateDateCommand();
      break;
    case MarkupCommand::SystemColour:
      if (const std::optional<COLORREF> colour = askForColour(this))
        insertText(QString::fromStdString(morvel::colorCode(*colour)));
      break;
    case MarkupCommand::WebColour:
      openElementDialog(ElementDialog::WebColour);
      break;
    case MarkupCommand::RenameTitle:
      openElementDialog(ElementDialog::RenameTitle);
      break;
    default:
      break;
  }
}

void TKestrin::userCodeCommand(int i) {
  const QString start = QString::fromStdString(store_.ReadString(st::kKoder, st::userCode(i, 'b'), ""));
  const QString end = QString::fromStdString(store_.ReadString(st::kKoder, st::userCode(i, 'c'), ""));
  if (start.isEmpty() && end.isEmpty()) return;
  wrapSelection(start, end);
}

void TKestrin::insertMenuOpening() {
  // The user's own codes: an item for each slot with a description.
  for (int i = 1; i <= 9; ++i) {
    QAction* item = command(QStringLiteral("mnuB%1").arg(i));
    const QString caption = QString::fromStdString(store_.ReadString(st::kKoder, st::userCode(i, 'a'), ""));
    item->setText(caption);
    item->setVisible(!caption.isEmpty());
  }
  if (QMenu* codes = findChild<QMenu*>(QStringLiteral("userCodesMenu")))
    codes->setEnabled(command(QStringLiteral("mnuB1"))->isVisible());
}

void TKestrin::baseCodesCommand() {
  TTivra* e = activeEditor();
  if (!e) return;
  const std::string text = e->TextBytes();
  const std::size_t body = morvel::findIgnoringCase(text, "<BODY");
  if (body == std::string::npos) {
    openElementDialog(ElementDialog::BaseCodes);
    return;
  }
  // The caret inside the body's start code makes it the element to edit.
  const morvel::TextPosition inside = morvel::positionAt(text, body + 5);
  morvel::select(*e, inside, inside);
  editElement();
}

// ---------------------------------------------------------------------------
// The automatic update date and the generator line

void TKestrin::updateDateCommand() {
  TTivra* e = activeEditor();
  if (!e) return;
  // The user asks for a date, so a page that refused one takes it now.
  if (const std::optional<morvel::TextEdit> removal = morvel::refusalRemoval(e->TextBytes()))
    morvel::editText(*e, {*removal});
  updateAutomaticDate(active_, false, false);
}

void TKestrin::updateAutomaticDate(int i, bool ask, bool atEnd) {
  TTivra* e = editor(i);
  if (!e) return;
  const std::string format = platform::toCp1252(settings_.dateFormat);
  const std::string date = morvel::formatDateTime(format, morvel::currentDateTime());
  const std::string text = e->TextBytes();
  const morvel::AutoDateFinding found = morvel::findAutoDate(text, date);
  switch (found.state) {
    case morvel::AutoDateState::Current:
    case morvel::AutoDateState::Refused:
      return;
    case morvel::AutoDateState::Dated:
      morvel::editText(*e, {{found.dateBegin, found.dateEnd - found.dateBegin, date}});
      return;
    case morvel::AutoDateState::Damaged: {
      // The message asks the user to delete what is selected: the marker.
      const morvel::TextPosition marker = morvel::positionAt(text, found.startMarker);
      morvel::select(*e, marker, morvel::positionAt(text, found.startMarker + morvel::kAutoDateStart.size()));
      const std::string message = morvel::damagedAutoDateMessage(documentName(i).toStdString());
      platform::messageBox(this, QString::fromStdString(message), autoDateCaption(), MB_OK | MB_ICONEXCLAMATION);
      return;
    }
    case morvel::AutoDateState::Missing:
      break;
  }
  if (ask) {
    const std::string question = morvel::missingAutoDateQuestion(documentName(i).toStdString());
    const int answer =
        platform::messageBox(this, QString::fromStdString(question), autoDateCaption(), MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) {
      morvel::editText(*e, {{morvel::refusalPosition(text), 0, morvel::refusalBlock()}});
      return;
    }
  }
  // At the caret the date goes in front of a selection, which stays selected.
  const std::size_t at =
      atEnd ? morvel::autoDatePositionAtEnd(text) : morvel::offsetOf(text, morvel::selectionOf(*e).first());
  morvel::editText(*e, {{at, 0, morvel::autoDateBlock(date)}});
}

void TKestrin::insertGeneratorLine(int i) {
  if (TTivra* e = editor(i)) morvel::editText(*e, morvel::generatorLineEdits(e->TextBytes()));
}

// ---------------------------------------------------------------------------
// Files, FONT end codes, words

void TKestrin::insertCodeForFile(const QString& path) {
  TTivra* e = activeEditor();
  if (!e) return;
  const std::string file = path.toStdString();
  std::optional<morvel::PictureSize> size;
  if (morvel::takesPictureCode(file)) {
    size = viewerPictureSize(path);
    // Read from the file itself, so that the code gets the size of this
    // picture and not of whatever the viewer shows.
    if (!size) size = morvel::readPictureSize(QFile::encodeName(path).toStdString());
  }
  for (const std::string& code : morvel::codesForFile(file, fileName(active_).toStdString(), size))
    e->InsertText(QString::fromStdString(code));
}

std::optional<morvel::TextPosition> TKestrin::matchingFontEnd(int i) {
  TTivra* e = editor(i);
  if (!e) return std::nullopt;
  const std::string text = e->TextBytes();
  const std::optional<std::size_t> end =
      morvel::matchingFontEnd(text, morvel::offsetOf(text, morvel::selectionOf(*e).first()));
  if (!end) return std::nullopt;
  return morvel::positionAt(text, *end);
}

void TKestrin::wordDoubleClicked(TTivra& e, bool& handled) {
  // The word between blanks: to the editor's syntax the text between codes
  // is one comment, which it would not select.
  e.setCurrentWordAsText(true);
  const bool found = e.TokenAtCaret() == 0;
  e.setCurrentWordAsText(false);
  if (!found) return;
  const std::string word = e.Token().WordStr;
  const morvel::TextPosition caret = morvel::selectionOf(e).caret;
  const std::string line = e.GetLineBytes(caret.line);
  const auto column = static_cast<std::size_t>(caret.column);
  // The place of the word that the caret touches.
  for (std::size_t at = line.find(word); at != std::string::npos && at <= column; at = line.find(word, at + 1)) {
    if (column > at + word.size()) continue;
    morvel::select(e, {caret.line, static_cast<int>(at)}, {caret.line, static_cast<int>(at + word.size())});
    handled = true;
    return;
  }
}

// ---------------------------------------------------------------------------
// HTML help

void TKestrin::showHtmlHelp() {
  const QString file = settings_.htmlHelpFile.trimmed();
  if (file.isEmpty()) {
    platform::messageBox(this,
                         QStringLiteral("Du skal angive stien til den fil, du ønsker at bruge som HTML-hjælpefil"),
                         morvel::productName(), MB_OK | MB_ICONINFORMATION);
    QTabWidget* pages = indstillinger_->pages;
    for (int k = 0; k < pages->count(); ++k) {
      if (pages->widget(k)->isAncestorOf(indstillinger_->txtHTMLHjaelp)) pages->setCurrentIndex(k);
    }
    indstillinger_->show();
    indstillinger_->raise();
    indstillinger_->activateWindow();
    indstillinger_->txtHTMLHjaelp->setFocus();
    return;
  }
  QUrl page = QUrl::fromLocalFile(file);
  const TTivra* e = activeEditor();
  // With text selected the help opens at that keyword.
  if (const QString keyword = e ? helpKeyword(e->SelText()) : QString(); !keyword.isEmpty()) page.setFragment(keyword);
  morvel::help::show(this, page);
}
