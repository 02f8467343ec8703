#include "file_type_icons.h"

#include <QApplication>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>

namespace morvel::ftp {

namespace {

QIcon themed(const QStringList& names, QStyle::StandardPixmap fallback) {
  for (const QString& name : names)
    if (!name.isEmpty() && QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
  return QApplication::style()->standardIcon(fallback);
}

}  // namespace

QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback) { return themed({name}, fallback); }

QIcon fileTypeIcon(const QString& fileName) {
  static QHash<QString, QIcon> cache;
  const QString extension = QFileInfo(fileName).suffix().toLower();
  if (const auto found = cache.constFind(extension); found != cache.constEnd()) return *found;
  // The type is told by the name alone: the file is on the server.
  const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
  const bool program = extension == QLatin1String("exe");
  QIcon icon = program ? themed({QStringLiteral("application-x-executable")}, QStyle::SP_DesktopIcon)
                       : themed({type.iconName(), type.genericIconName()}, QStyle::SP_FileIcon);
  cache.insert(extension, icon);
  return icon;
}

QIcon folderIcon() {
  static const QIcon icon = themed({QStringLiteral("folder")}, QStyle::SP_DirClosedIcon);
  return icon;
}

QIcon openFolderIcon() {
  static const QIcon icon = themed({QStringLiteral("folder-open")}, QStyle::SP_DirOpenIcon);
  return icon;
}

QIcon serverIcon() {
  static const QIcon icon = themed({QStringLiteral("network-server")}, QStyle::SP_DriveNetIcon);
  return icon;
}

}  // namespace morvel::ftp
