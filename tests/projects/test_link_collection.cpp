// The link collection and the transfer-time arithmetic, called directly on
// pages and files in a temporary folder; the collection fuzzed and held to
// the length of the page.
#include "projects/link_collection.h"
#include "projects/transfer_time.h"

#include "../support/temp_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace morvel {
namespace {

using testing_support::TempFolder;

LinkOptions kinds(LinkKind first, LinkKind last) {
  LinkOptions options;
  options.first = first;
  options.last = last;
  return options;
}

std::vector<LinkRow> collect(std::string_view page, LinkOptions options = {}) {
  return collectLinks(page, "/ingen/mappe/", options);
}

LinkRow row(LinkKind kind, LinkIcon icon, std::string address, std::optional<std::string> description,
            std::optional<std::string> type, std::optional<std::string> size = std::nullopt) {
  return LinkRow{kind, icon, std::move(address), std::move(description), std::move(size), std::move(type)};
}

// ---------------------------------------------------------------------------
// The kinds

TEST(LinkCollection, EachKindGivesItsRowsInTheOrderOfKindsThenPlaces) {
  const std::string page =
      "<BODY BACKGROUND=\"baggrund.gif\"><FRAME NAME=\"top\" SRC=\"top.htm\"><frame src=\"http://x.dk/\" "
      "name=\"ude\"><a href=\"page.htm\">Forside</a> <A HREF=\"http://www.dr.dk\">DR</A>"
      "<A HREF=\"#slut\">Til slutningen</A><A HREF=\"mailto:anne@x.dk\">Skriv</A><A HREF=\"hent.zip\">Hent</A>"
      "<IMG SRC=\"a.gif\" ALT=\"Logo\"><IMG SRC=\"b.jpg\"><P ALT=\"x\"><EMBED SRC=\"lyd.mid\">"
      "<APPLET CODE=\"Ur.class\"><OBJECT CLASSID=\"clsid:123\"><A NAME=\"slut\">Slut</A>";
  const std::vector<LinkRow> rows = collect(page, kinds(LinkKind::Frame, LinkKind::Target));
  const std::vector<LinkRow> expected{
      row(LinkKind::Frame, LinkIcon::Frame, "top.htm", "top", "Ramme (l)"),
      row(LinkKind::Frame, LinkIcon::Frame, "http://x.dk/", "ude", "Ramme (w)"),
      row(LinkKind::Link, LinkIcon::Page, "page.htm", "Forside", "Lokal"),
      row(LinkKind::Link, LinkIcon::Web, "http://www.dr.dk", "DR", "Web"),
      row(LinkKind::Link, LinkIcon::Internal, "#slut", "Til slutningen", "Intern"),
      row(LinkKind::Link, LinkIcon::Email, "mailto:anne@x.dk", "Skriv", "E-mail"),
      row(LinkKind::Link, LinkIcon::Archive, "hent.zip", "Hent", "Lokal"),
      row(LinkKind::Picture, LinkIcon::Picture, "a.gif", "Logo", "Grafik"),
      // ALT of another element after the picture's end is not its text.
      row(LinkKind::Picture, LinkIcon::Picture, "b.jpg", "", "Grafik"),
      row(LinkKind::Background, LinkIcon::Picture, "baggrund.gif", "", "Grafik"),
      row(LinkKind::Embedded, LinkIcon::Embedded, "lyd.mid", "", "Embed"),
      row(LinkKind::Applet, LinkIcon::Java, "Ur.class", "", "Java"),
      row(LinkKind::ActiveX, LinkIcon::ActiveX, "clsid:123", "", "ActiveX"),
      row(LinkKind::Target, LinkIcon::Target, "#slut", "Slut", "Internt m\xE5l"),
  };
  EXPECT_EQ(rows, expected);
}

TEST(LinkCollection, OnlyDoubleQuotedValuesAreFound) {
  EXPECT_TRUE(collect("<A HREF='x.htm'>x</A><A HREF=x.htm>x</A>").empty());
  EXPECT_EQ(collect("<A HREF='x.htm'>x</A><A HREF=\"y.htm\">y</A>").at(0).address, "y.htm");
  // A value whose quote is never closed ends the kind.
  EXPECT_TRUE(collect("<A HREF=\"aaben").empty());
}

TEST(LinkCollection, AnAnchorWithoutAddressTakesTheNextAddressAfterIt) {
  const std::vector<LinkRow> rows =
      collect("<A NAME=\"top\">Top</A><P>tekst</P><A HREF=\"x.htm\">X</A>", kinds(LinkKind::Link, LinkKind::Link));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].address, "x.htm");
  EXPECT_EQ(rows[0].description, "X");
}

