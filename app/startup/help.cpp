#include "startup/help.h"

#include "interaction.h"
#include "startup/program_folder.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace morvel::help {

namespace {

const QString kContents = QStringLiteral("index.html");
const QString kShortcuts = QStringLiteral("tastaturgenveje.html");
const QString kSearch = QStringLiteral("soeg.html");
const QString kSettings = QStringLiteral("indstillinger.html");

Opener& currentOpener() {
  static Opener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return opener;
}

QUrl page(const QString& name) { return QUrl::fromLocalFile(QDir(folder()).filePath(name)); }

}  // namespace

QString folder() {
  const QDir program(QCoreApplication::applicationDirPath());
  QStringList candidates{program.filePath(QStringLiteral("hjaelp"))};
  if (const QString shared = sharedDataFolder(); !shared.isEmpty())
    candidates << QDir(shared).filePath(QStringLiteral("hjaelp"));
  candidates << QStringLiteral(MORVEL_BUILD_HELP_DIR);
  for (const QString& c : candidates) {
    if (QFileInfo::exists(QDir(c).filePath(kContents))) return QDir::cleanPath(c);
  }
  return QDir::cleanPath(candidates[0]);
}

QUrl contentsPage() { return page(kContents); }

QUrl pageForContext(int context) {
  switch (context) {
    case kKeyboardShortcutsContext:
      return page(kShortcuts);
    case kSettingsContext:
      return page(kSettings);
    default:
      return contentsPage();
  }
}

QUrl searchPage() { return page(kSearch); }

Opener setOpener(Opener opener) {
  Opener previous = std::move(currentOpener());
  currentOpener() = opener ? std::move(opener) : [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  return previous;
}

bool show(QWidget* parent, const QUrl& url) {
  const QString caption = QStringLiteral("Hjælp");
  if (!QFileInfo::exists(url.toLocalFile())) {
    platform::messageBox(parent, QStringLiteral("Hjælpefilen %1 findes ikke.").arg(url.toLocalFile()), caption,
                         MB_OK | MB_ICONSTOP);
    return false;
  }
  if (currentOpener()(url)) return true;
  platform::messageBox(parent, QStringLiteral("Kan ikke åbne hjælpen i din webbrowser."), caption, MB_OK | MB_ICONSTOP);
  return false;
}

}  // namespace morvel::help
