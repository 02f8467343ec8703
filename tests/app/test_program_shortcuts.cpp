// The program's shortcuts on the desktop and under "Open with", as the
// settings create and delete them.
#include "program_run.h"
#include "scripted_responder.h"
#include "startup/program_shortcuts.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <fstream>

namespace {

using testing_support::ScriptedResponder;

std::string fileText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QString execLine(const QString& entry) {
  for (const QString& line : entry.split(QLatin1Char('\n'))) {
    if (line.startsWith(QLatin1String("Exec="))) return line.mid(5);
  }
  return QString();
}

class Shortcuts : public ::testing::Test {
 protected:
  QString desktopFile() const { return run.home() + QStringLiteral("/Desktop/") + morvel::kShortcutFileName; }
  QString applicationsFile() const {
    return run.home() + QStringLiteral("/.local/share/applications/") + morvel::kShortcutFileName;
  }
  void writeUserDirs(const std::string& content) {
    QDir(run.home()).mkpath(QStringLiteral(".config"));
    std::ofstream(run.home().toStdString() + "/.config/user-dirs.dirs") << content;
  }

  app_test::ProgramRun run;
};

TEST_F(Shortcuts, TheFoldersFollowTheUsersSettings) {
  EXPECT_EQ(morvel::desktopFolder(), run.home() + "/Desktop");
  EXPECT_EQ(morvel::applicationsFolder(), run.home() + "/.local/share/applications");
  run.environment.set("XDG_DESKTOP_DIR", run.dir.filePath(QStringLiteral("skrivebord")));
  EXPECT_EQ(morvel::desktopFolder(), run.dir.filePath(QStringLiteral("skrivebord")));
  // The user's user-dirs.dirs has the last word, as for xdg-user-dir.
  writeUserDirs(
      "# Skrevet af xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumenter\"\n"
      "XDG_DESKTOP_DIR=\"$HOME/Skrivebord\"\n");
  EXPECT_EQ(morvel::desktopFolder(), run.home() + "/Skrivebord");
  writeUserDirs("XDG_DESKTOP_DIR=\"relativ/sti\"\n");
  EXPECT_EQ(morvel::desktopFolder(), run.dir.filePath(QStringLiteral("skrivebord")));
  run.environment.set("XDG_DATA_HOME", run.dir.filePath(QStringLiteral("data")));
  EXPECT_EQ(morvel::applicationsFolder(), run.dir.filePath(QStringLiteral("data/applications")));
  run.environment.set("XDG_DATA_HOME", QStringLiteral("relativ"));
  EXPECT_EQ(morvel::applicationsFolder(), run.home() + "/.local/share/applications");
}

TEST_F(Shortcuts, ThePathIsQuotedAsTheExecKeyWantsIt) {
  EXPECT_EQ(execLine(morvel::desktopEntry(QStringLiteral("/usr/bin/morvex"))), "/usr/bin/morvex %F");
  EXPECT_EQ(execLine(morvel::desktopEntry(QStringLiteral("/opt/Mine programmer/morvex"))),
            "\"/opt/Mine programmer/morvex\" %F");
  // In quotes: \" \` \$ \\; then every backslash doubled once more for the
  // string value, and % doubled for the field codes.
  EXPECT_EQ(execLine(morvel::desktopEntry(QStringLiteral("/opt/a\"b`c$d\\e/100%/morvex"))),
            "\"/opt/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e/100%%/morvex\" %F");
  EXPECT_EQ(morvel::desktopEntry(QStringLiteral("/opt/to\nlinjer/morvex")), "");
  const QString entry = morvel::desktopEntry(QStringLiteral("/usr/bin/morvex"));
  EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
  EXPECT_TRUE(entry.contains("\nType=Application\n"));
  EXPECT_TRUE(entry.contains("\nName=Brimvale's Morvel\n"));
  EXPECT_TRUE(entry.contains("\nMimeType=text/html;"));
}

TEST_F(Shortcuts, AnvendCreatesAndDeletesThemByTheCheckBoxes) {
  TIndstillinger& d = run.dialog();
  d.chkDesktop->click();
  d.chkOverfoer->click();
  d.cmdAnvend->click();
  ASSERT_TRUE(QFile::exists(desktopFile()));
  ASSERT_TRUE(QFile::exists(applicationsFile()));
  const QString program = QCoreApplication::applicationFilePath();
  EXPECT_EQ(fileText(desktopFile()), morvel::desktopEntry(program).toStdString());
  EXPECT_TRUE(QFileInfo(desktopFile()).isExecutable());
  // Anvend stores nothing.
  EXPECT_FALSE(run.store().ValueExists("Indstillinger", "Desktop"));

  d.chkDesktop->click();
  d.cmdGem->click();
  EXPECT_FALSE(QFile::exists(desktopFile()));
  EXPECT_TRUE(QFile::exists(applicationsFile()));
  EXPECT_FALSE(run.store().ReadBool("Indstillinger", "Desktop", true));
  EXPECT_TRUE(run.store().ReadBool("Indstillinger", "Overfoer", false));
}

TEST_F(Shortcuts, AnExistingShortcutIsLeftAsItIs) {
  QDir(run.home()).mkpath(QStringLiteral("Desktop"));
  std::ofstream(desktopFile().toStdString()) << "[Desktop Entry]\nName=Min egen\n";
  run.dialog().chkDesktop->click();
  run.dialog().cmdAnvend->click();
  EXPECT_EQ(fileText(desktopFile()), "[Desktop Entry]\nName=Min egen\n");
}

TEST_F(Shortcuts, AShortcutThatCannotBeMadeIsReported) {
  // A file where the desktop folder should be.
  std::ofstream((run.home() + "/Desktop").toStdString()) << "ikke en mappe";
  run.dialog().chkDesktop->click();
  ScriptedResponder responder;
  responder.answer(IDOK);
  run.dialog().cmdAnvend->click();
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke oprette genvejen %1.").arg(desktopFile()));
}

// An installed program (PREFIX/bin/morvex beside its desktop entry): the
// shortcuts link to the installed entry, but only when "Exec=morvex" in it
// starts this very program.
TEST_F(Shortcuts, AnInstalledProgramsShortcutsLinkToItsDesktopEntry) {
  const auto install = [this](const QString& prefix) {
    QDir(run.dir.path()).mkpath(prefix + QStringLiteral("/bin"));
    QDir(run.dir.path()).mkpath(prefix + QStringLiteral("/share/applications"));
    const QString program = run.dir.filePath(prefix + QStringLiteral("/bin/morvex"));
    std::ofstream(program.toStdString()) << "#!/bin/sh\n";
    QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    std::ofstream(run.dir.filePath(prefix + QStringLiteral("/share/applications/morvex.desktop")).toStdString())
        << "[Desktop Entry]\nType=Application\nName=Morvel\nExec=morvex %F\n";
    return program;
  };
  const QString program = install(QStringLiteral("usr"));
  const QString entry = run.dir.filePath(QStringLiteral("usr/share/applications/morvex.desktop"));
  const QString desktop = run.home() + QStringLiteral("/Desktop");

  // Not on the PATH: "Exec=morvex" would not start it, so the shortcut is
  // an entry of its own naming the program.
  run.environment.set("PATH", QStringLiteral("/usr/bin:/bin"));
  EXPECT_EQ(morvel::installedDesktopEntry(program), "");
  ASSERT_TRUE(morvel::placeShortcut(desktop, true, program));
  EXPECT_FALSE(QFileInfo(desktopFile()).isSymLink());
  EXPECT_EQ(fileText(desktopFile()), morvel::desktopEntry(program).toStdString());
  ASSERT_TRUE(morvel::placeShortcut(desktop, false, program));

  run.environment.set("PATH", run.dir.filePath(QStringLiteral("usr/bin")) + QStringLiteral(":/usr/bin:/bin"));
  EXPECT_EQ(morvel::installedDesktopEntry(program), entry);
  ASSERT_TRUE(morvel::placeShortcut(desktop, true, program));
  ASSERT_TRUE(morvel::placeShortcut(morvel::applicationsFolder(), true, program));
  EXPECT_EQ(QFileInfo(desktopFile()).symLinkTarget(), entry);
  EXPECT_EQ(QFileInfo(applicationsFile()).symLinkTarget(), entry);
  // Removing the shortcut leaves the installed entry.
  ASSERT_TRUE(morvel::placeShortcut(desktop, false, program));
  EXPECT_FALSE(QFileInfo(desktopFile()).isSymLink());
  EXPECT_TRUE(QFile::exists(entry));

  // Another morvex earlier on the PATH is what "Exec=morvex" would start.
  install(QStringLiteral("opt"));
  run.environment.set("PATH", run.dir.filePath(QStringLiteral("opt/bin")) + QLatin1Char(':') +
                                  run.dir.filePath(QStringLiteral("usr/bin")));
  EXPECT_EQ(morvel::installedDesktopEntry(program), "");
}

}  // namespace
