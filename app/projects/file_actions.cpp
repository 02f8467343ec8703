#include "projects/file_actions.h"

#include "commands/document_host.h"
#include "controls/hourglass.h"
#include "interaction.h"
#include "projects/file_transfer.h"
#include "startup/splash.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace morvel::files {

namespace {

std::string path8(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool sameFile(const QString& a, const QString& b) {
  const QString x = QFileInfo(a).canonicalFilePath();
  return !x.isEmpty() && x == QFileInfo(b).canonicalFilePath();
}

void report(QWidget* parent, const QString& text) {
  platform::messageBox(parent, text, morvel::productName(), MB_OK | MB_ICONSTOP);
}

}  // namespace

Answer askToReplace(QWidget* parent, const QString& caption, const QString& path, bool offerCancel) {
  const QString text = QStringLiteral("%1 findes allerede.\nVil du erstatte den?").arg(QDir::toNativeSeparators(path));
  const int answer = platform::messageBox(parent, text, caption,
                                          (offerCancel ? MB_YESNOCANCEL : MB_YESNO) | MB_ICONWARNING | MB_DEFBUTTON2);
  if (answer == IDYES) return Answer::Yes;
  return answer == IDCANCEL ? Answer::Cancel : Answer::No;
}

Placed placeFile(QWidget* parent, const QString& from, const QString& to, bool copy, bool offerCancel) {
  if (sameFile(from, to)) return Placed::Skipped;
  if (QFileInfo::exists(to)) {
    const Answer answer =
        askToReplace(parent, copy ? QStringLiteral("Kopier fil") : QStringLiteral("Flyt fil"), to, offerCancel);
    if (answer == Answer::Cancel) return Placed::Cancelled;
    if (answer == Answer::No) return Placed::Skipped;
  }
  const bool done = copy ? copyFileWhole(path8(from), path8(to)) : moveFile(path8(from), path8(to));
  if (done) return Placed::Done;
  report(parent, (copy ? QStringLiteral("Kan ikke kopiere filen %1 til %2.")
                       : QStringLiteral("Kan ikke flytte filen %1 til %2."))
                     .arg(QDir::toNativeSeparators(from), QDir::toNativeSeparators(QFileInfo(to).absolutePath())));
  return Placed::Failed;
}

int placeInFolder(QWidget* parent, DocumentHost* host, const QStringList& files, const QString& folder, bool copy) {
  Hourglass hourglass;
  int placed = 0;
  const bool several = files.size() > 1;
  for (qsizetype k = 0; k < files.size(); ++k) {
    const QString& file = files[k];
    const Placed result = placeFile(parent, file, QDir(folder).filePath(QFileInfo(file).fileName()), copy, several);
    if (result == Placed::Done) ++placed;
    if (result == Placed::Cancelled) break;
    if (host && several) {
      host->showProgress(static_cast<int>((k + 1) * 100 / files.size()));
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
  }
  if (host && several) host->showProgress(-1);
  return placed;
}

bool trashFile(const QString& file) {
  // The trash lives in the user's data folder, which a new account may not
  // have yet; without it the file could not be deleted at all.
  QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
  return QFile::moveToTrash(file);
}

int moveToTrash(QWidget* parent, const QStringList& files) {
  if (files.isEmpty()) return 0;
  const bool one = files.size() == 1;
  const QString question =
      one ? QStringLiteral("Ønsker du at flytte \"%1\" til papirkurven?").arg(QFileInfo(files.first()).fileName())
          : QStringLiteral("Ønsker du at flytte disse %1 filer til papirkurven?").arg(files.size());
  const int answer =
      platform::messageBox(parent, question, one ? QStringLiteral("Slet fil") : QStringLiteral("Slet flere filer"),
                           MB_YESNO | MB_ICONQUESTION);
  if (answer != IDYES) return 0;
  Hourglass hourglass;
  int moved = 0;
  for (const QString& file : files) {
    if (trashFile(file))
      ++moved;
    else
      report(parent, QStringLiteral("Kan ikke slette filen %1.").arg(QDir::toNativeSeparators(file)));
  }
  return moved;
}

bool openWithDesktop(const QString& file) { return startProgram(QStringLiteral("xdg-open"), {file}); }

bool startProgram(const QString& program, const QStringList& arguments) {
  return QProcess::startDetached(program, arguments);
}

}  // namespace morvel::files
