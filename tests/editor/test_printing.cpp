// Printing a Tivra32 window's text to PDF: pages between the header and
// footer the notify window asks for, the job name, the scaled font, the
// progress dialog and its cancel button, and printing without dialogs.
#include "common_dialogs.h"
#include "editor_harness.h"
#include "pdf_reader.h"
#include "scripted_responder.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using editor_test::Editor;
using editor_test::NotifyWindow;
using testing_support::ScriptedResponder;

namespace {

platform::Responder printTo(const QString& file) {
  return [file](platform::Request& r) {
    QPrinter* printer = static_cast<platform::PrintDialogRequest*>(r.data)->printer;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    return 1;
  };
}

std::string numberedLines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "Linje %03d\tm\xE6rke", i);
    text += line;
    if (i < count) text += "\r\n";
  }
  return text;
}

// The window of the progress dialog and the text it shows now.
HWND progressDialog() { return FindWindow(nullptr, "Udskriver..."); }

std::string progressText(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char text[128] = {};
    GetWindowText(child, text, sizeof text);
    if (std::strncmp(text, "Nu udskrives", 12) == 0) return text;
  }
  return {};
}

struct PageRequest {
  int vertical;
  int horizontal;
  int vertres;
  int horzres;
  int lineHeight;
  int characterHeight;
  int dpiY;
  bool editorEnabled;
  std::string progress;
};

class Printing : public ::testing::Test {
 protected:
  QString pdf(const QString& name) const { return QDir(dir_.path()).filePath(name); }

  // Records each page request, draws a header line, and answers with the
  // heights `answer` chooses from the page and line height.
  void watchPages(NotifyWindow& parent, const Editor& e, std::function<LRESULT(const PageRequest&)> answer) {
    parent.handlers[TM_PRINTPAGE] = [this, &e, answer](WPARAM wParam, LPARAM lParam) -> LRESULT {
      auto dc = reinterpret_cast<HDC>(wParam);
      TEXTMETRIC tm{};
      GetTextMetrics(dc, &tm);
      PageRequest page{LOWORD(lParam),
                       HIWORD(lParam),
                       GetDeviceCaps(dc, VERTRES),
                       GetDeviceCaps(dc, HORZRES),
                       tm.tmHeight + tm.tmExternalLeading,
                       tm.tmHeight - tm.tmInternalLeading,
                       GetDeviceCaps(dc, LOGPIXELSY),
                       IsWindowEnabled(e.hwnd()) != FALSE,
                       progressText(progressDialog())};
      pages.push_back(page);
      char header[32];
      std::snprintf(header, sizeof header, "Sidehoved %zu", pages.size());
      TextOut(dc, 0, 0, header, static_cast<int>(std::strlen(header)));
      return answer(page);
    };
  }

  std::vector<PageRequest> pages;
  QTemporaryDir dir_;
};

