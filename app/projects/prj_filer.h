// TfrmPrjFiler: the files of one project (its documents and the files
// they bring along) for the project's
// properties, publishing, and moving or copying the project to another
// root folder.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class DynamicHelp;
class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFriendlyStatusBar;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TfrmPrjFiler : public QDialog {
 public:
  enum class Mode { Properties, Publish, Move, Copy };

  explicit TfrmPrjFiler(morvel::DocumentHost& owner);
  ~TfrmPrjFiler() override;

  // Sets the dialog up for `mode` and lists the documents (texts relative
  // to `root`); `destination` names the target of a move or copy.
  void prepare(Mode mode, const QString& project, const QString& root, const QStringList& documents,
               const QString& destination);
  QStringList checkedCaptions() const;
  // Moves or copies each checked file to the same place below
  // `destination` as it has below `source`.
  void transfer(const QString& source, const QString& destination, bool copy);

  QLabel* lblRodBib = nullptr;
  QCheckBox* chkMarkerAlle = nullptr;
  QTreeWidget* lwPrjFiler = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdAnnuller = nullptr;
  QLabel* DynamiskHjaelp = nullptr;
  TFriendlyStatusBar* StatusBar1 = nullptr;

 private:
  void fill(const QString& root, const QStringList& documents);
  QTreeWidgetItem* addItem(const QString& root, const QString& caption, QStringList& seen);
  void checkItems();
  void updateStatus();
  void sortBy(int column);
  void setHelpTexts();

  morvel::DocumentHost& owner_;
  Mode mode_ = Mode::Properties;
  DynamicHelp* help_ = nullptr;
  int sortColumn_ = -1;
  bool ascending_ = true;
  bool filling_ = false;
};
