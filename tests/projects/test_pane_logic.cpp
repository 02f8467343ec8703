// The file panes' plain logic called directly: the drive list from mount
// tables, masks and the listing of a folder, the facts and short names of
// files, and moving, copying and renaming without losing a file.
#include "projects/archive_flag.h"
#include "projects/drive_list.h"
#include "projects/file_listing.h"
#include "projects/file_transfer.h"

#include "../support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace morvel {
namespace {

namespace fs = std::filesystem;
using testing_support::TempFolder;

// ---------------------------------------------------------------------------
// Drives

const std::string kMountInfo =
    "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
    "27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
    "28 27 0:25 / /mnt/sandkasse/dyb/mappe ro,nosuid - tmpfs intet ro\n"
    "30 27 8:17 / /media/anne/USB\\040N\xC3\x98GLE rw,nosuid shared:7 master:2 - vfat /dev/sdb1 rw\n"
    "31 27 8:33 / /mnt rw - ext4 /dev/sdc1 rw\n"
    "32 31 8:34 / /mnt/backup rw - ext4 /dev/sdc2 rw\n"
    "33 27 8:49 / /run/media/anne/FOTO rw - exfat /dev/sdd1 rw\n"
    "34 27 8:50 / /media/cdrom rw - iso9660 /dev/sr0 ro\n"
    "35 27 8:50 / /media/cdrom rw - iso9660 /dev/sr0 ro\n"
    "36 27 0:5 / /home rw - ext4 /dev/vda2 rw\n"
    "noget vrøvl uden felter\n"
    "37 27 0:6 / /run/user/1000 rw - tmpfs tmpfs rw\n";

TEST(Drives, MountsAreReadWithTheirEscapedNames) {
  const std::vector<MountPoint> mounts = parseMountInfo(kMountInfo);
  ASSERT_EQ(mounts.size(), 11u);
  EXPECT_EQ(mounts[0], (MountPoint{"/proc", "proc", "proc"}));
  EXPECT_EQ(mounts[3], (MountPoint{"/media/anne/USB N\xC3\x98GLE", "/dev/sdb1", "vfat"}));
  EXPECT_EQ(mounts[10].path, "/run/user/1000");
  EXPECT_TRUE(parseMountInfo("").empty());
}

TEST(Drives, TheRootTheHomeAndTheMountsOfMediaAndDisksWithTheirLabels) {
  const std::map<std::string, std::string> labels{{"/dev/sdd1", "Ferie 2024"}};
  const std::vector<Drive> drives = driveList(parseMountInfo(kMountInfo), "/home/anne/", labels);
  const std::vector<Drive> expected{
      {"/", "Rodmappe (/)", DriveKind::Root},
      {"/home/anne", "Hjemmemappe (/home/anne)", DriveKind::Home},
      {"/media/anne/USB N\xC3\x98GLE", "USB N\xC3\x98GLE (/media/anne/USB N\xC3\x98GLE)", DriveKind::Removable},
      {"/mnt", "mnt (/mnt)", DriveKind::Removable},
      {"/mnt/backup", "backup (/mnt/backup)", DriveKind::Removable},
      {"/run/media/anne/FOTO", "Ferie 2024 (/run/media/anne/FOTO)", DriveKind::Removable},
      {"/media/cdrom", "cdrom (/media/cdrom)", DriveKind::Removable},
  };
  EXPECT_EQ(drives, expected);
  // Root's home is the root itself.
  EXPECT_EQ(driveList({}, "/", {}).size(), 1u);
}

TEST(Drives, AFolderBelongsToTheDriveThatHoldsItMostClosely) {
  const std::vector<Drive> drives = driveList(parseMountInfo(kMountInfo), "/home/anne", {});
  EXPECT_EQ(driveOf("/home/anne/www/index.htm", drives), 1);
  EXPECT_EQ(driveOf("/home/anneberit", drives), 0);
  EXPECT_EQ(driveOf("/mnt/backup/x", drives), 4);
  EXPECT_EQ(driveOf("/mnt/backupper", drives), 3);
  EXPECT_EQ(driveOf("relativ/sti", drives), -1);
  const std::vector<MountPoint> mounts = parseMountInfo(kMountInfo);
  EXPECT_EQ(mountPointOf("/home/anne/www", mounts), "/home");
  EXPECT_EQ(mountPointOf("/usr/share", mounts), "/");
  EXPECT_TRUE(folderHolds("/", "/x"));
  EXPECT_TRUE(folderHolds("/a", "/a"));
  EXPECT_FALSE(folderHolds("/a", "/ab"));
}

TEST(Drives, LabelsComeFromTheLinksOfTheLabelFolder) {
  const TempFolder folder;
  fs::create_directories(folder.file("dev/disk/by-label"));
  fs::create_symlink("../../sdb1", folder.file("dev/disk/by-label/USB\\x20N\xC3\x98GLE"));
  fs::create_symlink("../../sdc1", folder.file("dev/disk/by-label/DATA"));
  folder.write("dev/disk/by-label/ikke-et-link", "");
  const std::map<std::string, std::string> labels = readDiskLabels(folder.file("dev/disk/by-label"));
  const std::map<std::string, std::string> expected{{folder.file("dev/sdb1"), "USB N\xC3\x98GLE"},
                                                    {folder.file("dev/sdc1"), "DATA"}};
  EXPECT_EQ(labels, expected);
  EXPECT_TRUE(readDiskLabels(folder.file("mangler")).empty());
}

// ---------------------------------------------------------------------------
// Masks and listings

TEST(FileMasks, PatternsSeparatedBySemicolonsOrCommas) {
  EXPECT_EQ(maskPatterns("*.exe,*.zip"), (std::vector<std::string>{"*.exe", "*.zip"}));
  EXPECT_EQ(maskPatterns(" *.gif ; *.jpg;;"), (std::vector<std::string>{"*.gif", "*.jpg"}));
  EXPECT_TRUE(matchesMask("Index.HTM", "*.htm*;*.shtml"));
  EXPECT_TRUE(matchesMask("side.html", "*.htm*"));
  EXPECT_TRUE(matchesMask("pakke.zip", "*.exe,*.zip"));
  EXPECT_FALSE(matchesMask("pakke.zip.txt", "*.exe,*.zip"));
  EXPECT_TRUE(matchesMask("README", "*.*"));
  EXPECT_TRUE(matchesPattern("a1.gif", "a?.gif"));
  EXPECT_FALSE(matchesPattern("a12.gif", "a?.gif"));
  EXPECT_TRUE(matchesPattern("abcabcd", "*abcd"));
  EXPECT_FALSE(matchesMask("x.htm", ""));
}

TEST(FileMasks, AFolderListsItsMatchingFilesByName) {
  const TempFolder folder;
  for (const char* name : {"b.htm", "A.HTM", "c.exe", "d.zip", "e.gif", "mappe.htm/x"}) folder.write(name, "x");
  fs::create_symlink(folder.file("b.htm"), folder.file("link.htm"));
  fs::create_symlink(folder.file("mangler.htm"), folder.file("brudt.htm"));
  EXPECT_EQ(listFiles(folder.path(), "*.htm*"), (std::vector<std::string>{"A.HTM", "b.htm", "link.htm"}));
  EXPECT_EQ(listFiles(folder.folder(), "*.exe,*.zip"), (std::vector<std::string>{"c.exe", "d.zip"}));
  EXPECT_EQ(listFiles(folder.path(), "*.*").size(), 6u);
  EXPECT_TRUE(listFiles(folder.file("mangler"), "*.*").empty());
}

TEST(FileFactsTest, SizeTimesAndAttributes) {
  const TempFolder folder;
  const std::string page = folder.write("side.htm", std::string(1234, 'x'));
  const std::string hidden = folder.write(".htaccess", "");
  FileFacts facts = factsOf(page);
  EXPECT_TRUE(facts.exists);
  EXPECT_EQ(facts.bytes, 1234u);
  EXPECT_GT(facts.modified, 0);
  EXPECT_EQ(attributeText(facts), "A");
  if (clearArchiveFlag(page)) {
    EXPECT_EQ(attributeText(factsOf(page)), "");
  }
  ::chmod(page.c_str(), 0444);
  EXPECT_TRUE(factsOf(page).readOnly);
  EXPECT_EQ(attributeText(factsOf(hidden)).substr(0, 1), "H");
  EXPECT_FALSE(factsOf(folder.file("mangler")).exists);
}

TEST(FileFactsTest, ShortNamesAreTheNameOrItsFirstLettersAndANumber) {
  const std::vector<std::string> names{"index.htm", "Min side.html", "Min sidste.html", "MINSID~1.HTM",
                                       ".htaccess", "README",        "a.b.c.jpeg",      "x+y.gif"};
  const std::vector<std::string> expected{"INDEX.HTM", "MINSID~2.HTM", "MINSID~3.HTM", "MINSID~1.HTM",
                                          "HTACCE~1",  "README",       "ABC~1.JPE",    "X_Y~1.GIF"};
  EXPECT_EQ(shortNames(names), expected);

  // A folder of many names alike: every short name is its own.
  std::vector<std::string> many;
  for (int i = 0; i < 3000; ++i) many.push_back("side" + std::to_string(10000 + i) + ".htm");
  const std::vector<std::string> shorts = shortNames(many);
  EXPECT_EQ(std::set<std::string>(shorts.begin(), shorts.end()).size(), many.size());
  EXPECT_EQ(shorts[0], "SIDE10~1.HTM");
  EXPECT_EQ(shorts[9], "SIDE1~10.HTM");
  EXPECT_EQ(shorts[2999].substr(0, 4), "SID~");
}

// ---------------------------------------------------------------------------
// Moving, copying, renaming

int filesIn(const std::string& folder) {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) ++count;
  return count;
}

