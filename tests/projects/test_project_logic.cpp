// The project store's text, the paths of project documents, the size texts
// and the archive flag, called directly.
#include "projects/archive_flag.h"
#include "projects/project_paths.h"
#include "projects/project_store.h"
#include "projects/size_text.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using morvel::ProjectLine;

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A store as the program wrote it before stores were UTF-8: Danish letters
// in Windows-1252.
const std::string kStore =
    "Morvel-projekter\r\n"
    " Hjemmeside for B\xF8rnehaven\r\n"
    "  - /home/anne/www/\r\n"
    "  ../f\xE6lles/menu.htm\r\n"
    "  index.htm\r\n"
    " [Ingen titel]\r\n"
    "  - /srv/\r\n";

TEST(ProjectStore, AStoreReadAndWrittenAgainIsTheSameByteForByte) {
  const morvel::ProjectStoreContent read = morvel::parseProjectStore(kStore);
  ASSERT_FALSE(read.invalidLevel);
  EXPECT_FALSE(read.utf8);
  ASSERT_EQ(read.lines.size(), 7u);
  EXPECT_EQ(read.lines[1], (ProjectLine{1, "Hjemmeside for B\xF8rnehaven"}));
  EXPECT_EQ(read.lines[3], (ProjectLine{2, "../f\xE6lles/menu.htm"}));
  EXPECT_EQ(morvel::formatProjectStore(read.lines), kStore);

  QTemporaryDir dir;
  const std::string path = dir.filePath("projekt.mvp").toStdString();
  ASSERT_TRUE(morvel::writeProjectFile(path, read.lines));
  EXPECT_EQ(fileBytes(path), kStore);
  const morvel::ProjectFile again = morvel::readProjectFile(path);
  EXPECT_EQ(again.status, morvel::ProjectFileStatus::Read);
  EXPECT_EQ(again.content.lines, read.lines);
  // Writing again keeps the mode the user gave the store.
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  ASSERT_TRUE(morvel::writeProjectFile(path, read.lines));
  EXPECT_EQ(std::filesystem::status(path).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  // Nothing but the store is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()), {}), 1);
}

TEST(ProjectStore, LevelsComeFromLeadingTabsAndSpacesAndLinesMayEndInLineFeedAlone) {
  const auto read = morvel::parseProjectStore("Top\n\tP\n \tx.htm\n\t Q\n  - /r/\r\n");
  ASSERT_FALSE(read.invalidLevel);
  EXPECT_EQ(read.lines, (std::vector<ProjectLine>{{0, "Top"}, {1, "P"}, {2, "x.htm"}, {2, "Q"}, {2, "- /r/"}}));
  // A shallower line closes as many levels as it goes back.
  const auto back = morvel::parseProjectStore("Top\r\n P\r\n  d\r\nOther\r\n P2\r\n");
  EXPECT_EQ(back.lines.back(), (ProjectLine{1, "P2"}));
  EXPECT_EQ(back.lines[3], (ProjectLine{0, "Other"}));
}

TEST(ProjectStore, ALineMoreThanOneLevelDeeperStopsTheReadingAndKeepsWhatCameBefore) {
  const auto read = morvel::parseProjectStore("Morvel-projekter\r\n   P\r\n Q\r\n");
  EXPECT_TRUE(read.invalidLevel);
  EXPECT_EQ(read.lines, (std::vector<ProjectLine>{{0, "Morvel-projekter"}}));
  const auto later = morvel::parseProjectStore("T\r\n P\r\n  - /r/\r\n    a.htm\r\n  b.htm\r\n");
  EXPECT_TRUE(later.invalidLevel);
  EXPECT_EQ(later.lines.size(), 3u);
  // A first line that is indented has nothing to hang under.
  EXPECT_TRUE(morvel::parseProjectStore(" T\r\n").invalidLevel);
}

TEST(ProjectStore, EndOfFileMarkerEndsTheStoreAndOnlyAQuotedNameKeepsALeadingSpace) {
  const auto read = morvel::parseProjectStore("T\r\n P\r\n\x1A\r\n Q\r\n");
  EXPECT_EQ(read.lines, (std::vector<ProjectLine>{{0, "T"}, {1, "P"}}));
  // The marker only counts alone on its line.
  EXPECT_EQ(morvel::parseProjectStore("T\r\n \x1A"
                                      "x\r\n")
                .lines.size(),
            2u);
  // Written by hand without quotes, a leading space is one level more.
  EXPECT_EQ(morvel::parseProjectStore("T\r\n A\r\n  B\r\n").lines.back(), (ProjectLine{2, "B"}));
}

// Any name a Linux file may have comes back as it was: in UTF-8, and in
// quotes where its first character or a line break would change how the
// line reads.
TEST(ProjectStore, AnyNameIsWrittenSoThatItReadsBackTheSame) {
  const std::vector<ProjectLine> lines{
      {0, "Morvel-projekter"},
      {1, "Hjemmeside for B\xC3\xB8rnehaven"},
      {2, "- /home/anne/\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB5\xD0\xBA\xD1\x82\xD1\x8B/"},
      {2, " side.htm"},
      {2, "\tfaneblad.htm"},
      {2, "to\nlinier.htm"},
      {2, "\"citat\".htm"},
      {2, "slutter med CR\r"},
      {2, "\x1A"},
      {2, ""},
      {2, "back\\slash \xF0\x9F\x98\x80.htm"},
      {1, "\"Andet\" \\ projekt"},
  };
  const std::string written = morvel::formatProjectStore(lines);
  EXPECT_NE(written.find("\r\n  \" side.htm\"\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("\r\n  \"to\\nlinier.htm\"\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("\r\n  \"\\\"citat\\\".htm\"\r\n"), std::string::npos) << written;
  // Names that read back as they stand are written as they are.
  EXPECT_NE(written.find("\r\n  back\\slash \xF0\x9F\x98\x80.htm\r\n"), std::string::npos) << written;
  const morvel::ProjectStoreContent read = morvel::parseProjectStore(written);
  EXPECT_FALSE(read.invalidLevel);
  EXPECT_TRUE(read.utf8);
  EXPECT_EQ(read.lines, lines);
  // A line that only looks quoted is taken as it stands.
  EXPECT_EQ(morvel::parseProjectStore("T\r\n \"a\"b\"\r\n \"c\\q\"\r\n").lines,
            (std::vector<ProjectLine>{{0, "T"}, {1, "\"a\"b\""}, {1, "\"c\\q\""}}));
}

TEST(ProjectStore, AMissingStoreIsNotAnErrorAndAFailedWriteLeavesTheOldStore) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("projekt.mvp").toStdString();
  EXPECT_EQ(morvel::readProjectFile(path).status, morvel::ProjectFileStatus::Missing);
  // A folder in the store's place cannot be replaced by a file.
  std::filesystem::create_directory(path);
  writeBytes(path + "/keep", "x");
  EXPECT_FALSE(morvel::writeProjectFile(path, {{0, "T"}}));
  EXPECT_EQ(fileBytes(path + "/keep"), "x");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path().toStdString()), {}), 1);
  EXPECT_FALSE(morvel::writeProjectFile(dir.filePath("no/such/folder/projekt.mvp").toStdString(), {{0, "T"}}));
}

