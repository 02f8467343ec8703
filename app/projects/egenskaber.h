// TfrmEgenskaber: the properties of one file, and the window in which the
// link dialog picks web addresses from a page or a target of the active
// page.
//
// For a page it lists the links the page holds ("Forbindelser", with
// filters, copying and printing of the addresses), the time the page takes
// to come over a line ("Overførselstid") and the file's facts
// ("Generelt"); for a picture it shows the picture and its dimensions; for
// any other file only the facts.
#pragma once

#include "projects/link_collection.h"

#include <QDialog>
#include <QIcon>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class DynamicHelp;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class TTivra;

namespace morvel {
class DocumentHost;
}  // namespace morvel

// What a file list shows of a file, handed to the properties of the file
// selected in a file pane.
struct ListedFileFacts {
  QString name;
  QString folder;
  QString type;
  qint64 bytes = 0;
  QString created;
  QString modified;
  QString accessed;
};

// The picture of a row of the link collection.
QIcon linkIcon(morvel::LinkIcon icon);

class TfrmEgenskaber : public QDialog {
 public:
  enum class Mode { Properties, WebAddresses, Targets };

  TfrmEgenskaber(morvel::DocumentHost& host, Mode mode, QWidget* parent = nullptr);
  ~TfrmEgenskaber() override;

  // Properties: fills the pages for `file`; `listed` when the file was
  // chosen in a file list, whose values the general page then shows.
  void showFile(const QString& file, const std::optional<ListedFileFacts>& listed = {});

  // Pickers: the rows to choose from and the caption of the first page.
  void setRows(const std::vector<morvel::LinkRow>& rows, const QString& heading);
  // After OK in a picker: the addresses and descriptions of the chosen
  // rows, in the order of the list.
  std::vector<std::pair<std::string, std::string>> chosen() const { return chosen_; }

  Mode mode() const { return mode_; }
  // The filter shown: 0 all rows, 1..9 "Web" .. "ActiveX".
  void showFilter(int filter);
  // The addresses of the list showing: the selected rows, or all of them.
  QString addressLines() const;
  void copyAddresses();
  void printAddresses();

  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet3 = nullptr;
  QTreeWidget* lwForbindelser = nullptr;
  QTreeWidget* lwUddrag = nullptr;
  std::array<QToolButton*, 10> Knap{};
  QPushButton* btnKopier = nullptr;
  QPushButton* btnUdskriv = nullptr;
  QTreeWidget* lwTid = nullptr;
  QLabel* lblManuskript = nullptr;
  QLabel* lblFiler = nullptr;
  QLabel* lblIAlt = nullptr;
  QLabel* lblModem144 = nullptr;
  QLabel* lblModem288 = nullptr;
  QLabel* lblISDN = nullptr;
  QLabel* lblTitelTekst = nullptr;  // "Titel:" or "Dimensioner:"
  QLabel* lblTitel = nullptr;
  QLabel* lblFilnavn = nullptr;
  QLabel* lblAdresse = nullptr;
  QLabel* lblStoerrelse = nullptr;
  QLabel* lblFiltype = nullptr;
  QLabel* lblAendret = nullptr;
  QLabel* lblOprettet = nullptr;
  QLabel* lblSidstAabnet = nullptr;
  QScrollArea* srlBillede = nullptr;
  QLabel* imgBillede = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdLuk = nullptr;
  QLabel* DynamiskHjaelp = nullptr;
  TTivra* edtKlip = nullptr;
  QMenu* popForbindelser = nullptr;

 private:
  void buildLinksPage();
  void buildTransferPage();
  void buildGeneralPage();
  void buildMenu();
  void setHelpTexts();
  void setUpPicker();
  void fillGeneral(const QString& file, const std::optional<ListedFileFacts>& listed);
  void fillPage(const QString& file);
  void fillPicture(const QString& file);
  void fillList(QTreeWidget* list, const std::vector<morvel::LinkRow>& rows);
  void sortBy(QTreeWidget* list, int column);
  QTreeWidget* shownList() const;
  void confirm();
  void transferPageShown();

  morvel::DocumentHost& host_;
  Mode mode_;
  DynamicHelp* help_ = nullptr;
  std::vector<morvel::LinkRow> rows_;
  std::array<QAction*, 10> filterActions_{};
  int filter_ = 0;
  int sortColumn_ = -1;
  bool ascending_ = true;
  std::vector<std::pair<std::string, std::string>> chosen_;
};

namespace morvel::properties {

// The properties of a file, in a window of their own.
void showFileProperties(DocumentHost& host, const QString& file, const std::optional<ListedFileFacts>& listed = {});

// The web addresses of the links of a page the user picks ("HTML-dokumenter"
// starting in `folder`): (address, description) pairs, none when cancelled.
std::vector<std::pair<std::string, std::string>> pickWebAddresses(DocumentHost& host, QWidget* parent,
                                                                  const QString& folder);

// The same from a page already chosen (a bookmark file).
std::vector<std::pair<std::string, std::string>> pickLinksOfPage(DocumentHost& host, QWidget* parent,
                                                                 const QString& page);

// A target ("#name") of the active page, none when cancelled or there is
// none to pick.
std::optional<std::string> pickTarget(DocumentHost& host, QWidget* parent);

}  // namespace morvel::properties
