// The element dialogs as the commands of the menus and the edit-element
// command (F4) open them, and what the dialogs share on the Qt side: the
// one-line showing of a text that may span lines, and the rows of OK,
// Cancel and help that every element dialog has.
#pragma once

#include "controls/dynamic_help.h"
#include "dialogs/edited_element.h"

#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <string>

class QDialog;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class DynamicHelp;
class QPushButton;
class QSpinBox;
class QWidget;
class TfrmSkript;
class TKodeboks;

// The commands of the menus whose work is an element dialog.
enum class ElementDialog {
  Font,
  Link,
  Picture,
  Sound,
  Line,
  Email,
  List,
  Frames,
  Table,
  Meta,
  Form,
  ScriptEditor,
  BaseCodes,
  NewFromTemplate,
  WebColour,
  RenameTitle,
};

namespace morvel {

class DocumentHost;

// Opens the element dialogs on the documents of a host: for a new element,
// or for the element around the caret.
class ElementDialogs {
 public:
  explicit ElementDialogs(DocumentHost& host);
  ~ElementDialogs();
  ElementDialogs(const ElementDialogs&) = delete;
  ElementDialogs& operator=(const ElementDialogs&) = delete;

  // The dialog of a menu command, for a new element.
  void open(ElementDialog d);
  // F4: the dialog of the element around the caret of the active document,
  // with the element taken apart.
  void editElement();
  // "&Basiskoder, ny side...": the page base dialog for a new page, or to
  // edit the page's <BODY>.
  void baseCodes();
  // The forms dialog, kept open beside the page once made; null before.
  QDialog* formsDialog() const;
  // The code box and the script editor: made on first use (the script
  // editor when the program starts) and kept for the run.
  TKodeboks& codeBox();
  TfrmSkript& scriptEditor();

 private:
  void run(ElementDialog d, const EditedElement& element);
  void runForms(const EditedElement& element);
  // The dialog of an element the edit-element command took apart.
  void edit(ElementEditor editor, const EditedElement& element);
  void runTable(const EditedElement& element);
  void runMeta();
  void tell(const QString& text);

  DocumentHost& host_;
  // The dialogs made once and kept: they belong to the host's window.
  QPointer<QDialog> forms_;
  QPointer<TKodeboks> codeBox_;
  QPointer<TfrmSkript> script_;
  QPointer<QDialog> table_;
  QPointer<QDialog> meta_;
  // The text for browsers without frames, shared by every frames dialog
  // of the run.
  std::string noFramesText_;
};

// A text as a one-line field shows it: a text that spans lines is shown as
// "(markeret tekst/objekt)" and stays as it is unless the user types over it.
QString oneLineText(const std::string& bytes);
std::string textFromField(const QString& field, const std::string& original);

// The "&OK" (default) and "Annuller" buttons of an element dialog, named
// cmdOk and cmdAnnuller, with Cancel rejecting the dialog.
struct OkCancel {
  QPushButton* ok;
  QPushButton* cancel;
  QHBoxLayout* row;
};
OkCancel okCancelButtons(QDialog* dialog);

// Ends a dialog's layout with its button row and the help line below it;
// the dialog's controls are then added to the help it gives back.
DynamicHelp* endWithHelpLine(QDialog* dialog, QVBoxLayout* layout, QHBoxLayout* buttonRow, const QString& idle);

// A number field with its up-down arrows, named `upDownName`, whose text
// field is named `fieldName`: it takes digits only, and a typed number
// counts once the field is left or Enter pressed.
QSpinBox* numberField(QWidget* parent, const char* upDownName, const char* fieldName, int minimum, int maximum);

// A label that gives its shortcut letter's focus to `buddy`.
QLabel* buddyLabel(QWidget* parent, const QString& caption, QWidget* buddy);

// An open dialog for one existing file, titled `title`, starting in the
// folder of the host's active page; the full path chosen, or empty.
using FileFilters = QList<QPair<QString, QStringList>>;
QString chooseFile(QWidget* parent, const DocumentHost& host, const QString& title, const FileFilters& filters);

// The address by which the host's active page refers to a file: relative
// to the page's folder with "/" between folders, or the file name alone
// while the page has no file.
QString addressFromActivePage(const DocumentHost& host, const QString& file);

// The filter of the page files the dialogs browse for.
extern const QStringList kPageMasks;

}  // namespace morvel