TEST_F(Printing, TwoHundredLinesFillThePagesBetweenHeaderAndFooter) {
  NotifyWindow parent;
  Editor e(parent, TS_FILECOMMANDS);
  LOGFONT font{};
  font.lfHeight = -16;
  std::strcpy(font.lfFaceName, "DejaVu Sans Mono");
  e.send(TM_SETLOGFONT, 0, reinterpret_cast<LPARAM>(&font));
  e.setText(numberedLines(200));
  static const char jobName[] = "Udskrift af en side med et meget langt navn";
  parent.handlers[TM_PRINTJOBNAME] = [](WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(jobName); };
  // Room for 50 lines and a half between header and footer.
  watchPages(parent, e, [](const PageRequest& p) {
    const int header = p.vertical / 8;
    const int footer = p.vertical - header - 50 * p.lineHeight - p.lineHeight / 2;
    return MAKELONG(header, footer);
  });
  const QString file = pdf(QStringLiteral("side.pdf"));
  ScriptedResponder responder;
  responder.answer(printTo(file));
  e.send(WM_COMMAND, TCMD_PRINT);

  ASSERT_EQ(pages.size(), 4u);
  for (size_t i = 0; i < pages.size(); ++i) {
    const PageRequest& p = pages[i];
    EXPECT_EQ(p.vertical, p.vertres);
    EXPECT_EQ(p.horizontal, p.horzres);
    EXPECT_FALSE(p.editorEnabled) << "the editor is disabled while it prints";
    EXPECT_EQ(p.progress, "Nu udskrives side " + std::to_string(i + 1));
  }
  // The screen font, 16 pixels high, at the printer's resolution.
  HDC screen = GetDC(e.hwnd());
  const int screenDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(e.hwnd(), screen);
  EXPECT_NEAR(pages[0].characterHeight, 16.0 * pages[0].dpiY / screenDpi, 2.0);
  EXPECT_TRUE(IsWindowEnabled(e.hwnd()));
  EXPECT_EQ(progressDialog(), nullptr) << "the progress dialog is gone";

  if (!testing_support::pdfToolsPresent())
    GTEST_SKIP() << "pdftotext/pdfinfo (poppler-utils) not installed: PDF contents not checked";
  const QStringList text = testing_support::pdfPages(file);
  ASSERT_EQ(text.size(), 4);
  for (int page = 0; page < 4; ++page) {
    SCOPED_TRACE(page + 1);
    const QStringList lines = text[page].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 51) << "the header and 50 lines: " << text[page].toStdString();
    EXPECT_EQ(lines[0].trimmed(), QStringLiteral("Sidehoved %1").arg(page + 1));
    for (int i = 1; i <= 50; ++i) {
      const QString expected = QStringLiteral("Linje %1").arg(page * 50 + i, 3, 10, QLatin1Char('0'));
      const QString line = lines[i].trimmed();
      EXPECT_TRUE(line.startsWith(expected) && line.endsWith(QStringLiteral("mærke"))) << line.toStdString();
    }
  }
  EXPECT_EQ(testing_support::pdfInfo(file, QStringLiteral("Title")), QStringLiteral("Udskrift af en side med et mege"))
      << "at most 31 characters of the job name";
}

TEST_F(Printing, CancellingTheProgressDialogStopsTheJob) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(numberedLines(200));
  // Ten lines a page; "&Annuller" is pressed while page 2 prints.
  watchPages(parent, e, [this](const PageRequest& p) {
    if (pages.size() == 2) {
      HWND cancel = GetDlgItem(progressDialog(), IDCANCEL);
      char text[32] = {};
      GetWindowText(cancel, text, sizeof text);
      EXPECT_STREQ(text, "&Annuller");
      SendMessage(cancel, BM_CLICK, 0, 0);
    }
    return MAKELONG(0, p.vertical - 10 * p.lineHeight);
  });
  const QString file = pdf(QStringLiteral("afbrudt.pdf"));
  ScriptedResponder responder;
  responder.answer(printTo(file));
  e.send(WM_COMMAND, TCMD_PRINT);
  EXPECT_EQ(pages.size(), 2u) << "no page after the cancel";
  EXPECT_FALSE(QFile::exists(file)) << "a cancelled job leaves nothing";
  EXPECT_TRUE(IsWindowEnabled(e.hwnd()));
  EXPECT_EQ(progressDialog(), nullptr);

  // Cancelling the print dialog prints nothing.
  pages.clear();
  responder.answer(0);
  e.send(WM_COMMAND, TCMD_PRINT);
  EXPECT_TRUE(pages.empty());
}

