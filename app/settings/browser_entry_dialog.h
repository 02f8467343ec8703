// The small window that adds a browser to the settings' browser list or
// changes one: a name and the path of the program. Its controls carry the
// names of the generic text dialog's fields ("txt1", "txt2", "cmdOk").
#pragma once

#include <QDialog>

class QLineEdit;

class BrowserEntryDialog : public QDialog {
 public:
  // Empty name and path: a new entry.
  BrowserEntryDialog(const QString& name, const QString& path, QWidget* parent = nullptr);

  QString name() const;
  QString path() const;

 private:
  void confirm();

  QLineEdit* name_;
  QLineEdit* path_;
};
