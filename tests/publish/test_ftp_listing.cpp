// Listing lines into entries, by server type.
#include "ftp_listing.h"

#include <gtest/gtest.h>

using namespace morvel;
using namespace morvel::ftp;

namespace {

class FtpListing : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = setDateTimeSource([] { return DateTime{2026, 12, 8, 21, 0, 0}; });
  }
  void TearDown() override { setDateTimeSource(previous_); }

  static DateTime january() { return DateTime{2027, 1, 15, 9, 0, 0}; }

 private:
  DateTimeSource previous_;
};

}  // namespace

TEST_F(FtpListing, UnixFoldersLinksAndFiles) {
  FtpListingParser parser(TFTPServerType::ftpstUNIX);
  auto dir = parser.parse("drwxr-xr-x   2 user  group   512 Jan  3 12:30 public_html");
  ASSERT_TRUE(dir);
  EXPECT_EQ(dir->name, "public_html");
  EXPECT_TRUE(dir->isDirectory);
  EXPECT_EQ(dir->size, "512");
  EXPECT_EQ(dir->date, "03-01-2026 12:30");

  auto link = parser.parse("lrwxrwxrwx 1 u g 7 Feb 1 1999 site -> public_html");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->name, "site");
  EXPECT_TRUE(link->isDirectory);
  EXPECT_EQ(link->date, "01-02-1999 ");

  auto file = parser.parse("-rw-r--r--   1 owner    ftp        10240 Dec 24  2001 index.htm");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->name, "index.htm");
  EXPECT_FALSE(file->isDirectory);
  EXPECT_EQ(file->size, "10240");

  EXPECT_FALSE(parser.parse("total 12"));
  EXPECT_FALSE(parser.parse(""));
  EXPECT_FALSE(parser.parse("crw-r--r-- 1 root root 1, 3 Jan 1 1999 null"));
}

TEST_F(FtpListing, UnixNamesDatesAndOddLines) {
  // The name is everything after the date, with its inner spaces.
  auto spaced = parseUnixLine("-rw-r--r-- 1 u g 99 Mar 5 2003 my page.htm", currentDateTime());
  ASSERT_TRUE(spaced);
  EXPECT_EQ(spaced->name, "my page.htm");
  auto folder = parseUnixLine("drwxr-xr-x   2 user  group   512 Jan  3 12:30 gamle  sider ", currentDateTime());
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->name, "gamle  sider");
  EXPECT_EQ(folder->date, "03-01-2026 12:30");
  // A link is cut at its arrow; an arrow inside a file's name is the name.
  auto link = parseUnixLine("lrwxrwxrwx 1 u g 7 Feb 1 1999 mine sider -> public html", currentDateTime());
  ASSERT_TRUE(link);
  EXPECT_EQ(link->name, "mine sider");
  EXPECT_TRUE(link->isLink);
  EXPECT_TRUE(link->isDirectory);
  EXPECT_EQ(parseUnixLine("-rw-r--r-- 1 u g 9 Feb 1 1999 a->b.htm", currentDateTime())->name, "a->b.htm");
  // Without a group, and in the bracketed form, the name starts after the date too.
  EXPECT_EQ(parseUnixLine("-rw-r--r-- 1 owner 2048 Nov 30 23:59 ny side.gif", currentDateTime())->name, "ny side.gif");
  EXPECT_EQ(parseUnixLine("-r--r--r-- [R----F--] supervisor 5436 Mar 10 13:44 læs mig.txt", currentDateTime())->name,
            "læs mig.txt");
  // A line that stops before the name is no entry.
  EXPECT_FALSE(parseUnixLine("-rw-r--r-- 1 u g 99 Mar 5 2003", currentDateTime()));
  EXPECT_FALSE(parseUnixLine("-rw-r--r-- 1 u g 99 Mar 5 2003   ", currentDateTime()));

  // A month outside Jan ... Dec: still an entry, with the date "?".
  auto odd = parseUnixLine("-rw-r--r-- 1 u g 99 Mai 5 2003 side.htm", currentDateTime());
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->name, "side.htm");
  EXPECT_EQ(odd->date, "?");

  // Without a group the size is field 3.
  auto noGroup = parseUnixLine("-rw-r--r-- 1 owner 2048 Nov 30 23:59 a.gif", currentDateTime());
  ASSERT_TRUE(noGroup);
  EXPECT_EQ(noGroup->size, "2048");
  EXPECT_EQ(noGroup->date, "30-11-2026 23:59");

  // A time in a month after the current one is last year's.
  auto lastYear = parseUnixLine("-rw-r--r-- 1 u g 1 Feb 1 08:15 b.txt", january());
  ASSERT_TRUE(lastYear);
  EXPECT_EQ(lastYear->date, "01-02-2026 08:15");
  auto thisYear = parseUnixLine("-rw-r--r-- 1 u g 1 Jan 2 08:15 b.txt", january());
  EXPECT_EQ(thisYear->date, "02-01-2027 08:15");

  // The bracketed form keeps the server's own date words.
  auto bracket = parseUnixLine("-r--r--r-- [R----F--] supervisor 5436 Mar 10 13:44 readme.txt", currentDateTime());
  ASSERT_TRUE(bracket);
  EXPECT_EQ(bracket->size, "5436");
  EXPECT_EQ(bracket->date, "Mar 10 13:44");
  EXPECT_EQ(bracket->name, "readme.txt");

  EXPECT_EQ(parseUnixLine("-rw-r--r-- 1 u g 99 Mar xx 2003 c.htm", currentDateTime())->date, "?");
}

