// Reads what a printed PDF holds with poppler's command-line tools:
// pdftotext for the text of each page, pdfinfo for the page count and title.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace testing_support {

inline bool pdfToolsPresent() {
  return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
         !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

inline QString runTool(const QString& tool, const QStringList& arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, in order (pdftotext ends every page with a form
// feed); -layout keeps each printed line on one line.
inline QStringList pdfPages(const QString& file) {
  QStringList pages = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
                          .split(QLatin1Char('\f'));
  if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
  return pages;
}

// One field of pdfinfo's report ("Pages", "Title"), or an empty string.
inline QString pdfInfo(const QString& file, const QString& field) {
  const QString report = runTool(QStringLiteral("pdfinfo"), {file});
  for (const QString& line : report.split(QLatin1Char('\n'))) {
    if (line.startsWith(field + QLatin1Char(':'))) return line.mid(field.size() + 1).trimmed();
  }
  return QString();
}

}  // namespace testing_support
