// The program's shortcuts: a launcher on the user's desktop, and an entry in
// the user's applications folder that puts the program under "Open with" in
// file managers. Both are freedesktop ".desktop" files.
#pragma once

#include <QString>

namespace morvel {

// The name of the shortcut file in either folder.
extern const QString kShortcutFileName;

// The desktop folder: XDG_DESKTOP_DIR from the user's user-dirs.dirs, else
// from the environment, else $HOME/Desktop.
QString desktopFolder();
// $XDG_DATA_HOME/applications, by default ~/.local/share/applications.
QString applicationsFolder();

// The text of a shortcut that starts `executable` with the chosen files.
// Empty when the path cannot be written in a shortcut (a line break).
QString desktopEntry(const QString& executable);

// The desktop entry installed with the program at `executable`
// (PREFIX/share/applications/morvex.desktop beside PREFIX/bin/morvex), when
// its "Exec=morvex" starts that very program from the PATH; else empty.
QString installedDesktopEntry(const QString& executable);

// Wanted: creates the shortcut in `folder` (and the folder) unless the file
// exists: a link to the installed desktop entry when there is one, so that
// it follows the installed program, else an entry of its own. Not wanted:
// deletes the file if it exists. False when that failed.
bool placeShortcut(const QString& folder, bool wanted, const QString& executable);

}  // namespace morvel
