// TSkabelon: starts a new page from a template, and keeps the templates:
// new ones made from a file, the user's own deleted, any opened to be
// changed. The list shows the templates installed with the program and
// the user's own, which live in "Skabeloner" in the program folder. It is
// made for each use and remembers its size.
#pragma once

#include <QDialog>
#include <QString>

class DynamicHelp;
class QAction;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TSkabelon : public QDialog {
 public:
  explicit TSkabelon(morvel::DocumentHost& host, QWidget* parent = nullptr);

  // The user's templates, "Skabeloner" in the program folder.
  static QString ownFolder();
  // The templates installed with the program: share/morvel/Skabeloner
  // beside the program's folder, or the copy in the build tree.
  static QString installedFolder();

  QListWidget* lwSkabelon = nullptr;
  QPushButton* cmdNySkabelon = nullptr;
  QPushButton* cmdSletSkabelon = nullptr;
  QPushButton* cmdRedigerSkabelon = nullptr;
  QPushButton* cmdOk = nullptr;
  QPushButton* cmdAnnuller = nullptr;
  QMenu* popSkabelon = nullptr;
  QAction* popNySkabelon = nullptr;
  QAction* popSletSkabelon = nullptr;
  QAction* popRedigerSkabelon = nullptr;

  // Stores the window's size for its next use; called when it has closed.
  void rememberSize();

 private:
  void buildControls();
  void addHelpTexts(DynamicHelp& help);
  // The list from the folders, with the template `selected` (a file) or
  // "Tomt dokument" chosen.
  void fillList(const QString& selected = QString());
  void selectionChanged();
  QString chosenFile() const;
  bool chosenIsOwn() const;
  void newTemplate();
  void deleteTemplate();
  void editTemplate();
  void startPage();
  void tell(const QString& text);

  morvel::DocumentHost& host_;
};
