// The documents of the main window, and the helpers of their operations:
// the command-line list, file names and time stamps.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <string>

class TTivra;

// One open document. The main window keeps them in the order of their tabs.
struct Document {
  TTivra* editor = nullptr;  // named "Tivra" + its index; a child of the tabs
  QString fileName;          // full path; empty while the page has no file
  // The caption the tab shows while the page has neither file nor title
  // ("Nyt dokument 2").
  QString caption;
  QString timeStamp;  // the file's time when it was last loaded or saved
};

// The form in which a list of file names travels (command line, another
// instance): every name followed by "?".
QString commandLineList(const QStringList& files);

// The files of such a list that can be opened: full paths of existing files
// without "*", in the spelling found on disk. Other parts are skipped.
QStringList filesOfList(const QString& list);

// The time stamp of a file as the documents keep it (the file's
// modification time as date and time), empty when there is no such file.
QString fileTimeStamp(const QString& path);

// The time a stamp stands for (invalid for an empty or damaged stamp), and
// whether the file's modification time is later than the stamp.
QDateTime timeOfStamp(const QString& stamp);
bool changedSince(const QString& path, const QString& stamp);

// The name a save in ".html" mode gives the chosen name: ".html" appended
// unless the name holds ".html" or a three-letter extension already.
QString htmlModeName(const QString& chosen);

// The name of the editor of document i.
QString editorName(int i);
