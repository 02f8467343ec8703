// Where the program keeps what it ships and what the user makes.
//
// What it ships (help pages, templates, scripts) is read-only: installed, it
// lives in PREFIX/share/morvel beside PREFIX/bin/morvex.
//
// "Beside the program": the folder of the project store "projekt.mvp" and of
// the user's own folders "Skabeloner" and "Skript". For an installed program
// the user's data folder $XDG_DATA_HOME/Brimvale/Morvel (by default
// ~/.local/share/Brimvale/Morvel); for a copy run from its own folder, that
// folder when it is writable, otherwise the user's data folder. MORVEL_HOME
// overrides both.
#pragma once

#include <QString>

namespace morvel {

// Each takes the folder of the program's executable; empty: the running
// program's.

QString programFolder(const QString& programDir = QString());

// PREFIX/share/morvel of an installed program; empty when the program does
// not run from an installation (a build tree, a copy in a folder of its own).
QString sharedDataFolder(const QString& programDir = QString());

// A folder of what the program ships (the scripts "Skript", ...): installed
// under share/morvel beside the program's folder, or the copy in the build
// tree; empty when neither exists. Read-only: the user's own files go in
// the folder of the same name in programFolder().
QString shippedFolder(const QString& name);

}  // namespace morvel
