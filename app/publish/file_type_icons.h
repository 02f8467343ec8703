// The icons of the publishing window's list: for a file, the icon the
// desktop's icon theme gives the file's type (by its extension); for a
// folder, the theme's folder icon. Where the theme has none, the style's
// own file, folder and program icons stand in. Looked up once per
// extension for the life of the program.
#pragma once

#include <QIcon>
#include <QString>
#include <QStyle>

namespace morvel::ftp {

// The theme's icon of this name, else the style's.
QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback);

QIcon fileTypeIcon(const QString& fileName);
QIcon folderIcon();
QIcon openFolderIcon();
QIcon serverIcon();

}  // namespace morvel::ftp