TEST(LinkCollection, TheDescriptionsOfTheirElements) {
  // ALT before the picture's address, and entities in a link's text.
  const std::vector<LinkRow> rows =
      collect("<IMG ALT=\"F&oslash;r\" SRC=\"f.gif\"><A HREF=\"b.htm\">Bl&aring;t &amp; gr&oslash;nt</A>",
              kinds(LinkKind::Link, LinkKind::Picture));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].description, "Bl\xE5t &amp; gr\xF8nt");
  EXPECT_EQ(rows[1].description, "F&oslash;r");
  // A link without "</A>" or without ">" has no text.
  EXPECT_EQ(collect("<A HREF=\"a.htm\">aldrig slut").at(0).description, "");
  EXPECT_EQ(collect("<A HREF=\"a.htm\"").at(0).description, "");
  // A frame without a name of its own does not borrow the next frame's.
  const std::vector<LinkRow> frames = collect("<FRAME SRC=\"a.htm\"><FRAME SRC=\"b.htm\" NAME=\"b\">");
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].description, "");
  EXPECT_EQ(frames[1].description, "b");
  // A link text that runs on is cut where a list can show it.
  const std::string longText(5000, 'x');
  EXPECT_EQ(collect("<A HREF=\"a.htm\">" + longText + "</A>").at(0).description->size(), 259u);
}

TEST(LinkCollection, TheLinesOfAFileAreJoinedWithoutAnythingBetweenThem) {
  const TempFolder folder;
  const std::string page = folder.write("side.htm",
                                        "<P>\r\n<A\r\n HREF=\"lang\r\nside.htm\">Lang\nside</A>\r\n"
                                        "<A\r\nHREF=\"tabt.htm\">forsvinder</A>\r");
  const std::vector<LinkRow> rows = collectLinksOfFile(page, kinds(LinkKind::Link, LinkKind::Link));
  ASSERT_EQ(rows.size(), 1u) << "\"<A\" and \"HREF\" on two lines become \"<AHREF\"";
  EXPECT_EQ(rows[0].address, "langside.htm");
  EXPECT_EQ(rows[0].description, "Langside");
  EXPECT_EQ(joinedLines("a\r\nb\nc\rd"), "abcd");
  EXPECT_TRUE(collectLinksOfFile(folder.file("mangler.htm"), {}).empty());
}

TEST(LinkCollection, TheOptionsChooseRowsAndColumns) {
  const TempFolder folder;
  folder.write("hent.ZIP", std::string(2048, 'z'));
  folder.write("billeder/a.gif", std::string(512, 'g'));
  const std::string page =
      "<A HREF=\"hent.ZIP\">Hent</A><A HREF=\"side.htm\">Side</A><A HREF=\"http://x.dk/fil.exe\">Ude</A>"
      "<A HREF=\"mangler.wav\">Lyd</A><A NAME=\"m\">m</A><IMG SRC=\"billeder/a.gif\" ALT=\"A\">"
      "<EMBED SRC=\"film.avi\">";
  LinkOptions files = kinds(LinkKind::Link, LinkKind::Target);
  files.fileTypesOnly = true;
  files.mediaSizes = true;
  const std::vector<LinkRow> rows = collectLinks(page, folder.folder(), files);
  const std::vector<LinkRow> expected{
      row(LinkKind::Link, LinkIcon::Archive, "hent.ZIP", "Hent", "Lokal", "2,0 KB"),
      // A web address of a shipped kind is kept, without a size.
      row(LinkKind::Link, LinkIcon::Web, "http://x.dk/fil.exe", "Ude", "Web"),
      row(LinkKind::Link, LinkIcon::Sound, "mangler.wav", "Lyd", "Lokal", "0,0 KB"),
      row(LinkKind::Picture, LinkIcon::Picture, "billeder/a.gif", "A", "Grafik", "0,5 KB"),
      row(LinkKind::Embedded, LinkIcon::Embedded, "film.avi", "", "Embed", "0,0 KB"),
  };
  EXPECT_EQ(rows, expected);

  LinkOptions bare = kinds(LinkKind::Picture, LinkKind::Embedded);
  bare.mediaDescriptions = false;
  bare.mediaTypes = false;
  for (const LinkRow& r : collectLinks(page, folder.folder(), bare)) {
    EXPECT_FALSE(r.description || r.type || r.size) << r.address;
  }
}

