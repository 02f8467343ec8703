// The small window that adds a browser to the settings' browser list or
// changes one: a name and the path of the program, a browse button for the
// program, two buttons that find an installed browser of either family, and
// the help line. Its controls carry the names of the generic text dialog's
// fields ("txt1", "txt2", "cmd1", "cmdFindNetscape", "cmdFindMSIE",
// "cmdOk").
#pragma once

#include "settings/browser_finder.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

class BrowserEntryDialog : public QDialog {
 public:
  // Empty name and path: a new entry.
  BrowserEntryDialog(const QString& name, const QString& path, QWidget* parent = nullptr);

  QString name() const;
  QString path() const;

  QLineEdit* txt1 = nullptr;  // the name
  QLineEdit* txt2 = nullptr;  // the program's path
  QPushButton* cmd1 = nullptr;
  QPushButton* cmdFindNetscape = nullptr;
  QPushButton* cmdFindMSIE = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;

  // Where the finders look; the session's places unless a caller (a test)
  // gives others.
  std::function<morvel::BrowserSearchPlaces()> searchPlaces = morvel::browserSearchPlaces;

 private:
  void browse();
  void find(morvel::BrowserFamily family);
  void confirm();
};
