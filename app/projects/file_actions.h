// What the file panes, the project tree and the main window do to files on
// the user's behalf: moving and copying into a folder (asking before a file
// is replaced, and replacing it only with a whole copy), deleting to the
// desktop's trash, opening a file in the desktop's program for it and
// starting a program.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace morvel {
class DocumentHost;
}  // namespace morvel

namespace morvel::files {

enum class Answer { Yes, No, Cancel };

// "<path> findes allerede. Vil du erstatte den?" under `caption`; Cancel is
// offered when `offerCancel` (one file of several).
Answer askToReplace(QWidget* parent, const QString& caption, const QString& path, bool offerCancel = false);

enum class Placed { Done, Skipped, Cancelled, Failed };

// Moves or copies one file to `to`. An existing file there is replaced only
// when the user says so, and a failure is reported.
Placed placeFile(QWidget* parent, const QString& from, const QString& to, bool copy, bool offerCancel = false);

// Moves or copies `files` into `folder` as one operation: the progress
// shows on `host` while it runs, and a Cancel to a question ends it. The
// number of files placed.
int placeInFolder(QWidget* parent, DocumentHost* host, const QStringList& files, const QString& folder, bool copy);

// Moves one file to the user's trash without asking; false when it could
// not go.
bool trashFile(const QString& file);

// Asks whether the files shall go to the trash, and moves them there; a
// file that cannot go is reported. The number of files moved.
int moveToTrash(QWidget* parent, const QStringList& files);

// Opens a file in the desktop's program for its kind (xdg-open).
bool openWithDesktop(const QString& file);

// Starts a program with the arguments, detached from this one.
bool startProgram(const QString& program, const QStringList& arguments);

}  // namespace morvel::files
