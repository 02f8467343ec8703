#include "startup/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace morvel {

QString programFolder() {
  const QString chosen = qEnvironmentVariable("MORVEL_HOME");
  if (!chosen.isEmpty()) return QDir::cleanPath(chosen);
  const QString program = QCoreApplication::applicationDirPath();
  if (QFileInfo(program).isWritable()) return program;
  QString data = qEnvironmentVariable("XDG_DATA_HOME");
  if (data.isEmpty()) data = QDir::home().filePath(QStringLiteral(".local/share"));
  return QDir(data).filePath(QStringLiteral("Brimvale/Morvel"));
}

QString shippedFolder(const QString& name) {
  const QDir program(QCoreApplication::applicationDirPath());
  const QString candidates[] = {
      program.filePath(QStringLiteral("../share/morvel/") + name),
      QDir(QStringLiteral(MORVEL_BUILD_DATA_DIR)).filePath(name),
  };
  for (const QString& c : candidates) {
    if (QFileInfo(c).isDir()) return QDir::cleanPath(c);
  }
  return QString();
}

}  // namespace morvel
