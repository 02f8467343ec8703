// Where the program keeps the user's projects, templates and scripts, and
// where it finds the ones it ships, for a copy run from its own folder and
// for an installed program.
#include "program_run.h"
#include "startup/program_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class ProgramFolder : public ::testing::Test {
 protected:
  ProgramFolder() {
    environment.unset("MORVEL_HOME");
    environment.set("HOME", dir.path());
    environment.unset("XDG_DATA_HOME");
  }
  QString path(const char* relative) const { return dir.filePath(QString::fromUtf8(relative)); }
  QString userData() const { return path(".local/share/Brimvale/Morvel"); }

  QTemporaryDir dir;
  app_test::EnvironmentGuard environment;
};

TEST_F(ProgramFolder, ACopyInAFolderOfItsOwnKeepsTheUsersFilesBesideItself) {
  QDir().mkpath(path("kopi"));
  EXPECT_EQ(morvel::sharedDataFolder(path("kopi")), "");
  EXPECT_EQ(morvel::programFolder(path("kopi")), path("kopi"));
}

TEST_F(ProgramFolder, AnInstalledProgramKeepsTheUsersFilesInTheUsersDataFolder) {
  // PREFIX/bin/morvex beside PREFIX/share/morvel, and bin writable, as for
  // root or an install into a prefix of one's own.
  QDir().mkpath(path("usr/bin"));
  QDir().mkpath(path("usr/share/morvel/Skabeloner"));
  EXPECT_EQ(morvel::sharedDataFolder(path("usr/bin")), path("usr/share/morvel"));
  EXPECT_EQ(morvel::programFolder(path("usr/bin")), userData());

  environment.set("XDG_DATA_HOME", path("data"));
  EXPECT_EQ(morvel::programFolder(path("usr/bin")), path("data/Brimvale/Morvel"));
  environment.set("MORVEL_HOME", path("valgt"));
  EXPECT_EQ(morvel::programFolder(path("usr/bin")), path("valgt"));
}

}  // namespace