TEST_F(FtpListing, FieldsCountRunsOfSpacesAsOne) {
  EXPECT_EQ(listingField("a   b  c", 1), "b");
  EXPECT_EQ(listingField("a   b  c", 2), "c");
  EXPECT_EQ(listingField("a b", 5), "");
  EXPECT_EQ(listingField(" a b", 0), "");
  EXPECT_EQ(listingField(" a b", 1), "a");
  EXPECT_EQ(textAfterField("a   b  c d", 1), "c d");
  EXPECT_EQ(textAfterField(" a b c", 1), "b c");
  EXPECT_EQ(textAfterField("a b", 1), "");
  EXPECT_EQ(textAfterField("a b   ", 1), "");
}

TEST_F(FtpListing, NamesThatCannotBeUsedInsideALocalFolder) {
  for (const char* safe : {"index.htm", "gamle sider", "æble og øl.htm", ".htaccess", "...", "a..b"})
    EXPECT_TRUE(isSafeLocalName(safe)) << safe;
  using namespace std::string_literals;
  for (const std::string& unsafe : {""s, "."s, ".."s, "../../.bashrc"s, "a/b"s, "/etc"s, "a\\b"s, "x\0y"s,
                                    "linje\nskift"s, "tab\there"s, "del\x7f"s})
    EXPECT_FALSE(isSafeLocalName(unsafe)) << unsafe;
}

TEST_F(FtpListing, VmsEntriesAndContinuationLines) {
  FtpListingParser parser(TFTPServerType::ftpstVmsMultinet);
  EXPECT_FALSE(parser.parse("Directory DISK$USER:[WEB]"));
  auto file = parser.parse("INDEX.HTML;3   12/15  1-JAN-1999 12:00  [WEB,OWNER]  (RWED,RWED,RE,)");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->name, "INDEX.HTML");
  EXPECT_FALSE(file->isDirectory);
  EXPECT_EQ(file->size, "12/15");
  EXPECT_EQ(file->date, "1-JAN-1999 12:00");

  auto dir = parser.parse("GRAFIK.DIR;1    1/3  2-FEB-2000 08:00  [WEB,OWNER]");
  ASSERT_TRUE(dir);
  EXPECT_EQ(dir->name, "GRAFIK");
  EXPECT_TRUE(dir->isDirectory);

  // A long name on a line of its own: its details follow on the next line.
  EXPECT_FALSE(parser.parse("A_VERY_LONG_NAME_FOR_A_PAGE.HTML;12"));
  auto joined = parser.parse("                      4/6  3-MAR-2001 10:00  [A,B]  (RWED,RWED,RE,)");
  ASSERT_TRUE(joined);
  EXPECT_EQ(joined->name, "A_VERY_LONG_NAME_FOR_A_PAGE.HTML");
  EXPECT_EQ(joined->size, "4/6");
  EXPECT_EQ(joined->date, "3-MAR-2001 10:00");

  EXPECT_FALSE(parser.parse("Total of 3 files, 17/24 blocks."));
  auto next = parser.parse("Y.TXT;1 1/1 4-APR-2002 11:00 [A,B]");
  ASSERT_TRUE(next);
  EXPECT_EQ(next->name, "Y.TXT");
}

TEST_F(FtpListing, VmListingsAndTypesWithoutAParser) {
  FtpListingParser vm(TFTPServerType::ftpstVM);
  auto file = vm.parse("PROFILE  EXEC     V         72         12          1 1999-01-05 10:22:31 USR191");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->name, "PROFILE.EXEC");
  EXPECT_EQ(file->size, "72");
  EXPECT_EQ(file->date, "1999-01-05 10:22:31");
  EXPECT_FALSE(file->isDirectory);

  FtpListingParser vps(TFTPServerType::ftpstVMVPS);
  EXPECT_FALSE(vps.parse("FILENAME FILETYPE = RECS"));
  EXPECT_FALSE(vps.parse("totals: 4 files"));
  auto entry = vps.parse("INDEX HTML 4096 F 80 x 10:22 1999-01-05");
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->name, "INDEX.HTML");
  EXPECT_EQ(entry->size, "4096");
  EXPECT_EQ(entry->date, "1999-01-05 10:22");

  for (TFTPServerType none : {TFTPServerType::ftpstAutoDetect, TFTPServerType::ftpstMVS, TFTPServerType::ftpstNCSA,
                              TFTPServerType::ftpstChameleon, TFTPServerType::ftpstMacFtpd})
    EXPECT_FALSE(FtpListingParser(none).parse("-rw-r--r-- 1 u g 1 Jan 1 1999 a")) << static_cast<int>(none);
  EXPECT_TRUE(FtpListingParser(TFTPServerType::ftpstDefault).parse("-rw-r--r-- 1 u g 1 Jan 1 1999 a"));
}
