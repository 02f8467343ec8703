#include "dialogs/favourites.h"

#include "common_dialogs.h"
#include "dialogs/link_codes.h"
#include "interaction.h"
#include "qtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvel {

namespace {

// The folder where the user keeps favourites: "Favorites" in the home
// folder, as on the systems the shortcut files come from.
QString favouritesFolder() {
  const QString folder = QDir::home().filePath(QStringLiteral("Favorites"));
  return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

}  // namespace

std::vector<std::string> pickFavourites(QWidget* parent) {
  platform::FileDialogRequest choice;
  choice.title = QStringLiteral("Internet Stifinder Foretrukne");
  choice.multiSelect = true;
  choice.fileMustExist = true;
  choice.folder = favouritesFolder();
  choice.filters = {{QStringLiteral("Internet Stifinder genveje "), {QStringLiteral("*.URL")}}};
  platform::Request r(platform::RequestKind::OpenFile);
  r.parentWidget = parent;
  r.caption = choice.title;
  r.data = &choice;
  std::vector<std::string> links;
  if (!platform::ask(r)) return links;
  for (const QString& path : choice.chosen) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) continue;
    links.push_back(shortcutAddress(file.read(64 * 1024).toStdString()));
    links.push_back(platform::toCp1252(QFileInfo(path).fileName().chopped(4)));
  }
  return links;
}

}  // namespace morvel
