// Files dragged from the file lists and the project tree. The drag carries
// the files as a URI list, so that other programs take them too, and a
// mark of its own, by which the program's windows know a drag of its own
// file lists from files dragged in from a file manager.
#pragma once

#include <QMimeData>
#include <QStringList>
#include <QUrl>

namespace morvel {

inline const QString kOwnFileDrag = QStringLiteral("application/x-morvel-files");
// Present when the files come from a file list (the folder trees take
// only those).
inline const QString kFileListDrag = QStringLiteral("application/x-morvel-file-list");

// The drag's data for full paths of files.
inline QMimeData* fileDragData(const QStringList& files, bool fromFileList = false) {
  auto* data = new QMimeData;
  QList<QUrl> urls;
  for (const QString& file : files) urls << QUrl::fromLocalFile(file);
  data->setUrls(urls);
  data->setData(kOwnFileDrag, files.join(QLatin1Char('\n')).toUtf8());
  if (fromFileList) data->setData(kFileListDrag, QByteArray("1"));
  return data;
}

inline bool isOwnFileDrag(const QMimeData* data) { return data && data->hasFormat(kOwnFileDrag); }
inline bool isFileListDrag(const QMimeData* data) { return data && data->hasFormat(kFileListDrag); }

// The local files of a drag, ours or another program's.
inline QStringList draggedFiles(const QMimeData* data) {
  QStringList files;
  if (!data) return files;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) files << url.toLocalFile();
  }
  return files;
}

}  // namespace morvel
