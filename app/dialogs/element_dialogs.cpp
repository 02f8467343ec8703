// TKestrin: the element dialogs for new elements, and the edit-element
// command (F4) that opens the dialog of the element around the caret with
// the element taken apart into the shared edit state.
#include "dialogs/element_dialogs.h"

#include "commands/code_insertion.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/element_state.h"
#include "dialogs/font_dialog.h"
#include "dialogs/forms_dialog.h"
#include "dialogs/line_dialog.h"
#include "dialogs/link_codes.h"
#include "dialogs/link_dialog.h"
#include "dialogs/list_dialog.h"
#include "dialogs/picture_dialog.h"
#include "dialogs/text_dialog.h"
#include "dialogs/web_colour_dialog.h"
#include "interaction.h"
#include "mainwindow/kestrin.h"
#include "qtext.h"
#include "settings/indstillinger.h"
#include "startup/splash.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace morvel {

QPointer<QDialog>& formsDialog() {
  static QPointer<QDialog> dialog;
  return dialog;
}

QString oneLineText(const std::string& bytes) {
  if (bytes.find_first_of("\r\n") != std::string::npos) return platform::fromCp1252(kSelectedTextPlaceholder);
  return platform::fromCp1252(bytes);
}

std::string textFromField(const QString& field, const std::string& original) {
  if (field == platform::fromCp1252(kSelectedTextPlaceholder)) return original;
  return platform::toCp1252(field);
}

const QString kOkHelpText =
    QStringLiteral("Indsætter HTML-koden med de valgte indstillinger på markørens plads i dokumentet.");
const QString kCancelHelpText = QStringLiteral("Ser bort fra de foretagne valg og lukker dialogboksen.");

OkCancel okCancelButtons(QDialog* dialog) {
  OkCancel buttons{new QPushButton(QStringLiteral("&OK"), dialog), new QPushButton(QStringLiteral("Annuller"), dialog),
                   new QHBoxLayout};
  buttons.ok->setObjectName(QStringLiteral("cmdOk"));
  buttons.cancel->setObjectName(QStringLiteral("cmdAnnuller"));
  buttons.ok->setDefault(true);
  QObject::connect(buttons.cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  buttons.row->addStretch();
  buttons.row->addWidget(buttons.ok);
  buttons.row->addWidget(buttons.cancel);
  return buttons;
}

QLabel* helpLine(QDialog* dialog) {
  auto* line = new QLabel(dialog);
  line->setObjectName(QStringLiteral("lblHjaelp"));
  line->setWordWrap(true);
  // The texts show codes such as "<A HREF=>", which are not markup here.
  line->setTextFormat(Qt::PlainText);
  line->setFrameShape(QFrame::StyledPanel);
  // Room for two lines, so that the dialog does not jump as texts change.
  line->setMinimumHeight(line->fontMetrics().lineSpacing() * 2 + 6);
  line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return line;
}

DynamicHelp* endWithHelpLine(QDialog* dialog, QVBoxLayout* layout, QHBoxLayout* buttonRow, const QString& idle) {
  QLabel* line = helpLine(dialog);
  layout->addLayout(buttonRow);
  layout->addWidget(line);
  return new DynamicHelp(line, idle);
}

}  // namespace morvel

namespace {

namespace kind = morvel::element_kind;

// Runs the text dialog for a kind and clears the shared state afterwards,
// as closing any element dialog does.
void runTextDialog(TKestrin& main, int elementKind) {
  morvel::elementEditState().kind = elementKind;
  TDialog dialog(main, elementKind);
  platform::runModal(&dialog, &main);
  morvel::elementEditState().reset();
}

void runLinkDialog(TKestrin& main) {
  THenvisning dialog(main);
  platform::runModal(&dialog, &main);
  morvel::elementEditState().reset();
}

void runEditor(TKestrin& main, morvel::ElementEditor editor, int elementKind) {
  using E = morvel::ElementEditor;
  switch (editor) {
    case E::Link:
      if (elementKind == kind::kEmail)
        runTextDialog(main, elementKind);
      else
        runLinkDialog(main);
      return;
    case E::TextDialog:
    case E::TitleRename:
      runTextDialog(main, elementKind);
      return;
    // The other dialogs read the edit mode and the slots when they open.
    case E::Font:
      main.openElementDialog(ElementDialog::Font);
      return;
    case E::Line:
      main.openElementDialog(ElementDialog::Line);
      return;
    case E::Picture:
      main.openElementDialog(ElementDialog::Picture);
      return;
    case E::Frame:
      main.openElementDialog(ElementDialog::Frames);
      return;
    case E::Base:
      main.openElementDialog(ElementDialog::BaseCodes);
      return;
    case E::TableCell:
      // The table cell dialog (TTabelcelle) edits cells and rows; it has no
      // command of its own for new elements.
      return;
    case E::Table:
      main.openElementDialog(ElementDialog::Table);
      return;
    case E::List:
      main.openElementDialog(ElementDialog::List);
      return;
    case E::Form:
      main.openElementDialog(ElementDialog::Form);
      return;
    case E::Script:
      main.openElementDialog(ElementDialog::ScriptEditor);
      return;
  }
}

void tell(TKestrin& main, const QString& text) {
  platform::messageBox(&main, text, morvel::productName(), MB_OK | MB_ICONINFORMATION);
}

const QString kFontWithoutEnd = QStringLiteral(
    "Morvel kan ikke finde en slut-kode, </FONT>, der hører til den fontkode, du har klikket i.\n"
    "Kontroller din HTML-kode, før du fortsætter. Tast F9 for at få hjælp til at finde eventuelle fejl.");

}  // namespace

