// Morvex: the program.
//
//   morvex [files...]                      opens the files in the main window
//   morvex --screenshot FILE.png [files...]  opens the files, writes a picture
//                                          of the main window to FILE.png, ends
//   morvex --check FILE...                 prints the HTML code check of each
//                                          file; no window, no settings
#include "component/tivra_component.h"
#include "mainwindow/documents.h"
#include "mainwindow/kestrin.h"
#include "markup/check_command.h"
#include "registry.h"
#include "startup/single_instance.h"
#include "startup/splash.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QSocketNotifier>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace {

struct CommandLine {
  QString screenshot;  // empty: run the program
  QStringList files;
  bool incomplete = false;
};

bool hasOption(int argc, char** argv, const char* option) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

// Every argument but the option itself names a file to check.
int checkFiles(int argc, char** argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--check") != 0) files.emplace_back(argv[i]);
  }
  if (files.empty()) {
    std::cerr << "morvex: --check skal efterfølges af et eller flere filnavne.\n";
    return morvel::kCheckUnreadable;
  }
  return morvel::runCodeCheckCommand(files, std::cout, std::cerr);
}

CommandLine parse(const QStringList& args) {
  CommandLine c;
  for (qsizetype i = 1; i < args.size(); ++i) {
    if (args[i] == QLatin1String("--screenshot")) {
      if (i + 1 >= args.size())
        c.incomplete = true;
      else
        c.screenshot = args[++i];
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

// A request to end (SIGTERM, as a session ends) closes the main window the
// way the user would, so that documents are asked about and the layout is
// kept.
int terminationPipe[2] = {-1, -1};

void onTermination(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(terminationPipe[1], &byte, 1);
}

void closeOnTermination(TKestrin& window) {
  // A pipe: win32.h declares the Windows socket names, which the system's
  // socket header would clash with.
  if (::pipe(terminationPipe) != 0) return;
  auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(terminationPipe[0], &byte, 1);
    window.close();
  });
  struct sigaction action {};
  action.sa_handler = onTermination;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  // Checking pages needs neither a screen nor the editor.
  if (hasOption(argc, argv, "--check")) return checkFiles(argc, argv);
  // A picture needs no screen.
  if (hasOption(argc, argv, "--screenshot") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(morvel::productName());
  TivraRegister();
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
  // A running instance takes the files and comes to the front; this one ends.
  if (morvel::handOffToRunningInstance(commandLineList(c.files))) return 0;
  // The window frees the splash when it first shows.
  auto* splash = new morvel::SplashWindow;
  splash->showNow();
  // Open before the main window and closed after it, as the window reads
  // and writes it to the end.
  morvel::RegIniFile store(morvel::defaultSettingsPath());
  TKestrin window(store);
  window.setSplash(splash);
  window.setCommandLineFiles(c.files);
  morvel::InstanceServer instances([&window](const QString& list) {
    // As a second start would tell the window: restore it, then the files.
    if (!window.isVisible() || window.isMinimized()) PostMessage(window.Handle(), WM_USER + 2, 0, 0);
    QByteArray bytes = QFile::encodeName(list);
    COPYDATASTRUCT data{0, static_cast<DWORD>(list.isEmpty() ? 0 : bytes.size() + 1),
                        list.isEmpty() ? nullptr : bytes.data()};
    SendMessage(window.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  });
  instances.listen();
  closeOnTermination(window);
  window.show();
  return QApplication::exec();
}
