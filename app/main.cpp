// Morvex: the program.
//
//   morvex [files...]                      opens the files in the main window
//   morvex --screenshot FILE.png [files...]  opens the files, writes a picture
//                                          of the main window to FILE.png, ends
#include "kestrin.h"
#include "registry.h"
#include "tivra_component.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <cstdio>
#include <cstring>

namespace {

struct CommandLine {
  QString screenshot;  // empty: run the program
  QStringList files;
  bool incomplete = false;
};

bool wantsScreenshot(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0) return true;
  }
  return false;
}

CommandLine parse(const QStringList& args) {
  CommandLine c;
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--screenshot")) {
      if (i + 1 >= args.size()) c.incomplete = true;
      else c.screenshot = args[++i];
    } else {
      // The shell gives names relative to the current folder; the documents
      // keep full paths.
      c.files << QDir::cleanPath(QFileInfo(args[i]).absoluteFilePath());
    }
  }
  return c;
}

void complain(const QString& text) { std::fprintf(stderr, "morvex: %s\n", text.toUtf8().constData()); }

bool writePicture(const QImage& picture, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (!picture.save(&file, "PNG")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

int screenshot(const CommandLine& c) {
  for (const QString& f : c.files) {
    if (!QFileInfo(f).isFile()) {
      complain(QStringLiteral("Filen %1 findes ikke.").arg(f));
      return 1;
    }
  }
  morvel::RegIniFile store(morvel::defaultSettingsPath());
  TKestrin window(store);
  window.setCommandLineFiles(c.files);
  window.show();
  QApplication::processEvents();
  const QImage picture = window.grab().toImage();
  if (!writePicture(picture, c.screenshot)) {
    complain(QStringLiteral("Kan ikke skrive billedet %1.").arg(c.screenshot));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A picture needs no screen.
  if (wantsScreenshot(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Brimvale's Morvel"));
  // Loads the editor library, whose classes the windows are made of.
  if (TTivra::Version() != TIVRA_VERSION) {
    complain(QStringLiteral("Editorbiblioteket tivra32 har en anden version end programmet."));
    return 1;
  }
  const CommandLine c = parse(QApplication::arguments());
  if (c.incomplete) {
    complain(QStringLiteral("--screenshot skal efterfølges af et filnavn."));
    return 2;
  }
  if (!c.screenshot.isEmpty()) return screenshot(c);
  // Open before the main window and closed after it, as the window reads
  // and writes it to the end.
  morvel::RegIniFile store(morvel::defaultSettingsPath());
  TKestrin window(store);
  window.setCommandLineFiles(c.files);
  window.show();
  return QApplication::exec();
}