// Also the edit-element command's way into the dialogs that are not the
// link or text dialog: they find the edit mode set.
void TKestrin::openElementDialog(ElementDialog d) {
  switch (d) {
    case ElementDialog::Link:
      runLinkDialog(*this);
      return;
    case ElementDialog::Email:
      runTextDialog(*this, kind::kEmail);
      return;
    case ElementDialog::Sound:
      runTextDialog(*this, kind::kSound);
      return;
    case ElementDialog::RenameTitle:
      runTextDialog(*this, kind::kTitle);
      return;
    case ElementDialog::Picture: {
      TfrmGrafik dialog(*this);
      platform::runModal(&dialog, this);
      morvel::elementEditState().reset();
      return;
    }
    case ElementDialog::Line: {
      TLinie dialog(*this);
      platform::runModal(&dialog, this);
      morvel::elementEditState().reset();
      return;
    }
    case ElementDialog::List: {
      TPunktopstilling dialog(*this);
      platform::runModal(&dialog, this);
      morvel::elementEditState().reset();
      return;
    }
    case ElementDialog::Font: {
      TSkrift dialog(*this);
      platform::runModal(&dialog, this);
      morvel::elementEditState().reset();
      return;
    }
    case ElementDialog::Form: {
      QPointer<QDialog>& kept = morvel::formsDialog();
      if (!kept) kept = new TFormular(*this);
      auto* forms = static_cast<TFormular*>(kept.data());
      if (morvel::elementEditState().editMode) {
        forms->prepareEdit();
        platform::runModal(forms, this);
        morvel::elementEditState().reset();
        return;
      }
      forms->prepareNew();
      forms->show();
      forms->raise();
      forms->activateWindow();
      return;
    }
    case ElementDialog::WebColour: {
      TWebColorDialog dialog;
      if (dialog.Execute(this, store())) insertText(dialog.Color);
      return;
    }
    // Frames (TRammer), Table (TTabel), Meta,
    // ScriptEditor (TfrmSkript), BaseCodes (TBasis),
    // and NewFromTemplate: their dialogs open here once they exist.
    default:
      morvel::elementEditState().reset();
      return;
  }
}

void TKestrin::editElement() {
  TTivra* e = activeEditor();
  if (!e) return;
  if (morvel::formsDialog() && morvel::formsDialog()->isVisible()) {
    tell(*this, QStringLiteral("Luk formular-dialogboksen, før du redigerer."));
    return;
  }
  const morvel::TextPosition caret = morvel::selectionOf(*e).caret;
  const std::string page = e->TextBytes();
  const morvel::ElementToEdit found =
      morvel::findElementToEdit(page, morvel::offsetOf(page, caret), settings_.keepUnknownAttributes);
  switch (found.result) {
    case morvel::ElementSearch::NoElement:
      tell(*this, QStringLiteral("Morvel kan ikke automatisk redigere denne HTML-kode."));
      return;
    case morvel::ElementSearch::FontWithoutEnd:
      tell(*this, kFontWithoutEnd);
      return;
    case morvel::ElementSearch::Found:
      break;
  }
  morvel::ElementEditState& state = morvel::elementEditState();
  state.editMode = true;
  state.kind = found.kind;
  state.slotValues = found.slotValues;
  state.keptAttributes = found.keptAttributes;
  morvel::select(*e, morvel::positionAt(page, found.replaceBegin), morvel::positionAt(page, found.replaceEnd));
  runEditor(*this, found.row->editor, found.kind);
  state.reset();
  // Back on the line where the element begins, at the column of the caret.
  if (TTivra* after = activeEditor()) {
    const morvel::TextPosition back{morvel::positionAt(page, found.tagBegin).line, caret.column};
    morvel::select(*after, back, back);
  }
}
