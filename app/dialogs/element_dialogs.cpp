#include "dialogs/element_dialogs.h"

#include "ascii.h"
#include "commands/code_insertion.h"
#include "commands/document_host.h"
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "controls/dynamic_help.h"
#include "dialogs/base_dialog.h"
#include "dialogs/code_box.h"
#include "dialogs/edited_element.h"
#include "dialogs/font_dialog.h"
#include "dialogs/forms_dialog.h"
#include "dialogs/frames_dialog.h"
#include "dialogs/line_dialog.h"
#include "dialogs/link_codes.h"
#include "dialogs/link_dialog.h"
#include "dialogs/list_dialog.h"
#include "dialogs/meta_dialog.h"
#include "dialogs/picture_dialog.h"
#include "dialogs/script_editor.h"
#include "dialogs/table_dialog.h"
#include "dialogs/template_dialog.h"
#include "dialogs/text_dialog.h"
#include "dialogs/web_colour_dialog.h"
#include "interaction.h"
#include "markup/markup_text.h"
#include "qtext.h"
#include "settings/settings.h"
#include "startup/splash.h"

#include <QDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace morvel {

QString oneLineText(const std::string& bytes) {
  if (bytes.find_first_of("\r\n") != std::string::npos) return platform::fromCp1252(kSelectedTextPlaceholder);
  return platform::fromCp1252(bytes);
}

std::string textFromField(const QString& field, const std::string& original) {
  if (field == platform::fromCp1252(kSelectedTextPlaceholder)) return original;
  return platform::toCp1252(field);
}

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

QSpinBox* numberField(QWidget* parent, const char* upDownName, const char* fieldName, int minimum, int maximum) {
  auto* n = new QSpinBox(parent);
  n->setObjectName(QString::fromLatin1(upDownName));
  if (auto* edit = n->findChild<QLineEdit*>()) edit->setObjectName(QString::fromLatin1(fieldName));
  n->setRange(minimum, maximum);
  n->setKeyboardTracking(false);
  return n;
}

QLabel* buddyLabel(QWidget* parent, const QString& caption, QWidget* buddy) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(buddy);
  return label;
}

const QStringList kPageMasks{QStringLiteral("*.htm*"), QStringLiteral("*.shtml"), QStringLiteral("*.phtml"),
                             QStringLiteral("*.asp")};

QString chooseFile(QWidget* parent, const DocumentHost& host, const QString& title, const FileFilters& filters) {
  platform::FileDialogRequest choice;
  choice.title = title;
  choice.fileMustExist = true;
  choice.filters = filters;
  const QString page = host.activeFileName();
  if (!page.isEmpty()) choice.folder = QFileInfo(page).absolutePath();
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = parent;
  r.caption = choice.title;
  r.data = &choice;
  if (!platform::ask(r) || choice.chosen.isEmpty()) return {};
  return choice.chosen.first();
}

QString addressFromActivePage(const DocumentHost& host, const QString& file) {
  return QString::fromStdString(morvel::addressOfFile(file.toStdString(), host.activeFileName().toStdString()));
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

const QString kFontWithoutEnd = QStringLiteral(
    "Morvel kan ikke finde en slut-kode, </FONT>, der hører til den fontkode, du har klikket i.\n"
    "Kontroller din HTML-kode, før du fortsætter. Tast F9 for at få hjælp til at finde eventuelle fejl.");

// The kind of the element a command's dialog makes.
ElementKind kindOf(ElementDialog d) {
  switch (d) {
    case ElementDialog::Sound:
      return ElementKind::Sound;
    case ElementDialog::Email:
      return ElementKind::Email;
    case ElementDialog::RenameTitle:
      return ElementKind::Title;
    default:
      return ElementKind::Plain;
  }
}

template <typename Dialog>
void runModally(DocumentHost& host, const EditedElement& element) {
  Dialog dialog(host, element);
  platform::runModal(&dialog, host.dialogParent());
}

}  // namespace

ElementDialogs::ElementDialogs(DocumentHost& host) : host_(host) {}

// The forms dialog belongs to the host's window, which destroys it.
ElementDialogs::~ElementDialogs() = default;

QDialog* ElementDialogs::formsDialog() const { return forms_.data(); }

TKodeboks& ElementDialogs::codeBox() {
  if (!codeBox_) codeBox_ = new TKodeboks(host_);
  return *codeBox_;
}

TfrmSkript& ElementDialogs::scriptEditor() {
  if (!script_) script_ = new TfrmSkript(host_);
  return *script_;
}

