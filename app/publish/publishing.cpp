#include "publishing.h"

#include "commands/document_host.h"
#include "ftp_list.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>

Publishing::Publishing(morvel::DocumentHost& host, QObject* parent) : QObject(parent), host_(host) {}

TfrmFtp& Publishing::open() {
  if (!window_) {
    window_ = new TfrmFtp(host_);
    window_->setDropSources(dropSources_);
    window_->OnProjectsChanged = [this] {
      if (OnProjectsChanged) OnProjectsChanged();
    };
    window_->OnDownloaded = [this](const QString&) {
      if (auto refresh = std::exchange(refreshAfterDownload_, nullptr)) refresh();
    };
  }
  if (window_->isMinimized()) window_->showNormal();
  window_->show();
  window_->raise();
  window_->activateWindow();
  return *window_;
}

void Publishing::publishFiles(const QStringList& paths) { open().markFiles(paths); }

void Publishing::publishProjectDocument(const QString& root, const QString& relative) {
  open().markProjectFiles({}, root, {relative});
}

void Publishing::publishProject(const QString& project, const QString& root, const QStringList& relative) {
  open().publishProject(project, root, relative);
}

void Publishing::addDropSource(QWidget* source, std::function<bool()> canDrop, std::function<void()> drop) {
  dropSources_.push_back({source, std::move(canDrop), std::move(drop)});
}

void Publishing::acceptDownloadsOn(QWidget* list, std::function<QString()> folder, std::function<void()> refresh) {
  QWidget* surface = list;
  if (auto* area = qobject_cast<QAbstractScrollArea*>(list)) surface = area->viewport();
  surface->setAcceptDrops(true);
  surface->installEventFilter(this);
  downloadTargets_.push_back({surface, std::move(folder), std::move(refresh)});
}

const Publishing::DownloadTarget* Publishing::targetOf(QObject* watched) const {
  for (const DownloadTarget& target : downloadTargets_)
    if (target.list == watched) return &target;
  return nullptr;
}

// Only the window's own entries are taken here, and only while it is not
// busy; every other drag is the list's own business.
bool Publishing::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const DownloadTarget* target = targetOf(watched);
  const auto* from = qobject_cast<const QWidget*>(drop->source());
  if (!target || !drop->mimeData()->hasFormat(QString::fromLatin1(morvel::ftp::kFtpEntriesMime)) || !from || !window_ ||
      !window_->lwFTP->isAncestorOf(from))
    return false;
  if (window_->busy() || !window_->connected()) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  if (type == QEvent::Drop && window_->downloadSelection(target->folder())) refreshAfterDownload_ = target->refresh;
  return true;
}
