// "Beside the program": the folder of the project store "projekt.mvp" and
// the folders "Skabeloner" and "Skript". The folder of the executable when
// it is writable, otherwise $XDG_DATA_HOME/Brimvale/Morvel (by default
// ~/.local/share/Brimvale/Morvel); MORVEL_HOME overrides both.
#pragma once

#include <QString>

namespace morvel {

QString programFolder();

// A folder of what the program ships (the scripts "Skript", ...): installed
// under share/morvel beside the program's folder, or the copy in the build
// tree; empty when neither exists. Read-only: the user's own files go in
// the folder of the same name in programFolder().
QString shippedFolder(const QString& name);

}  // namespace morvel