TEST_F(Printing, WithoutDialogsTheKeptSetupIsUsed) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(numberedLines(3));
  watchPages(parent, e, [](const PageRequest&) { return 0; });
  const QString file = pdf(QStringLiteral("opsat.pdf"));
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::PrintSetup);
    return printTo(file)(r);
  });
  e.send(WM_COMMAND, TCMD_PRINTSETUP);
  EXPECT_FALSE(QFile::exists(file)) << "setting up prints nothing";

  e.setOptions(TivraOption::NoPrintDialog | TivraOption::NoPrintProgress, true);
  EXPECT_EQ(e.send(TM_COMMANDSTATE, TCMD_PRINTSETUP), 0);
  e.send(WM_COMMAND, TCMD_PRINTSETUP);  // no dialog: the responder would fail the test
  e.send(WM_COMMAND, TCMD_PRINT);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].progress, "") << "no progress dialog";
  EXPECT_TRUE(QFile::exists(file));
  if (!testing_support::pdfToolsPresent())
    GTEST_SKIP() << "pdftotext (poppler-utils) not installed: PDF contents not checked";
  const QStringList text = testing_support::pdfPages(file);
  ASSERT_EQ(text.size(), 1);
  EXPECT_TRUE(text[0].contains(QStringLiteral("Linje 003")));
  EXPECT_EQ(testing_support::pdfInfo(file, QStringLiteral("Title")), QStringLiteral("<<Ikke navngivet>>"))
      << "without a job name from the notify window";
}

// Printed text without its blanks and line ends, to compare with what
// was printed whatever rows it went on.
QString withoutBlanks(QString text) {
  text.remove(QRegularExpression(QStringLiteral("\\s")));
  return text;
}

// Lines longer than the paper is wide go on in the next rows, broken after
// a blank where there is one; the rows, not the lines, fill the pages.
TEST_F(Printing, LongLinesWrapOntoTheNextRowsAndTheRowsFillThePages) {
  NotifyWindow parent;
  Editor e(parent);
  std::string words;  // 300 characters: "ord001 ord002 ..."
  for (int i = 1; words.size() < 300; ++i) {
    char word[16];
    std::snprintf(word, sizeof word, "ord%03d ", i);
    words += word;
  }
  words.resize(300);
  std::string unbroken;  // 300 characters without a blank
  for (int i = 0; i < 300; ++i) unbroken += static_cast<char>(i % 36 < 26 ? 'a' + i % 36 : '0' + i % 36 - 26);
  std::string text;
  for (int i = 1; i <= 8; ++i) text += "Linje " + std::to_string(i) + "\r\n";
  e.setText(text + words + "\r\n" + unbroken);
  // Room for ten rows under the header.
  watchPages(parent, e, [](const PageRequest& p) {
    return MAKELONG(p.lineHeight, p.vertical - p.lineHeight - 10 * p.lineHeight - p.lineHeight / 2);
  });
  const QString file = pdf(QStringLiteral("lange.pdf"));
  ScriptedResponder responder;
  responder.answer(printTo(file));
  e.send(WM_COMMAND, TCMD_PRINT);
  ASSERT_EQ(pages.size(), 2u) << "ten lines, but more than ten rows";

  if (!testing_support::pdfToolsPresent())
    GTEST_SKIP() << "pdftotext (poppler-utils) not installed: PDF contents not checked";
  const QStringList printed = testing_support::pdfPages(file);
  ASSERT_EQ(printed.size(), 2);
  QString all;  // the rows of both pages without their headers
  for (const QString& page : printed) {
    QStringList rows = page.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_LE(rows.size(), 11) << "the header and at most ten rows: " << page.toStdString();
    ASSERT_TRUE(rows.value(0).trimmed().startsWith(QStringLiteral("Sidehoved")));
    rows.removeFirst();
    all += rows.join(QLatin1Char('\n')) + QLatin1Char('\n');
  }
  for (int i = 1; i <= 42; ++i) {
    const QString word = QStringLiteral("ord%1").arg(i, 3, 10, QLatin1Char('0'));
    EXPECT_TRUE(all.contains(word)) << "a word broken between rows: " << word.toStdString();
  }
  EXPECT_TRUE(withoutBlanks(all).contains(withoutBlanks(QString::fromLatin1(words.c_str()))))
      << "every character of the line with words";
  EXPECT_TRUE(withoutBlanks(all).contains(QString::fromLatin1(unbroken.c_str())))
      << "every character of the line without blanks: " << all.toStdString();
}

