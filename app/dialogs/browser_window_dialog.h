// TfrmBrowservindue ("Åben browservindue"): builds the JavaScript call that
// opens a new browser window with an address, a name, a size and the
// window's features, and inserts it at the caret of the script editor. Made
// once by the script editor and kept, so the fields remember their values.
#pragma once

#include "dialogs/script_codes.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class TTivra;

class TfrmBrowservindue : public QDialog {
 public:
  // OK inserts at the caret of `script`.
  TfrmBrowservindue(TTivra& script, QWidget* parent);

  QLineEdit* txtAdresse = nullptr;
  QLineEdit* txtNavn = nullptr;
  QLineEdit* txtBredde = nullptr;
  QLineEdit* txtHoejde = nullptr;
  QListWidget* cklIndstillinger = nullptr;
  QPushButton* cmdNetscape = nullptr;
  QPushButton* cmdExplorer = nullptr;
  QPushButton* cmdWebsider = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

  morvel::WindowOpenFields fields() const;

 private:
  void buildControls();
  void pickFavourite();
  void confirm();

  TTivra& script_;
};
