// Whole pages: the skeleton and BODY tag of the page base dialog, the META
// lines of the meta dialog, and the templates a new page starts from.
#include "dialogs/page_codes.h"

#include "markup/code_check.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using morvel::PageBase;

std::string lineOf(const std::string& text, int line) {
  std::size_t start = 0;
  for (int i = 0; i < line; ++i) start = text.find('\n', start) + 1;
  return text.substr(start, text.find("\r\n", start) - start);
}

TEST(NewPage, TheDefaultPageWithItsTitleAndTheContentLineInTheBody) {
  PageBase page;
  page.title = "Forside";
  const morvel::NewPage made = morvel::newPageCode(page);
  EXPECT_EQ(
      made.text,
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n<HTML>\r\n<HEAD>\r\n\t<TITLE>Forside</TITLE>\r\n"
      "</HEAD>\r\n<BODY>\r\n\r\n\r\n</BODY>\r\n</HTML>\r\n");
  // Line 7 of a page that starts at line 1.
  EXPECT_EQ(made.contentLine, 6);
  EXPECT_EQ(lineOf(made.text, made.contentLine), "");
  EXPECT_EQ(lineOf(made.text, made.contentLine - 1), "<BODY>");
}

TEST(NewPage, APageWithoutBodyOrDocumentTypeHasThreeEmptyLinesBeforeTheEnd) {
  PageBase page;
  page.withBody = false;
  morvel::NewPage made = morvel::newPageCode(page);
  EXPECT_EQ(made.text.substr(made.text.find("<HTML>")),
            "<HTML>\r\n<HEAD>\r\n\t<TITLE></TITLE>\r\n</HEAD>\r\n\r\n\r\n\r\n</HTML>\r\n");
  EXPECT_EQ(made.contentLine, 5);  // line 6
  EXPECT_EQ(lineOf(made.text, made.contentLine - 1), "</HEAD>");
  page.withDocumentType = false;
  page.withBody = true;
  page.documentType = std::string(morvel::kDocumentTypes[2]);
  made = morvel::newPageCode(page);
  EXPECT_EQ(made.text.rfind("<HTML>", 0), 0u);
  EXPECT_EQ(lineOf(made.text, made.contentLine - 1), "<BODY>");
}

TEST(BodyTag, ColoursComeAllFiveBackgroundFirstByTheColourCodeRule) {
  PageBase page;
  EXPECT_EQ(morvel::bodyTag(page, ""), "<BODY>");
  page.withColours = true;
  page.backgroundPicture = "billeder/bund.gif";
  EXPECT_EQ(morvel::bodyTag(page, " onLoad=\"go()\""),
            "<BODY BACKGROUND=\"billeder/bund.gif\" BGCOLOR=\"White\" TEXT=\"Black\" LINK=\"Blue\" VLINK=\"#660066\" "
            "ALINK=\"Red\" onLoad=\"go()\">");
}

TEST(BodyTag, AnEditedBodyIncludesItsColoursAndKeepsTheRestAtTheirDefaults) {
  // <body bgcolor="#FFFFFF" text=black>
  morvel::BodyAttributes body;
  body.bgcolor = "#FFFFFF";
  body.text = "black";
  PageBase page = morvel::pageBase(body, PageBase{});
  EXPECT_TRUE(page.withColours);
  EXPECT_EQ(morvel::bodyTag(page, ""),
            "<BODY BGCOLOR=\"White\" TEXT=\"Black\" LINK=\"Blue\" VLINK=\"#660066\" ALINK=\"Red\">");
  body = {};
  body.link = "#00FF00";
  body.background = "b.jpg";
  page = morvel::pageBase(body, PageBase{});
  EXPECT_EQ(page.colours.link, morvel::colorFromRgb(0, 0xFF, 0));
  EXPECT_EQ(page.backgroundPicture, "b.jpg");
  // No colour: none included, the picture as it was.
  page = morvel::pageBase(morvel::BodyAttributes{}, PageBase{});
  EXPECT_FALSE(page.withColours);
  EXPECT_EQ(morvel::bodyTag(page, ""), "<BODY>");
}