// A job that cannot start (the PDF's folder does not exist) is told to the
// notify window and, unless it answers 1, to the user.
TEST_F(Printing, AJobThatCannotBeDoneIsReported) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(numberedLines(3));
  const QString file = QDir(dir_.path()).filePath(QStringLiteral("findes-ikke/side.pdf"));
  {
    ScriptedResponder responder;
    responder.answer(printTo(file));
    responder.answer(IDOK);
    e.send(WM_COMMAND, TCMD_PRINT);
    ASSERT_EQ(responder.seen().size(), 2u);
    EXPECT_EQ(responder.last().kind, platform::RequestKind::MessageBox);
    EXPECT_EQ(responder.last().text, QStringLiteral("Udskrivningen kunne ikke gennemføres"));
    EXPECT_EQ(responder.last().caption, QStringLiteral("Tivra V2.09 (32-bit)"));
    EXPECT_TRUE(responder.last().flags & MB_ICONSTOP);
  }
  EXPECT_EQ(parent.count(TN_FILEERROR), 1);
  EXPECT_TRUE(IsWindowEnabled(e.hwnd()));
  EXPECT_EQ(progressDialog(), nullptr);
  EXPECT_FALSE(QFile::exists(file));

  // Claimed by the notify window: no message.
  parent.answers[TN_FILEERROR] = 1;
  ScriptedResponder responder;
  responder.answer(printTo(file));
  e.send(WM_COMMAND, TCMD_PRINT);
  EXPECT_EQ(parent.count(TN_FILEERROR), 2);
  EXPECT_EQ(responder.seen().size(), 1u);

  // A job that prints tells nothing.
  responder.answer(printTo(pdf(QStringLiteral("side.pdf"))));
  e.send(WM_COMMAND, TCMD_PRINT);
  EXPECT_EQ(parent.count(TN_FILEERROR), 2);
  EXPECT_TRUE(QFile::exists(pdf(QStringLiteral("side.pdf"))));
}

// The pieces of a line longer than the editor's lines are one line on
// paper: every row but the last is full, none ends where a piece ends.
TEST_F(Printing, ThePiecesOfALongLinePrintAsOneLine) {
  NotifyWindow parent;
  Editor e(parent);
  LOGFONT font{};
  font.lfHeight = -16;
  std::strcpy(font.lfFaceName, "DejaVu Sans Mono");
  e.send(TM_SETLOGFONT, 0, reinterpret_cast<LPARAM>(&font));
  std::string line;  // 8200 characters without a blank: pieces of 8193 and 7
  for (int i = 0; i < 8200; ++i) line += static_cast<char>('a' + i % 26);
  e.setText(line);
  ASSERT_EQ(e.lineCount(), 2);
  watchPages(parent, e, [](const PageRequest& p) { return MAKELONG(p.lineHeight, 0); });
  const QString file = pdf(QStringLiteral("stykker.pdf"));
  ScriptedResponder responder;
  responder.answer(printTo(file));
  e.send(WM_COMMAND, TCMD_PRINT);
  ASSERT_FALSE(pages.empty());

  if (!testing_support::pdfToolsPresent())
    GTEST_SKIP() << "pdftotext (poppler-utils) not installed: PDF contents not checked";
  QStringList rows;
  for (const QString& page : testing_support::pdfPages(file)) {
    QStringList pageRows = page.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_FALSE(pageRows.isEmpty());
    pageRows.removeFirst();  // the header
    for (const QString& row : pageRows) rows << row.trimmed();
  }
  ASSERT_GT(rows.size(), 2);
  for (int i = 1; i + 1 < rows.size(); ++i) EXPECT_EQ(rows[i].size(), rows[0].size()) << "row " << i;
  EXPECT_EQ(rows.join(QString()), QString::fromLatin1(line.c_str()));
}

TEST_F(Printing, APageWithoutRoomForALineStillPrintsOneSoTheJobEnds) {
  NotifyWindow parent;
  Editor e(parent);
  e.setText(numberedLines(3));
  watchPages(parent, e, [](const PageRequest& p) { return MAKELONG(p.vertical - 1, p.vertical); });
  const QString file = pdf(QStringLiteral("smal.pdf"));
  ScriptedResponder responder;
  responder.answer(printTo(file));
  e.send(WM_COMMAND, TCMD_PRINT);
  EXPECT_EQ(pages.size(), 3u);
}

}  // namespace