TEST(LinkCollection, FiltersFindTheirWordWithItsCase) {
  EXPECT_TRUE(shownByFilter("Intern", "Intern"));
  EXPECT_TRUE(shownByFilter("Internt m\xE5l", "Intern"));
  EXPECT_TRUE(shownByFilter("Ramme (w)", "Ramme"));
  EXPECT_TRUE(shownByFilter("Ramme (l)", "Ramme"));
  EXPECT_FALSE(shownByFilter("Lokal", "Web"));
  EXPECT_FALSE(shownByFilter("Intern", "intern"));
}

// ---------------------------------------------------------------------------
// Fuzzing and the cost of a page

std::size_t examined(std::string_view page) {
  LinkScanCost cost;
  collectLinks(page, "/", kinds(LinkKind::Frame, LinkKind::Target), &cost);
  return cost.bytesExamined;
}

TEST(LinkCollection, RandomPagesNeverBreakItAndEachKindReadsThePageOnce) {
  std::mt19937 random(20240611);
  const std::string pieces[] = {"<A ",     "<a href=\"", "HREF=\"",  "\"",         ">",
                                "</A>",    "<IMG ",      "SRC=\"",   "ALT=\"",     "<FRAME ",
                                "NAME=\"", "<BODY ",     "\r\n",     "&aring;",    "<EMBED ",
                                "CODE=\"", "<APPLET ",   "<OBJECT ", "CLASSID=\"", "BACKGROUND=\""};
  for (int round = 0; round < 200; ++round) {
    std::string page;
    const int length = std::uniform_int_distribution<int>(0, 4000)(random);
    while (static_cast<int>(page.size()) < length) {
      if (random() % 3 == 0)
        page += pieces[random() % std::size(pieces)];
      else
        page += static_cast<char>(random() % 256);
    }
    LinkScanCost cost;
    const std::vector<LinkRow> rows = collectLinks(page, "/", kinds(LinkKind::Frame, LinkKind::Target), &cost);
    for (const LinkRow& r : rows) {
      EXPECT_EQ(r.address.find('"'), std::string::npos);
      EXPECT_LE(r.description.value_or("").size(), 259u);
    }
    // Eight kinds, each reading the page about once for each thing it
    // looks for.
    EXPECT_LE(cost.bytesExamined, 8 * 16 * (page.size() + 16)) << "round " << round;
  }
}