TEST(Meta, TheEntriesAndTheirLines) {
  const auto entries = morvel::metaEntries();
  EXPECT_EQ(entries[5].caption, "Indl\xC3\xA6s");
  EXPECT_EQ(entries[5].name, "Refresh");
  EXPECT_TRUE(entries[5].httpEquiv);
  EXPECT_TRUE(entries[10].httpEquiv);
  EXPECT_EQ(entries[11].caption, "Andet...");
  int httpEquiv = 0;
  for (const morvel::MetaEntry& e : entries) httpEquiv += e.httpEquiv ? 1 : 0;
  EXPECT_EQ(httpEquiv, 2);
  EXPECT_EQ(morvel::metaLine(true, entries[5].name, entries[5].content),
            "<META HTTP-EQUIV=\"Refresh\" CONTENT=\"10; URL=http://www.example.com/\">\r\n");
  EXPECT_EQ(morvel::metaLine(false, "Author", "Ida"), "<META NAME=\"Author\" CONTENT=\"Ida\">\r\n");
}

TEST(Meta, LinesGoBeforeTheHeadEndOrAtTheStart) {
  EXPECT_EQ(morvel::metaInsertOffset("<HTML><HEAD><TITLE>x</TITLE></HEAD><BODY></BODY>"), 28u);
  EXPECT_EQ(morvel::metaInsertOffset("<html><head>\r\n</head>"), 14u);
  EXPECT_EQ(morvel::metaInsertOffset("<BODY>ingen hoved</BODY>"), 0u);
}

class Templates : public ::testing::Test {
 protected:
  void write(const QString& folder, const QString& name, const char* text = "x") {
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  std::filesystem::path path(const QString& folder) { return folder.toStdString(); }

  QTemporaryDir dir;
  QString installed = dir.filePath(QStringLiteral("share/Skabeloner"));
  QString own = dir.filePath(QStringLiteral("home/Skabeloner"));
};

TEST_F(Templates, BothFoldersAreListedByNameAndTheUsersOwnWinsOverAnInstalledOne) {
  write(installed, QStringLiteral("Kontakt.mvs"));
  write(installed, QStringLiteral("Almindelig side.mvs"));
  write(installed, QStringLiteral("noter.txt"));
  write(own, QStringLiteral("kontakt.MVS"));
  write(own, QStringLiteral("B\u00F8rn.mvs"));
  QDir().mkpath(QDir(own).filePath(QStringLiteral("mappe.mvs")));
  const std::vector<morvel::TemplateFile> list = morvel::listTemplates(path(installed), path(own));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "Almindelig side");
  EXPECT_FALSE(list[0].own);
  EXPECT_EQ(list[1].name, "B\xC3\xB8rn");
  EXPECT_TRUE(list[1].own);
  EXPECT_EQ(list[2].name, "kontakt");
  EXPECT_TRUE(list[2].own);
  EXPECT_EQ(list[2].file, path(own) / "kontakt.MVS");
  // Missing folders give none.
  EXPECT_TRUE(morvel::listTemplates(path(dir.filePath("ingen")), path(dir.filePath("heller ikke"))).empty());
}

TEST(TemplateName, ANameStaysInTheTemplatesFolder) {
  EXPECT_TRUE(morvel::isTemplateName("Min side"));
  EXPECT_TRUE(morvel::isTemplateName("side.v2"));
  for (const char* bad : {"", ".", "..", "../ude", "a/b", "/etc/x"}) EXPECT_FALSE(morvel::isTemplateName(bad)) << bad;
}

// The templates the program ships are valid pages by its own code check.
TEST(ShippedTemplates, PassTheCodeCheck) {
  const QDir folder(QStringLiteral(MORVEL_SHIPPED_TEMPLATES));
  const QStringList files = folder.entryList({QStringLiteral("*.mvs")}, QDir::Files);
  EXPECT_GE(files.size(), 3);
  for (const QString& name : files) {
    SCOPED_TRACE(name.toStdString());
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const morvel::CodeCheckResult result = morvel::checkHtmlCode(std::string_view(bytes.constData(), bytes.size()));
    EXPECT_FALSE(result.faultFound()) << result.report;
    EXPECT_TRUE(bytes.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01"));
    // CR LF throughout, as the editor writes its lines.
    EXPECT_GT(bytes.count("\r\n"), 10);
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count("\r"), bytes.count("\r\n"));
  }
}

}  // namespace
