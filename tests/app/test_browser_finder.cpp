// Finding an installed browser for the settings' browser list: desktop
// entries and programs in a temporary folder stand for the system's.
#include "common_dialogs.h"
#include "scripted_responder.h"
#include "settings/browser_entry_dialog.h"
#include "settings/browser_finder.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using morvel::BrowserFamily;
using morvel::findBrowser;
using testing_support::ScriptedResponder;

class BrowserFolders : public ::testing::Test {
 protected:
  BrowserFolders() {
    fs::create_directories(applications());
    fs::create_directories(bin());
    fs::create_directories(opt());
    places.applicationFolders = {applications(), root() / "missing"};
    places.programFolders = {bin()};
  }
  fs::path root() const { return fs::path(dir.path().toStdString()); }
  fs::path applications() const { return root() / "share/applications"; }
  fs::path bin() const { return root() / "bin"; }
  fs::path opt() const { return root() / "opt"; }

  static void write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
  static fs::path program(const fs::path& file, bool executable = true) {
    write(file, "#!/bin/sh\nexit 0\n");
    fs::permissions(file, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    return file;
  }
  void entry(const std::string& file, const std::string& name, const std::string& exec, const std::string& extra = "") {
    write(applications() / file, "[Desktop Entry]\nType=Application\nName=" + name + "\nName[da]=Lokalt navn\nExec=" +
                                     exec + "\n" + extra + "[Desktop Action new-window]\nExec=other %u\n");
  }

  QTemporaryDir dir;
  morvel::BrowserSearchPlaces places;
};

TEST(BrowserExecLine, TheProgramIsTheFirstWordAfterAnyEnvironment) {
  EXPECT_EQ(morvel::programOfExecLine("firefox %u"), "firefox");
  EXPECT_EQ(morvel::programOfExecLine("\"/opt/my browser/chrome\" --new-window %U"), "/opt/my browser/chrome");
  EXPECT_EQ(morvel::programOfExecLine("env MOZ_ENABLE_WAYLAND=1 A=b /usr/lib/firefox/firefox %u"),
            "/usr/lib/firefox/firefox");
  EXPECT_EQ(morvel::programOfExecLine("  "), "");
}

TEST_F(BrowserFolders, BothFamiliesAreFoundThroughEntriesAndThePath) {
  // Firefox by an entry naming its program with a folder outside the path.
  const fs::path esr = program(opt() / "firefox-esr/firefox-esr");
  entry("firefox-esr.desktop", "Firefox ESR", "env MOZ_X=1 \"" + esr.string() + "\" %u");
  // Chromium by an entry naming a program on the path.
  const fs::path chromium = program(bin() / "chromium");
  entry("org.chromium.Chromium.desktop", "Chromium Web Browser", "chromium %U");

  EXPECT_EQ(findBrowser(BrowserFamily::Firefox, places), (morvel::FoundBrowser{"Firefox ESR", esr}));
  EXPECT_EQ(findBrowser(BrowserFamily::Chromium, places), (morvel::FoundBrowser{"Chromium Web Browser", chromium}));
}

TEST_F(BrowserFolders, OnlyRunnableProgramsOfVisibleEntriesCount) {
  // A hidden entry, an entry whose program is gone, a program that cannot run.
  program(opt() / "hidden/firefox");
  entry("hidden.desktop", "Skjult", (opt() / "hidden/firefox").string(), "Hidden=true\n");
  entry("gone.desktop", "Væk", (opt() / "gone/firefox").string());
  program(bin() / "chromium", false);
  EXPECT_EQ(findBrowser(BrowserFamily::Firefox, places), std::nullopt);
  EXPECT_EQ(findBrowser(BrowserFamily::Chromium, places), std::nullopt);

  // A program on the path without any entry is found by its own name.
  const fs::path brave = program(bin() / "brave-browser");
  EXPECT_EQ(findBrowser(BrowserFamily::Chromium, places), (morvel::FoundBrowser{"Brave-browser", brave}));
}

TEST_F(BrowserFolders, TheEntryWindowFillsItsFieldsOrSaysNothingWasFound) {
  const fs::path firefox = program(bin() / "firefox");
  entry("firefox.desktop", "Firefox", "firefox %u");
  BrowserEntryDialog dialog(QString(), QString(), nullptr);
  dialog.searchPlaces = [this] { return places; };
  dialog.cmdFindNetscape->click();
  EXPECT_EQ(dialog.txt1->text(), "Firefox");
  EXPECT_EQ(dialog.txt2->text().toStdString(), firefox.string());

  ScriptedResponder responder;
  responder.answer(IDOK);
  dialog.cmdFindMSIE->click();
  EXPECT_EQ(responder.last().text, "Morvel kan ikke finde chromium");
  // The fields keep what the first finder put there.
  EXPECT_EQ(dialog.txt1->text(), "Firefox");

  // The browse button offers the programs of the folder of the path given.
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.caption, "Find Web-browser");
    auto& choice = *static_cast<platform::FileDialogRequest*>(r.data);
    EXPECT_TRUE(choice.executablesOnly);
    EXPECT_EQ(choice.folder.toStdString(), bin().string());
    choice.chosen = {QStringLiteral("/usr/bin/anden")};
    return 1;
  });
  dialog.cmd1->click();
  EXPECT_EQ(dialog.txt2->text(), "/usr/bin/anden");
}

}  // namespace
