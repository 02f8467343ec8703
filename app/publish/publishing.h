// The main window's road to the publishing window. It creates the window on
// first use or brings it to the front, hands it what the user marked for
// upload (files of a file pane, the active document, a project document or
// a project's files), and joins the main window's lists to it: drags from
// them to the window's list upload, and the window's entries dragged to a
// file list are downloaded into that list's folder.
#pragma once

#include "ftp_window.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

namespace morvel {
class DocumentHost;
}  // namespace morvel

class Publishing : public QObject {
 public:
  explicit Publishing(morvel::DocumentHost& host, QObject* parent = nullptr);

  // The window while it is open, else null.
  TfrmFtp* window() const { return window_; }
  // "Overførsel til Internet...": the window, shown and in front.
  TfrmFtp& open();

  // Full paths: the selected files of a file pane, or the active document.
  void publishFiles(const QStringList& paths);
  // One document of a project, relative to the project's root folder.
  void publishProjectDocument(const QString& root, const QString& relative);
  // The files of a project the user checked in its file list.
  void publishProject(const QString& project, const QString& root, const QStringList& relative);

  // A drag from `source` to the window's list: whether it may be dropped,
  // and what the drop does.
  void addDropSource(QWidget* source, std::function<bool()> canDrop, std::function<void()> drop);
  // The window's entries dropped on `list` go to the folder it shows; the
  // list is refreshed when the download has ended.
  void acceptDownloadsOn(QWidget* list, std::function<QString()> folder, std::function<void()> refresh);

  // Files were put on the server, or the window closed.
  std::function<void()> OnProjectsChanged;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct DownloadTarget {
    QWidget* list;
    std::function<QString()> folder;
    std::function<void()> refresh;
  };
  const DownloadTarget* targetOf(QObject* watched) const;

  morvel::DocumentHost& host_;
  QPointer<TfrmFtp> window_;
  std::vector<TfrmFtp::DropSource> dropSources_;
  std::vector<DownloadTarget> downloadTargets_;
  std::function<void()> refreshAfterDownload_;
};
