// TfrmFtp, the publishing window "Overførsel til Internet": the stored
// connections, the properties panel, the server's current folder in lwFTP,
// and the uploads of what the main window marked, downloads, deletions,
// renames and new folders on the server. The work with the server is
// FtpSession's; the window shows what it reports and asks the user the
// questions. At most one exists; it is freed when it closes.
//
// The main window reaches it through Publishing (publishing.h), which
// creates it, hands it the marks and tells it what a drop from the main
// window's own lists means.
#pragma once

#include "ftp_connections.h"
#include "ftp_session.h"
#include "progress_window.h"
#include "star_ftp.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class DynamicHelp;
class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QDropEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolBar;
class QWidget;
class TFriendlyStatusBar;
class TfrmCertifikat;
class TFtpList;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class TfrmFtp : public QMainWindow {
 public:
  // A child window of the host's dialog parent (the main window).
  explicit TfrmFtp(morvel::DocumentHost& host);
  ~TfrmFtp() override;
  TfrmFtp(const TfrmFtp&) = delete;
  TfrmFtp& operator=(const TfrmFtp&) = delete;

  // --- What the main window marks for upload. A new mark replaces the
  // last; "Start overførsel" sends them.
  // Full paths: files of a file pane, the active document.
  void markFiles(const QStringList& paths);
  // Documents of a project, relative to its root folder. `project` is the
  // project's name when the whole project (or its changed files) is
  // published, empty for one of its documents.
  void markProjectFiles(const QString& project, const QString& root, const QStringList& relative);
  bool hasMarks() const { return !marks_.paths.isEmpty(); }
  // Project publishing, after "OK" in the project's file list: marks the
  // files and chooses the connection named as the project.
  void publishProject(const QString& project, const QString& root, const QStringList& relative);
  // Files dropped on the list: sent at once when connected.
  void uploadDropped(const QStringList& paths);
  void uploadDroppedProjectDocument(const QString& root, const QString& relative);

  // Downloads the selected entries into `folder` (a drop on one of the main
  // window's file lists); false when that cannot start now.
  bool downloadSelection(const QString& folder);
  bool busy() const { return session_->busy(); }
  bool connected() const { return session_->connected(); }

  // A widget of the main window whose drags the list takes: whether the
  // drag may be dropped now, and the drop.
  struct DropSource {
    QWidget* widget;
    std::function<bool()> canDrop;
    std::function<void()> drop;
  };
  void setDropSources(const std::vector<DropSource>& sources) { dropSources_ = sources; }

  // --- Events for the main window
  // Files have been put on the server, or the window has closed: the project
  // tree's marks of changed files are out of date.
  std::function<void()> OnProjectsChanged;
  // A download into a folder has ended.
  std::function<void(const QString& folder)> OnDownloaded;

  // --- Controls, by their names
  QComboBox* cmbForbindelse = nullptr;
  QComboBox* cmbMappe = nullptr;
  QWidget* panEgenskaber = nullptr;
  QLineEdit* txtServer = nullptr;
  QLineEdit* txtStartBib = nullptr;
  QLineEdit* txtBruger = nullptr;
  QLineEdit* txtKode = nullptr;
  QCheckBox* chkGemKode = nullptr;
  QCheckBox* chkSikker = nullptr;  // "Sikker forbindelse (FTPS)"
  QRadioButton* optKraev = nullptr;
  QRadioButton* optHvisMuligt = nullptr;
  QCheckBox* chkPassiv = nullptr;
  QLabel* lblCertifikat = nullptr;  // the trusted certificate's fingerprint
  QPushButton* cmdGlemCertifikat = nullptr;
  TFtpList* lwFTP = nullptr;
  QMenu* popFtp = nullptr;
  QPushButton* cmdLuk = nullptr;
  QLabel* DynamiskHjaelp = nullptr;
  TFriendlyStatusBar* StatusBar1 = nullptr;
  TStarFtp Ftp1;
  // A command by its name ("mnuTilslut", "btnStart", "popSlet", ...).
  QAction* command(const QString& name) const;
  // The progress window while a batch runs, else null.
  TProgress* progressWindow() const { return progress_; }
  morvel::ftp::FtpSession& session() { return *session_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Layout (ftp_window.cpp)
  void createMenus();
  void createToolBars();
  void createProperties();
  void createList();
  void createStatusBar();
  void setHelpTexts();
  void readWindowSettings();
  void writeWindowSettings();
  QAction* action(const char* name, const QString& caption, const std::function<void()>& handler,
                  const QKeySequence& key = {});
  void updateCommands();
  void setBusy(bool busy);
  void setStatus(const QString& text);
  void showListing();
  void showFolderList();
  // Connections (ftp_window_connections.cpp)
  void loadConnections();
  void connectionChosen(int index);
  void newConnection();
  void saveConnection();
  void deleteConnection();
  void toggleProperties();
  void forgetCertificate();
  void showTrustedCertificate(const QString& fingerprint);
  morvel::ftp::TCertificateAnswer askAboutCertificate(const morvel::ftp::FtpCertificate& certificate,
                                                      const QString& problem);
  morvel::ftp::FtpConnection fieldsAsConnection() const;
  void showConnection(const morvel::ftp::FtpConnection& connection);
  void connectToServer();
  void disconnectFromServer();
  bool askToStopTransfer(const QString& caption);
  void showError(const morvel::ftp::FtpErrorMessage& message);
  int message(const QString& caption, const QString& text, unsigned flags);
  // The server's folder (ftp_window_server.cpp)
  void folderChosen(int index);
  void levelUp();
  void listDoubleClicked(const morvel::ftp::FtpListRow& row);
  void newFolder();
  void renameEntry();
  void nameEdited(const QString& before, const QString& after, bool accepted);
  void deleteEntries();
  void downloadTo();
  void sortBy(morvel::ftp::FtpSortColumn column);
  void setView(int view);
  void showPopup(const QPoint& screenPoint);
  // Transfers (ftp_window_transfers.cpp)
  void startUpload();
  void connectSession();
  void showProgressWindow(bool open);
  bool connectedForDrop();
  const DropSource* dropSourceOf(const QDropEvent& event) const;
  bool canDrop(const QDropEvent& event) const;
  void dropped(const QDropEvent& event);
  void batchEnded();

  morvel::DocumentHost& host_;
  morvel::ftp::FtpConnections connections_;
  std::unique_ptr<morvel::ftp::FtpSession> session_;
  QToolBar* buttons_ = nullptr;
  QToolBar* folderButtons_ = nullptr;
  QActionGroup* views_ = nullptr;
  DynamicHelp* help_ = nullptr;
  TfrmCertifikat* certificate_ = nullptr;
  // The stored connection the running connection was made from, where a
  // certificate the user trusts is kept; empty when none.
  QString connectedTitle_;
  QPointer<TProgress> progress_;
  std::vector<DropSource> dropSources_;

  morvel::ftp::UploadMarks marks_;
  QString project_;  // the project being published, for the title of a new connection
  bool sortAscending_ = true;
  morvel::ftp::FtpSortColumn sortColumn_ = morvel::ftp::FtpSortColumn::Name;
  bool sorted_ = false;
  // Where a running download goes, to tell the main window when it ends.
  QString downloadFolder_;
  bool closing_ = false;
};