TEST(ProjectPaths, RelativePathsClimbOutOfTheRootAndResolveBackToTheSameFile) {
  struct Case {
    const char* root;
    const char* file;
    const char* relative;
  };
  const Case cases[] = {
      {"/www/site/", "/www/site/index.htm", "index.htm"},
      {"/www/site/", "/www/site/sub/a b.htm", "sub/a b.htm"},
      {"/www/site/", "/www/sibling/page.htm", "../sibling/page.htm"},
      {"/www/site/deep/", "/other/x.css", "../../../other/x.css"},
      {"/", "/etc/x.htm", "etc/x.htm"},
      {"/www/site", "/www/site/index.htm", "index.htm"},  // root without its "/"
      {"/www/site/", "/www/sitex/y.htm", "../sitex/y.htm"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(morvel::relativePath(c.root, c.file), c.relative) << c.file;
    EXPECT_EQ(morvel::resolveRelativePath(c.root, c.relative), c.file) << c.relative;
  }
}

TEST(ProjectPaths, ResolvingCutsOneFolderPerLeadingClimbAndKnowsTheShorthands) {
  EXPECT_EQ(morvel::resolveRelativePath("/a/b/c/", ".../x.htm"), "/a/x.htm");
  EXPECT_EQ(morvel::resolveRelativePath("/a/b/c/", "..../x.htm"), "/x.htm");
  // Never above the root.
  EXPECT_EQ(morvel::resolveRelativePath("/a/", "../../../x.htm"), "/x.htm");
  EXPECT_EQ(morvel::resolveRelativePath("/a/", "...../x.htm"), "/x.htm");
  // "./" inside a name is no climb.
  EXPECT_EQ(morvel::resolveRelativePath("/a/b/", "v2./x.htm"), "/a/b/v2./x.htm");
  EXPECT_EQ(morvel::resolveRelativePath("/a/b", "x.htm"), "/a/b/x.htm");
}

TEST(ProjectPaths, HtmlDocumentsAreKnownByTheirExtensionInLowerCaseOnly) {
  for (const char* name : {"a.htm", "a.html", "sub/a.shtml", "a.phtml", "../x/a.asp"}) {
    EXPECT_TRUE(morvel::hasHtmlExtension(name)) << name;
    EXPECT_TRUE(morvel::opensInEditor(name)) << name;
  }
  for (const char* name : {"Index.HTM", "a.Html", "a.css", "a.htmx", "htm", "dir.htm/readme", "a.txt"}) {
    EXPECT_FALSE(morvel::hasHtmlExtension(name)) << name;
  }
  EXPECT_TRUE(morvel::opensInEditor("style/site.css"));
  EXPECT_FALSE(morvel::opensInEditor("Index.HTM"));
  EXPECT_FALSE(morvel::opensInEditor("a.CSS"));
}

TEST(SizeText, LongShortAndCombinedForms) {
  EXPECT_EQ(morvel::longSizeText(0), "0 bytes");
  EXPECT_EQ(morvel::longSizeText(999), "999 bytes");
  EXPECT_EQ(morvel::longSizeText(1234), "1.234 bytes");
  EXPECT_EQ(morvel::longSizeText(123456), "123.456 bytes");
  EXPECT_EQ(morvel::longSizeText(7654321), "7.654.321 bytes");
  EXPECT_EQ(morvel::shortSizeText(0), "0,0 KB");
  EXPECT_EQ(morvel::shortSizeText(1), "0,1 KB");
  EXPECT_EQ(morvel::shortSizeText(50), "0,1 KB");
  EXPECT_EQ(morvel::shortSizeText(102), "0,1 KB");
  EXPECT_EQ(morvel::shortSizeText(512), "0,5 KB");
  EXPECT_EQ(morvel::shortSizeText(1234), "1,2 KB");
  EXPECT_EQ(morvel::shortSizeText(1048576), "1024,0 KB");
  EXPECT_EQ(morvel::shortSizeText(1048577), "1,00 MB");
  EXPECT_EQ(morvel::shortSizeText(2000000), "1,90 MB");
  EXPECT_EQ(morvel::shortSizeText(5ull * 1024 * 1024 * 1024), "5120,00 MB");
  EXPECT_EQ(morvel::combinedSizeText(1234), "1,2 KB (1.234 bytes)");
  EXPECT_EQ(morvel::combinedSizeText(2000000), "1,90 MB (2.000.000 bytes)");
}

TEST(ArchiveFlag, SetUntilPublishedAndSetAgainByTheNextChange) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("a.htm").toStdString();
  EXPECT_FALSE(morvel::hasArchiveFlag(path));
  EXPECT_FALSE(morvel::clearArchiveFlag(path));
  writeBytes(path, "one");
  EXPECT_TRUE(morvel::hasArchiveFlag(path));
  ASSERT_TRUE(morvel::clearArchiveFlag(path));
  EXPECT_FALSE(morvel::hasArchiveFlag(path));
  // The next write sets it again; its time is moved on in case the clock
  // has not ticked since.
  writeBytes(path, "two");
  const auto now = std::filesystem::last_write_time(path);
  std::filesystem::last_write_time(path, now + std::chrono::seconds(1));
  EXPECT_TRUE(morvel::hasArchiveFlag(path));
}

}  // namespace
