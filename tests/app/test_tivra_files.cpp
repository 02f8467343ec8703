// Files and printing through TTivra, end to end: its operations drive the
// editor window, the editor's notifications and questions come back as the
// component's events, and the results land on disk and on paper (PDF).
#include "common_dialogs.h"
#include "component/tivra_component.h"
#include "pdf_reader.h"
#include "scripted_responder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <fstream>
#include <iterator>
#include <string>

using testing_support::ScriptedResponder;

namespace {

std::string read(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

platform::Responder printTo(const QString& file) {
  return [file](platform::Request& r) {
    QPrinter* printer = static_cast<platform::PrintDialogRequest*>(r.data)->printer;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    return 1;
  };
}

TEST(TivraFiles, PrintTextUsesThePrintPageEventAndTheJobName) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("komponent.pdf"));
  TTivra t;
  t.HandleNeeded();
  QString text;
  for (int i = 1; i <= 120; ++i) text += QStringLiteral("Afsnit %1\r\n").arg(i);
  t.setText(text);
  t.setPrintJobName(QStringLiteral("Forsiden"));
  int pages = 0;
  t.OnPrintPage = [&pages](TTivra&, HDC canvas, int vertical, int horizontal, int& header, int& footer) {
    ++pages;
    EXPECT_EQ(vertical, GetDeviceCaps(canvas, VERTRES));
    EXPECT_EQ(horizontal, GetDeviceCaps(canvas, HORZRES));
    TextOut(canvas, 0, 0, "Sidehoved", 9);
    header = vertical / 3;
    footer = vertical / 3;
  };
  ScriptedResponder responder;
  responder.answer(printTo(file));
  t.PrintText();
  ASSERT_TRUE(QFile::exists(file));
  EXPECT_GT(pages, 1) << "a third of each page holds fewer than 121 lines";

  if (!testing_support::pdfToolsPresent())
    GTEST_SKIP() << "pdftotext/pdfinfo (poppler-utils) not installed: PDF contents not checked";
  const QStringList printed = testing_support::pdfPages(file);
  EXPECT_EQ(printed.size(), pages);
  for (const QString& page : printed) EXPECT_TRUE(page.contains(QStringLiteral("Sidehoved")));
  EXPECT_TRUE(printed.last().contains(QStringLiteral("Afsnit 120")));
  EXPECT_EQ(testing_support::pdfInfo(file, QStringLiteral("Title")), QStringLiteral("Forsiden"));

  // PrintSetup keeps the printer; without the dialog it is used again.
  const QString second = dir.filePath(QStringLiteral("igen.pdf"));
  responder.answer(printTo(second));
  t.PrintSetup();
  t.setNoPrintDialog(true);
  t.PrintText();
  EXPECT_TRUE(QFile::exists(second));
}

TEST(TivraFiles, SaveFileWritesTheBytesAndReportsFailuresThroughOnFileError) {
  QTemporaryDir dir;
  const QString page = dir.filePath(QStringLiteral("side.htm"));
  std::ofstream(page.toStdString(), std::ios::binary) << "<P>gammel</P>\r\n";
  TTivra t;
  t.HandleNeeded();
  t.setUnixStyleSave(true);
  int fileErrors = 0;
  t.OnFileError = [&fileErrors](TTivra&) { ++fileErrors; };
  ASSERT_TRUE(t.LoadFile(page));
  t.setTextBytes("<p>ny \xE6</p>\r\n");
  ASSERT_TRUE(t.SaveFile(page));
  EXPECT_EQ(read(page), "<p>ny \xE6</p>\n");

  // A folder in the file's place: the event, then the editor's own message
  // (the component's answer 0 lets it show).
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("mappe")));
  ScriptedResponder responder;
  responder.answer(IDOK);
  EXPECT_FALSE(t.SaveFile(dir.filePath(QStringLiteral("mappe"))));
  EXPECT_EQ(fileErrors, 1);
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke åbne fil til skrivning"));
  EXPECT_EQ(read(page), "<p>ny \xE6</p>\n");
}

TEST(TivraFiles, ClosingAChangedFileRaisesTheEventsAndTheEditorsQuestion) {
  QTemporaryDir dir;
  const QString page = dir.filePath(QStringLiteral("luk.htm"));
  std::ofstream(page.toStdString(), std::ios::binary) << "uændret";
  TTivra t;
  t.setHasFile(true);
  t.HandleNeeded();
  ASSERT_TRUE(t.LoadFile(page));
  t.setText(QStringLiteral("ændret"));
  std::vector<std::string> raised;
  t.OnGoingToClose = [&raised](TTivra&) { raised.push_back("GoingToClose"); };
  t.OnAskIfStoreFile = [&raised](TTivra&) { raised.push_back("AskIfStoreFile"); };

  ScriptedResponder responder;
  responder.answer(IDCANCEL);
  EXPECT_EQ(SendMessage(t.Handle(), TM_QUERYCLOSE, 0, 0), 0) << "cancelled in the editor's question";
  EXPECT_EQ(raised, (std::vector<std::string>{"GoingToClose", "AskIfStoreFile"}));
  EXPECT_EQ(responder.last().text, QStringLiteral("Filen ") + QDir::toNativeSeparators(page) +
                                       QStringLiteral(" er ændret.\nØnsker du at gemme filen?"));

  responder.answer(IDYES);
  EXPECT_NE(SendMessage(t.Handle(), TM_QUERYCLOSE, 0, 0), 0);
  EXPECT_EQ(read(page), "\xE6ndret");
}

}  // namespace
