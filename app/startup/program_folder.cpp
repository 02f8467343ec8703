#include "startup/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace morvel {

namespace {

QString orRunning(const QString& programDir) {
  return programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir;
}

QString userDataFolder() {
  QString data = qEnvironmentVariable("XDG_DATA_HOME");
  if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = QDir::home().filePath(QStringLiteral(".local/share"));
  return QDir(data).filePath(QStringLiteral("Brimvale/Morvel"));
}

}  // namespace

QString sharedDataFolder(const QString& programDir) {
  const QString shared = QDir::cleanPath(orRunning(programDir) + QStringLiteral("/../share/morvel"));
  return QFileInfo(shared).isDir() ? shared : QString();
}

QString programFolder(const QString& programDir) {
  const QString chosen = qEnvironmentVariable("MORVEL_HOME");
  if (!chosen.isEmpty()) return QDir::cleanPath(chosen);
  // An installed program's folder is shared by every user (and writable
  // for root): nobody's projects belong there.
  if (!sharedDataFolder(programDir).isEmpty()) return userDataFolder();
  const QString program = orRunning(programDir);
  if (QFileInfo(program).isWritable()) return program;
  return userDataFolder();
}

QString shippedFolder(const QString& name) {
  QStringList candidates;
  if (const QString shared = sharedDataFolder(); !shared.isEmpty()) candidates << QDir(shared).filePath(name);
  candidates << QDir(QStringLiteral(MORVEL_BUILD_DATA_DIR)).filePath(name);
  for (const QString& c : candidates) {
    if (QFileInfo(c).isDir()) return QDir::cleanPath(c);
  }
  return QString();
}

}  // namespace morvel