TEST(FileTransfer, ACopyReplacesAFileOnlyWhenItIsWhole) {
  const TempFolder folder;
  const std::string from = folder.write("kilde/a.gif", "nyt billede");
  const std::string to = folder.write("maal/a.gif", "gammelt");
  ::chmod(from.c_str(), 0640);
  ASSERT_TRUE(copyFileWhole(from, to));
  EXPECT_EQ(folder.read("maal/a.gif"), "nyt billede");
  struct stat info {};
  ASSERT_EQ(::stat(to.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  // A source that cannot be read leaves the old file and no half copy.
  EXPECT_FALSE(copyFileWhole(folder.file("kilde/mangler.gif"), to));
  EXPECT_FALSE(copyFileWhole(folder.file("kilde"), to));
  EXPECT_EQ(folder.read("maal/a.gif"), "nyt billede");
  EXPECT_EQ(filesIn(folder.file("maal")), 1);
  // Nowhere to write: nothing changes.
  EXPECT_FALSE(copyFileWhole(from, folder.file("findes-ikke/a.gif")));
  EXPECT_EQ(folder.read("kilde/a.gif"), "nyt billede");
}

TEST(FileTransfer, MovingAndRenaming) {
  const TempFolder folder;
  const std::string a = folder.write("a.htm", "a");
  const std::string b = folder.write("b.htm", "b");
  EXPECT_FALSE(renameWithoutReplacing(a, b));
  EXPECT_EQ(folder.read("a.htm"), "a");
  EXPECT_EQ(folder.read("b.htm"), "b");
  ASSERT_TRUE(renameWithoutReplacing(a, folder.file("c.htm")));
  EXPECT_FALSE(fs::exists(a));
  EXPECT_EQ(folder.read("c.htm"), "a");
  // A move replaces what the user chose to replace.
  ASSERT_TRUE(moveFile(folder.file("c.htm"), b));
  EXPECT_EQ(folder.read("b.htm"), "a");
  EXPECT_FALSE(fs::exists(folder.file("c.htm")));
  EXPECT_FALSE(moveFile(folder.file("mangler.htm"), b));
  EXPECT_EQ(folder.read("b.htm"), "a");
}

}  // namespace
}  // namespace morvel
