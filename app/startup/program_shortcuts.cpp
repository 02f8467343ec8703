#include "startup/program_shortcuts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace morvel {

const QString kShortcutFileName = QStringLiteral("Brimvale's Morvel.desktop");

namespace {

QString home() { return QDir::homePath(); }

QString environment(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

// XDG_DESKTOP_DIR="$HOME/Skrivebord" or "/an/absolute/path", as xdg-user-dirs
// writes it; anything else in the file is ignored.
QString desktopFromUserDirs() {
  QString config = environment("XDG_CONFIG_HOME");
  if (config.isEmpty() || !QDir::isAbsolutePath(config)) config = home() + QStringLiteral("/.config");
  QFile file(config + QStringLiteral("/user-dirs.dirs"));
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return QString();
  static const QRegularExpression line(QStringLiteral("^\\s*XDG_DESKTOP_DIR\\s*=\\s*\"([^\"]*)\"\\s*$"));
  QString found;
  while (!file.atEnd()) {
    const QRegularExpressionMatch m = line.match(QString::fromUtf8(file.readLine()).trimmed());
    if (!m.hasMatch()) continue;
    QString path = m.captured(1);
    if (path.startsWith(QLatin1String("$HOME"))) path = home() + path.mid(5);
    if (QDir::isAbsolutePath(path)) found = path;  // the last line wins, as when the shell reads it
  }
  return found;
}

// An argument of the Exec key: quoted when it holds a character the key
// reserves, with the quoting's own escapes, then escaped as a string value
// (so a backslash in the path becomes four).
QString execArgument(const QString& argument) {
  static const QString reserved = QStringLiteral(" \t\"'\\><~|&;$*?#()`");
  static const QString escapedInQuotes = QStringLiteral("\"`$\\");
  const bool quote = std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
  QString quoted;
  for (const QChar c : argument) {
    if (quote && escapedInQuotes.contains(c)) quoted += QLatin1Char('\\');
    quoted += c;
  }
  if (quote) quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
  QString value;
  for (const QChar c : quoted) {
    if (c == QLatin1Char('%'))
      value += QLatin1Char('%');
    else if (c == QLatin1Char('\\'))
      value += QLatin1Char('\\');
    value += c;
  }
  return value;
}

}  // namespace

QString desktopFolder() {
  QString folder = desktopFromUserDirs();
  if (folder.isEmpty()) folder = environment("XDG_DESKTOP_DIR");
  if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) folder = home() + QStringLiteral("/Desktop");
  return QDir::cleanPath(folder);
}

QString applicationsFolder() {
  QString data = environment("XDG_DATA_HOME");
  if (data.isEmpty() || !QDir::isAbsolutePath(data)) data = home() + QStringLiteral("/.local/share");
  return QDir::cleanPath(data + QStringLiteral("/applications"));
}

QString desktopEntry(const QString& executable) {
  if (executable.contains(QLatin1Char('\n')) || executable.contains(QLatin1Char('\r'))) return QString();
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Brimvale's Morvel\n"
             "GenericName=HTML-editor\n"
             "Exec=%1 %F\n"
             "Terminal=false\n"
             "MimeType=text/html;application/xhtml+xml;text/css;text/plain;\n"
             "Categories=Development;WebDevelopment;TextEditor;\n")
      .arg(execArgument(executable));
}

QString installedDesktopEntry(const QString& executable) {
  const QFileInfo program(executable);
  const QString entry =
      QDir::cleanPath(program.absolutePath() + QStringLiteral("/../share/applications/morvex.desktop"));
  if (!QFileInfo(entry).isFile()) return QString();
  const QString started = QStandardPaths::findExecutable(QStringLiteral("morvex"));
  if (started.isEmpty() || QFileInfo(started).canonicalFilePath() != program.canonicalFilePath()) return QString();
  return entry;
}

bool placeShortcut(const QString& folder, bool wanted, const QString& executable) {
  const QString file = folder + QLatin1Char('/') + kShortcutFileName;
  const QFileInfo info(file);
  const bool present = info.exists() || info.isSymLink();
  if (!wanted) return !present || QFile::remove(file);
  if (present) return true;
  if (!QDir().mkpath(folder)) return false;
  if (const QString installed = installedDesktopEntry(executable); !installed.isEmpty())
    return QFile::link(installed, file);
  const QString entry = desktopEntry(executable);
  if (entry.isEmpty()) return false;
  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return false;
  // A launcher on the desktop starts only when it may be executed.
  out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                     QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
  if (out.write(entry.toUtf8()) < 0) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

}  // namespace morvel
