#include "dialogs/element_dialogs.h"

#include "commands/code_insertion.h"
#include "commands/document_host.h"
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
#include "markup/ascii_case.h"
#include "qtext.h"
#include "settings/settings.h"
#include "startup/splash.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace morvel {

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

// ---------------------------------------------------------------------------
// Opening the dialogs

namespace {

namespace kind = element_kind;

const QString kFontWithoutEnd = QStringLiteral(
    "Morvel kan ikke finde en slut-kode, </FONT>, der hører til den fontkode, du har klikket i.\n"
    "Kontroller din HTML-kode, før du fortsætter. Tast F9 for at få hjælp til at finde eventuelle fejl.");

}  // namespace

ElementDialogs::ElementDialogs(DocumentHost& host) : host_(host) {}

// The forms dialog belongs to the host's window, which destroys it.
ElementDialogs::~ElementDialogs() = default;

QDialog* ElementDialogs::formsDialog() const { return forms_.data(); }

void ElementDialogs::tell(const QString& text) {
  platform::messageBox(host_.dialogParent(), text, productName(), MB_OK | MB_ICONINFORMATION);
}

// Runs the text dialog for a kind and clears the shared state afterwards,
// as closing any element dialog does.
void ElementDialogs::runTextDialog(int elementKind) {
  elementEditState().kind = elementKind;
  TDialog dialog(host_, elementKind);
  platform::runModal(&dialog, host_.dialogParent());
  elementEditState().reset();
}

void ElementDialogs::runLinkDialog() {
  THenvisning dialog(host_);
  platform::runModal(&dialog, host_.dialogParent());
  elementEditState().reset();
}

void ElementDialogs::runEditor(ElementEditor editor, int elementKind) {
  using E = ElementEditor;
  switch (editor) {
    case E::Link:
      if (elementKind == kind::kEmail)
        runTextDialog(elementKind);
      else
        runLinkDialog();
      return;
    case E::TextDialog:
    case E::TitleRename:
      runTextDialog(elementKind);
      return;
    // The other dialogs read the edit mode and the slots when they open.
    case E::Font:
      open(ElementDialog::Font);
      return;
    case E::Line:
      open(ElementDialog::Line);
      return;
    case E::Picture:
      open(ElementDialog::Picture);
      return;
    case E::Frame:
      open(ElementDialog::Frames);
      return;
    case E::Base:
      open(ElementDialog::BaseCodes);
      return;
    case E::TableCell:
      // The table cell dialog (TTabelcelle) edits cells and rows; it has no
      // command of its own for new elements.
      return;
    case E::Table:
      open(ElementDialog::Table);
      return;
    case E::List:
      open(ElementDialog::List);
      return;
    case E::Form:
      open(ElementDialog::Form);
      return;
    case E::Script:
      open(ElementDialog::ScriptEditor);
      return;
  }
}

// Also the edit-element command's way into the dialogs that are not the
// link or text dialog: they find the edit mode set.
void ElementDialogs::open(ElementDialog d) {
  QWidget* parent = host_.dialogParent();
  switch (d) {
    case ElementDialog::Link:
      runLinkDialog();
      return;
    case ElementDialog::Email:
      runTextDialog(kind::kEmail);
      return;
    case ElementDialog::Sound:
      runTextDialog(kind::kSound);
      return;
    case ElementDialog::RenameTitle:
      runTextDialog(kind::kTitle);
      return;
    case ElementDialog::Picture: {
      TfrmGrafik dialog(host_);
      platform::runModal(&dialog, parent);
      elementEditState().reset();
      return;
    }
    case ElementDialog::Line: {
      TLinie dialog(host_);
      platform::runModal(&dialog, parent);
      elementEditState().reset();
      return;
    }
    case ElementDialog::List: {
      TPunktopstilling dialog(host_);
      platform::runModal(&dialog, parent);
      elementEditState().reset();
      return;
    }
    case ElementDialog::Font: {
      TSkrift dialog(host_);
      platform::runModal(&dialog, parent);
      elementEditState().reset();
      return;
    }
    case ElementDialog::Form: {
      if (!forms_) forms_ = new TFormular(host_);
      auto* forms = static_cast<TFormular*>(forms_.data());
      if (elementEditState().editMode) {
        forms->prepareEdit();
        platform::runModal(forms, parent);
        elementEditState().reset();
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
      if (dialog.Execute(parent, host_.store())) {
        if (TTivra* e = host_.activeEditor()) insertAtCaret(*e, dialog.Color);
      }
      return;
    }
    // Frames (TRammer), Table (TTabel), Meta,
    // ScriptEditor (TfrmSkript), BaseCodes (TBasis),
    // and NewFromTemplate: their dialogs open here once they exist.
    default:
      elementEditState().reset();
      return;
  }
}

void ElementDialogs::editElement() {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  if (forms_ && forms_->isVisible()) {
    tell(QStringLiteral("Luk formular-dialogboksen, før du redigerer."));
    return;
  }
  const TextPosition caret = selectionOf(*e).caret;
  const std::string page = e->TextBytes();
  const ElementToEdit found = findElementToEdit(page, offsetOf(page, caret), host_.settings().keepUnknownAttributes);
  switch (found.result) {
    case ElementSearch::NoElement:
      tell(QStringLiteral("Morvel kan ikke automatisk redigere denne HTML-kode."));
      return;
    case ElementSearch::FontWithoutEnd:
      tell(kFontWithoutEnd);
      return;
    case ElementSearch::Found:
      break;
  }
  ElementEditState& state = elementEditState();
  state.editMode = true;
  state.kind = found.kind;
  state.slotValues = found.slotValues;
  state.keptAttributes = found.keptAttributes;
  select(*e, positionAt(page, found.replaceBegin), positionAt(page, found.replaceEnd));
  runEditor(found.row->editor, found.kind);
  state.reset();
  // Back on the line where the element begins, at the column of the caret.
  if (TTivra* after = host_.activeEditor()) {
    const TextPosition back{positionAt(page, found.tagBegin).line, caret.column};
    select(*after, back, back);
  }
}

void ElementDialogs::baseCodes() {
  TTivra* e = host_.activeEditor();
  if (!e) return;
  const std::string text = e->TextBytes();
  const std::size_t body = findIgnoringCase(text, "<BODY");
  if (body == std::string::npos) {
    open(ElementDialog::BaseCodes);
    return;
  }
  // The caret inside the body's start code makes it the element to edit.
  const TextPosition inside = positionAt(text, body + 5);
  select(*e, inside, inside);
  editElement();
}

}  // namespace morvel