TEST(LinkCollection, HostilePagesCostInProportionToTheirLength) {
  // Elements that never end, quotes never closed, one line of a megabyte:
  // twice the page costs twice the reading, not four times.
  const std::string shapes[] = {"<A HREF=\"x\"",
                                "<IMG SRC=\"a\" <IMG SRC=\"b\" ",
                                "<A HREF=\"x\">tekst uden slut ",
                                "<FRAME SRC=\"f\" ",
                                "<A NAME=\"n\"",
                                "HREF=\"",
                                "<A <A <A "};
  for (const std::string& shape : shapes) {
    std::string small;
    while (small.size() < 200'000) small += shape;
    const std::string large = small + small;
    const std::size_t once = examined(small);
    const std::size_t twice = examined(large);
    EXPECT_LE(twice * 10, once * 21 + 10'000) << shape;
    EXPECT_LE(twice, 8 * 16 * large.size()) << shape;
  }
  const std::string unclosed = "<A HREF=\"" + std::string(1'000'000, 'a');
  EXPECT_TRUE(collect(unclosed).empty());
  // A line of a megabyte of links, none of them ended.
  std::string line;
  while (line.size() < 1'000'000) line += "<A HREF=\"x.htm\">x ";
  const std::vector<LinkRow> rows = collect(line, kinds(LinkKind::Link, LinkKind::Link));
  EXPECT_EQ(rows.size(), line.size() / 18);
}

// ---------------------------------------------------------------------------
// Transfer time

TEST(TransferTime, SizeTextsReadBackInTenthsOfAKilobyte) {
  EXPECT_EQ(tenthsOfKilobyte("3,0 KB"), 30);
  EXPECT_EQ(tenthsOfKilobyte("12,5 KB"), 125);
  EXPECT_EQ(tenthsOfKilobyte("0,1 KB"), 1);
  EXPECT_EQ(tenthsOfKilobyte("1.023,9 KB"), 10239);
  EXPECT_EQ(tenthsOfKilobyte("1,90 MB"), 19000);
  EXPECT_EQ(tenthsOfKilobyte("ukendt"), 0);
  EXPECT_EQ(tenthsOfKilobyte("KB"), 0);
  EXPECT_EQ(kilobyteSum(155), "15,5 KB ");
  EXPECT_EQ(kilobyteSum(5), "0,5 KB ");
  EXPECT_EQ(kilobyteSum(0), "0,0 KB ");
}

TEST(TransferTime, APageOfThreeKilobytesWithAPictureOfTwelveAndAHalf) {
  const TempFolder folder;
  const std::string page = folder.write("side.htm", "<IMG SRC=\"billede.gif\">" + std::string(3072 - 23, ' '));
  folder.write("billede.gif", std::string(12800, 'g'));
  LinkOptions options;
  const std::vector<TransferItem> items = transferItems(collectLinksOfFile(page, options), folder.folder());
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].size, "12,5 KB");
  const TransferSummary sums = transferSummary("3,0 KB", items);
  EXPECT_EQ(sums, (TransferSummary{"3,0 KB ", "12,5 KB ", "15,5 KB ", "10 sek.", "5 sek.", "2 sek."}));

  // Nothing loaded besides the page, and a little.
  EXPECT_EQ(transferSummary("0,3 KB", {}),
            (TransferSummary{"0,3 KB ", "0,0 KB", "0,3 KB ", "0 sek.", "0 sek.", "0 sek."}));
  EXPECT_EQ(transferSummary("0,0 KB", {TransferItem{LinkIcon::Picture, "a.gif", "0,4 KB"}}).files, "0,4 KB ");
}

TEST(TransferTime, TheFilesAPageLoadsInTheirOrderEachOnce) {
  const TempFolder folder;
  folder.write("a.gif", std::string(1024, 'a'));
  folder.write("ramme.htm", "<IMG SRC=\"A.GIF\"><IMG SRC=\"r.gif\"><BODY BACKGROUND=\"rb.gif\">");
  folder.write("r.gif", std::string(2048, 'r'));
  const std::string page = folder.write(
      "side.htm",
      "<APPLET CODE=\"Ur.class\"><FRAME SRC=\"ramme.htm\"><FRAME SRC=\"http://x.dk/\"><EMBED SRC=\"lyd.mid\">"
      "<IMG SRC=\"a.gif\"><IMG SRC=\"A.gif\"><BODY BACKGROUND=\"bg.gif\"><OBJECT CLASSID=\"clsid:1\">");
  const std::vector<TransferItem> items = transferItems(collectLinksOfFile(page, {}), folder.folder());
  const std::vector<TransferItem> expected{
      {LinkIcon::Picture, "a.gif", "1,0 KB"},    {LinkIcon::Picture, "bg.gif", "0,0 KB"},
      {LinkIcon::Embedded, "lyd.mid", "0,0 KB"}, {LinkIcon::Frame, "ramme.htm", "0,1 KB"},
      {LinkIcon::Picture, "r.gif", "2,0 KB"},    {LinkIcon::Picture, "rb.gif", "0,0 KB"},
      {LinkIcon::Java, "Ur.class", "0,0 KB"},    {LinkIcon::ActiveX, "clsid:1", "0,0 KB"},
  };
  EXPECT_EQ(items, expected);
}

}  // namespace
}  // namespace morvel