void ElementDialogs::tell(const QString& text) {
  platform::messageBox(host_.dialogParent(), text, productName(), MB_OK | MB_ICONINFORMATION);
}

void ElementDialogs::open(ElementDialog d) { run(d, newElement(kindOf(d))); }

void ElementDialogs::run(ElementDialog d, const EditedElement& element) {
  switch (d) {
    case ElementDialog::Link:
      runModally<THenvisning>(host_, element);
      return;
    case ElementDialog::Email:
    case ElementDialog::Sound:
    case ElementDialog::RenameTitle:
      runModally<TDialog>(host_, element);
      return;
    case ElementDialog::Picture:
      runModally<TfrmGrafik>(host_, element);
      return;
    case ElementDialog::Line:
      runModally<TLinie>(host_, element);
      return;
    case ElementDialog::List:
      runModally<TPunktopstilling>(host_, element);
      return;
    case ElementDialog::Font:
      runModally<TSkrift>(host_, element);
      return;
    case ElementDialog::Form:
      runForms(element);
      return;
    case ElementDialog::ScriptEditor:
      if (element.editMode) {
        if (scriptEditor().prepareEdit(element)) platform::runModal(&scriptEditor(), host_.dialogParent());
        return;
      }
      scriptEditor().prepareNew();
      scriptEditor().show();
      scriptEditor().raise();
      scriptEditor().activateWindow();
      return;
    case ElementDialog::WebColour: {
      TWebColorDialog dialog;
      if (dialog.Execute(host_.dialogParent(), host_.store())) {
        if (TTivra* e = host_.activeEditor()) insertAtCaret(*e, dialog.Color);
      }
      return;
    }
    case ElementDialog::Frames: {
      TRammer dialog(host_, element, noFramesText_);
      platform::runModal(&dialog, host_.dialogParent());
      return;
    }
    case ElementDialog::Table:
      runTable(element);
      return;
    case ElementDialog::Meta:
      runMeta();
      return;
    case ElementDialog::BaseCodes:
      runModally<TBasis>(host_, element);
      return;
    case ElementDialog::NewFromTemplate: {
      TSkabelon dialog(host_);
      platform::runModal(&dialog, host_.dialogParent());
      dialog.rememberSize();
      return;
    }
    default:
      return;
  }
}

void ElementDialogs::runTable(const EditedElement& element) {
  if (!table_) table_ = new TTabel(host_, element);
  auto* table = static_cast<TTabel*>(table_.data());
  table->prepare(element);
  platform::runModal(table, host_.dialogParent());
}

void ElementDialogs::runMeta() {
  if (!meta_) meta_ = new TMeta(host_);
  platform::runModal(meta_, host_.dialogParent());
}

// A new element is inserted with the dialog open beside the page; an edited
// one is rebuilt with the dialog run modally.
void ElementDialogs::runForms(const EditedElement& element) {
  if (!forms_) forms_ = new TFormular(host_);
  auto* forms = static_cast<TFormular*>(forms_.data());
  if (element.editMode) {
    forms->prepareEdit(element);
    platform::runModal(forms, host_.dialogParent());
    return;
  }
  forms->prepareNew();
  forms->show();
  forms->raise();
  forms->activateWindow();
}

void ElementDialogs::edit(const ElementEditor editor, const EditedElement& element) {
  using E = ElementEditor;
  switch (editor) {
    case E::Link:
      // An e-mail link is the text dialog's.
      run(element.kind == ElementKind::Email ? ElementDialog::Email : ElementDialog::Link, element);
      return;
    case E::TextDialog:
    case E::TitleRename:
      runModally<TDialog>(host_, element);
      return;
    case E::Font:
      run(ElementDialog::Font, element);
      return;
    case E::Line:
      run(ElementDialog::Line, element);
      return;
    case E::Picture:
      run(ElementDialog::Picture, element);
      return;
    case E::Frame:
      run(ElementDialog::Frames, element);
      return;
    case E::Base:
      run(ElementDialog::BaseCodes, element);
      return;
    case E::TableCell:
      // Cells and rows: the cell dialog has no command of its own.
      runModally<TTabelcelle>(host_, element);
      return;
    case E::Table:
      run(ElementDialog::Table, element);
      return;
    case E::List:
      run(ElementDialog::List, element);
      return;
    case E::Form:
      run(ElementDialog::Form, element);
      return;
    case E::Script:
      run(ElementDialog::ScriptEditor, element);
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
  select(*e, positionAt(page, found.replaceBegin), positionAt(page, found.replaceEnd));
  edit(found.row->editor, found.element);
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
  const std::size_t body = ascii::findIgnoringCase(text, "<BODY");
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
