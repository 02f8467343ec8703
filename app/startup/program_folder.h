// "Beside the program": the folder of the project store "projekt.mvp" and
// the folders "Skabeloner" and "Skript". The folder of the executable when
// it is writable, otherwise $XDG_DATA_HOME/Brimvale/Morvel (by default
// ~/.local/share/Brimvale/Morvel); MORVEL_HOME overrides both.
#pragma once

#include <QString>

namespace morvel {

QString programFolder();

}  // namespace morvel
