// What the element dialogs share on the Qt side: the forms dialog that
// stops the edit-element command while it is open, the one-line showing of
// a text that may span lines, and the rows of OK, Cancel and help that
// every element dialog has.
#pragma once

#include <QPointer>
#include <QString>

#include <string>

class QDialog;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class DynamicHelp;
class QPushButton;
class TKestrin;

namespace morvel {

// The forms dialog registers itself here while it exists; the edit-element
// command refuses to run while it is open.
QPointer<QDialog>& formsDialog();

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

// The help line at a dialog's bottom, named lblHjaelp.
QLabel* helpLine(QDialog* dialog);

// Ends a dialog's layout with its button row and the help line below it;
// the dialog's controls are then added to the help it gives back.
DynamicHelp* endWithHelpLine(QDialog* dialog, QVBoxLayout* layout, QHBoxLayout* buttonRow, const QString& idle);

// The texts of the help line for the OK and Cancel buttons.
extern const QString kOkHelpText;
extern const QString kCancelHelpText;

}  // namespace morvel
