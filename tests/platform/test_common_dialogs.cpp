// The open, save and print dialogs as a caller's records see them, printer
// device contexts printing to PDF, and the button and static controls.
#include "common_dialogs.h"
#include "host.h"
#include "interaction.h"
#include "pdf_reader.h"
#include "qtext.h"
#include "scripted_responder.h"
#include "win32.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstring>
#include <string>
#include <vector>

namespace {

using testing_support::ScriptedResponder;

platform::FileDialogRequest& fileRequest(platform::Request& r) {
  return *static_cast<platform::FileDialogRequest*>(r.data);
}
platform::PrintDialogRequest& printRequest(platform::Request& r) {
  return *static_cast<platform::PrintDialogRequest*>(r.data);
}

// A record with a buffer of its own for the result.
struct FileRecord {
  explicit FileRecord(size_t size = 1024) : file(size, 0), title(256, 0) {
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
  }
  std::string result() const { return std::string(file.data()); }
  std::vector<char> file;
  std::vector<char> title;
  OPENFILENAME ofn{};
};

std::string cp(const QString& text) { return platform::toCp1252(text); }

class FileDialogs : public ::testing::Test {
 protected:
  QString at(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  void touch(const QString& name) const {
    QFile f(at(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  }
  QTemporaryDir dir_;
};

TEST_F(FileDialogs, TheOpenDialogShowsTheRecordAndAnswersInWindowsForm) {
  const std::string folder = cp(dir_.path());
  FileRecord record;
  record.ofn.lpstrFilter = "HTML-filer\0*.htm;*.html\0Alle filer\0*.*\0";
  record.ofn.nFilterIndex = 2;
  record.ofn.lpstrInitialDir = folder.c_str();
  record.ofn.lpstrTitle =
      "\xC5"
      "bn side";  // "Åbn side"
  record.ofn.lpstrDefExt = "htm";
  std::strcpy(record.file.data(), "forslag.htm");
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::OpenFile);
    const auto& fr = fileRequest(r);
    EXPECT_FALSE(fr.save);
    EXPECT_EQ(fr.title, QStringLiteral("Åbn side"));
    EXPECT_EQ(fr.folder, dir_.path());
    EXPECT_EQ(fr.suggestedName, QStringLiteral("forslag.htm"));
    EXPECT_EQ(fr.defaultExtension, QStringLiteral("htm"));
    EXPECT_EQ(fr.filters.size(), 2);
    EXPECT_EQ(fr.filters.value(0).first, QStringLiteral("HTML-filer"));
    EXPECT_EQ(fr.filters.value(0).second, (QStringList{QStringLiteral("*.htm"), QStringLiteral("*.html")}));
    EXPECT_EQ(fr.filters.value(1).second, QStringList{QStringLiteral("*.*")});
    EXPECT_EQ(fr.filterIndex, 1);
    fileRequest(r).chosen = {at(QStringLiteral("Sø.txt"))};
    fileRequest(r).chosenFilter = 0;
    return 1;
  });
  ASSERT_TRUE(GetOpenFileName(&record.ofn));
  const std::string expected = cp(at(QStringLiteral("Sø.txt")));
  EXPECT_EQ(record.result(), expected);
  EXPECT_EQ(record.result().substr(record.ofn.nFileOffset), "S\xF8.txt");
  EXPECT_EQ(record.result().substr(record.ofn.nFileExtension), "txt");
  EXPECT_EQ(std::string(record.title.data()), "S\xF8.txt");
  EXPECT_EQ(record.ofn.nFilterIndex, 1u);
  EXPECT_TRUE(record.ofn.Flags & OFN_EXTENSIONDIFFERENT) << "txt is not the default htm";
}

TEST_F(FileDialogs, ASuggestedNameWithAFolderStartsThereAndANameWithoutExtensionEndsAtItsTerminator) {
  FileRecord record;
  const std::string suggested = cp(at(QStringLiteral("under/navn.htm")));
  std::strcpy(record.file.data(), suggested.c_str());
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(fileRequest(r).folder, at(QStringLiteral("under")));
    EXPECT_EQ(fileRequest(r).suggestedName, QStringLiteral("navn.htm"));
    fileRequest(r).chosen = {at(QStringLiteral("Makefile"))};
    return 1;
  });
  ASSERT_TRUE(GetOpenFileName(&record.ofn));
  EXPECT_EQ(record.ofn.nFileExtension, record.result().size());
  EXPECT_EQ(record.ofn.nFilterIndex, 0u) << "no filters: the index stays as given";
}

TEST_F(FileDialogs, SavingAddsTheDefaultExtensionAndAsksBeforeReplacing) {
  touch(QStringLiteral("side.htm"));
  FileRecord record;
  record.ofn.lpstrDefExt = "htm";
  record.ofn.Flags = OFN_OVERWRITEPROMPT;
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::SaveFile);
    EXPECT_TRUE(fileRequest(r).save);
    fileRequest(r).chosen = {at(QStringLiteral("side"))};
    return 1;
  });
  responder.answer(IDNO);
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(fileRequest(r).suggestedName, QStringLiteral("side.htm")) << "back where the user was";
    fileRequest(r).chosen = {at(QStringLiteral("ny"))};
    return 1;
  });
  ASSERT_TRUE(GetSaveFileName(&record.ofn));
  EXPECT_EQ(record.result(), cp(at(QStringLiteral("ny.htm"))));
  EXPECT_FALSE(record.ofn.Flags & OFN_EXTENSIONDIFFERENT);
  ASSERT_EQ(responder.seen().size(), 3u);
  EXPECT_EQ(responder.seen()[1].kind, platform::RequestKind::MessageBox);
  EXPECT_EQ(responder.seen()[1].text,
            at(QStringLiteral("side.htm")) + QStringLiteral(" findes allerede.\nVil du erstatte den?"));
  EXPECT_EQ(responder.seen()[1].flags & MB_TYPEMASK, MB_YESNO);

  responder.answer([&](platform::Request& r) {
    fileRequest(r).chosen = {at(QStringLiteral("side.htm"))};
    return 1;
  });
  responder.answer(IDYES);
  ASSERT_TRUE(GetSaveFileName(&record.ofn));
  EXPECT_EQ(record.result(), cp(at(QStringLiteral("side.htm"))));
}

TEST_F(FileDialogs, SeveralFilesComeBackAsTheFolderThenEachName) {
  FileRecord record;
  record.ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_TRUE(fileRequest(r).multiSelect);
    fileRequest(r).chosen = {at(QStringLiteral("a.htm")), at(QStringLiteral("bø.htm"))};
    return 1;
  });
  ASSERT_TRUE(GetOpenFileName(&record.ofn));
  const std::string folder = cp(dir_.path());
  const std::string expected = folder + '\0' + "a.htm" + '\0' + "b\xF8.htm" + '\0' + '\0';
  EXPECT_EQ(std::string(record.file.data(), expected.size()), expected);
  EXPECT_EQ(record.ofn.nFileOffset, folder.size() + 1);

  responder.answer([&](platform::Request& r) {
    fileRequest(r).chosen = {at(QStringLiteral("a.htm"))};
    return 1;
  });
  ASSERT_TRUE(GetOpenFileName(&record.ofn));
  EXPECT_EQ(record.result(), cp(at(QStringLiteral("a.htm")))) << "one file is one full name";
}

TEST_F(FileDialogs, CancelAndFailuresReturnFalseWithTheirReasons) {
  FileRecord record(16);
  std::strcpy(record.file.data(), "keep");
  ScriptedResponder responder;
  responder.answer(0);
  EXPECT_FALSE(GetOpenFileName(&record.ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(record.result(), "keep");

  responder.answer([&](platform::Request& r) {
    fileRequest(r).chosen = {at(QStringLiteral("a-name-longer-than-sixteen.htm"))};
    return 1;
  });
  EXPECT_FALSE(GetOpenFileName(&record.ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  WORD needed = 0;
  std::memcpy(&needed, record.file.data(), sizeof needed);
  EXPECT_EQ(needed, cp(at(QStringLiteral("a-name-longer-than-sixteen.htm"))).size() + 1);

  FileRecord wide;
  responder.answer([&](platform::Request& r) {
    fileRequest(r).chosen = {at(QStringLiteral("日本.htm"))};
    return 1;
  });
  EXPECT_FALSE(GetSaveFileName(&wide.ofn)) << "a name the code page cannot hold is not handed out mangled";
  EXPECT_EQ(CommDlgExtendedError(), FNERR_INVALIDFILENAME);

  responder.answer([&](platform::Request& r) {
    fileRequest(r).chosen = {dir_.path()};
    return 1;
  });
  EXPECT_FALSE(GetSaveFileName(&wide.ofn)) << "a folder is no file name";
  EXPECT_EQ(CommDlgExtendedError(), FNERR_INVALIDFILENAME);

  OPENFILENAME tooShort{};
  tooShort.lStructSize = 8;
  EXPECT_FALSE(GetOpenFileName(&tooShort));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
}

// ---------------------------------------------------------------------------
// Controls

TEST(Controls, AButtonTellsItsParentWhenClickedAndAStaticTextFollowsItsWindowText) {
  std::vector<std::pair<WPARAM, LPARAM>> commands;
  HWND parent = platform::createMessageWindow([&](HWND h, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg == WM_COMMAND) commands.emplace_back(wParam, lParam);
    return DefWindowProc(h, msg, wParam, lParam);
  });
  HWND button = CreateWindowEx(0, "BUTTON", "&Annuller", WS_CHILD | WS_VISIBLE, 0, 0, 80, 24, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(IDCANCEL)), nullptr, nullptr);
  HWND label = CreateWindowEx(0, "static", "Side && 1", WS_CHILD | WS_VISIBLE, 0, 30, 200, 20, parent,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(100)), nullptr, nullptr);
  ASSERT_TRUE(button && label);
  EXPECT_EQ(GetDlgItem(parent, IDCANCEL), button);

  SendMessage(button, BM_CLICK, 0, 0);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].first, MAKEWPARAM(IDCANCEL, BN_CLICKED));
  EXPECT_EQ(commands[0].second, reinterpret_cast<LPARAM>(button));

  auto* pushButton = platform::hostWidget(button)->findChild<QPushButton*>();
  ASSERT_NE(pushButton, nullptr);
  EXPECT_EQ(pushButton->text(), QStringLiteral("&Annuller"));
  pushButton->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(commands.size(), 2u) << "a click on the Qt button reaches the parent too";

  EnableWindow(button, FALSE);
  SendMessage(button, BM_CLICK, 0, 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(commands.size(), 2u) << "a disabled button is not clicked";

  auto* text = platform::hostWidget(label)->findChild<QLabel*>();
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(), QStringLiteral("Side & 1"));
  SetWindowText(label, "Nu udskrives side 2");
  EXPECT_EQ(text->text(), QStringLiteral("Nu udskrives side 2"));
  DestroyWindow(parent);
  EXPECT_FALSE(IsWindow(button));
}

// ---------------------------------------------------------------------------
// Printing

// Answers the print (or setup) dialog: print to this PDF, on A5 landscape.
platform::Responder printToPdf(const QString& file, QPageLayout::Orientation orientation = QPageLayout::Landscape) {
  return [file, orientation](platform::Request& r) {
    QPrinter* printer = printRequest(r).printer;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    printer->setPageSize(QPageSize(QPageSize::A5));
    printer->setPageOrientation(orientation);
    return 1;
  };
}

std::string devNamesString(HGLOBAL names, WORD DEVNAMES::*field) {
  const auto* block = static_cast<const char*>(GlobalLock(names));
  DEVNAMES dn;
  std::memcpy(&dn, block, sizeof dn);
  std::string out(block + dn.*field);
  GlobalUnlock(names);
  return out;
}

DEVMODE devMode(HGLOBAL mode) {
  DEVMODE dm{};
  EXPECT_GE(GlobalSize(mode), sizeof dm);
  std::memcpy(&dm, GlobalLock(mode), sizeof dm);
  GlobalUnlock(mode);
  return dm;
}

void printTwoPages(HDC dc, const char* name) {
  DOCINFO info{};
  info.cbSize = sizeof info;
  info.lpszDocName = name;
  ASSERT_GT(StartDoc(dc, &info), 0);
  ASSERT_GT(StartPage(dc), 0);
  EXPECT_TRUE(TextOut(dc, 100, 100, "Side en", 7));
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(StartPage(dc), 0);
  EXPECT_TRUE(TextOut(dc, 100, 100, "Side to \xE6\xF8\xE5", 11));
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(EndDoc(dc), 0);
}

class Printing : public ::testing::Test {
 protected:
  QString pdf(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(Printing, ThePrintDialogGivesAPrinterDCThatPrintsToPdf) {
  const QString file = pdf(QStringLiteral("ud.pdf"));
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDC;
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::Print);
    EXPECT_FALSE(printRequest(r).setupOnly);
    return printToPdf(file)(r);
  });
  ASSERT_TRUE(PrintDlg(&pd));
  ASSERT_NE(pd.hDC, nullptr);
  EXPECT_EQ(GetDeviceCaps(pd.hDC, TECHNOLOGY), DT_RASPRINTER);
  EXPECT_GT(GetDeviceCaps(pd.hDC, HORZRES), GetDeviceCaps(pd.hDC, VERTRES)) << "landscape";
  EXPECT_GE(GetDeviceCaps(pd.hDC, PHYSICALWIDTH), GetDeviceCaps(pd.hDC, HORZRES));
  EXPECT_GE(GetDeviceCaps(pd.hDC, LOGPIXELSY), 300) << "printer resolution, not the screen's";

  EXPECT_EQ(devNamesString(pd.hDevNames, &DEVNAMES::wOutputOffset), platform::toCp1252(file));
  const DEVMODE dm = devMode(pd.hDevMode);
  EXPECT_EQ(dm.dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_EQ(dm.dmPaperSize, DMPAPER_A5);
  EXPECT_EQ(dm.dmPaperWidth, 1480);
  EXPECT_EQ(dm.dmPaperLength, 2100);
  EXPECT_EQ(dm.dmSize, sizeof(DEVMODE));

  printTwoPages(pd.hDC, "Pr\xF8ve");
  EXPECT_FALSE(TextOut(pd.hDC, 0, 0, "efter", 5)) << "nothing is drawn outside a job";
  EXPECT_TRUE(DeleteDC(pd.hDC));
  GlobalFree(pd.hDevMode);
  GlobalFree(pd.hDevNames);

  if (!testing_support::pdfToolsPresent())
    GTEST_SKIP() << "pdftotext/pdfinfo (poppler-utils) not installed: PDF contents not checked";
  const QStringList pages = testing_support::pdfPages(file);
  ASSERT_EQ(pages.size(), 2);
  EXPECT_EQ(pages[0].trimmed(), QStringLiteral("Side en"));
  EXPECT_EQ(pages[1].trimmed(), QStringLiteral("Side to æøå"));
  EXPECT_EQ(testing_support::pdfInfo(file, QStringLiteral("Title")), QStringLiteral("Prøve"));
}

TEST_F(Printing, AKeptSetupReturnsToTheDialogAndMakesADCWithoutOne) {
  const QString file = pdf(QStringLiteral("setup.pdf"));
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_PRINTSETUP;
  ScriptedResponder responder;
  responder.answer([&](platform::Request& r) {
    EXPECT_EQ(r.kind, platform::RequestKind::PrintSetup);
    EXPECT_TRUE(printRequest(r).setupOnly);
    return printToPdf(file)(r);
  });
  ASSERT_TRUE(PrintDlg(&pd));
  EXPECT_EQ(pd.hDC, nullptr) << "no DC without PD_RETURNDC";
  ASSERT_TRUE(pd.hDevMode && pd.hDevNames);

  pd.Flags = PD_RETURNDC;
  responder.answer([&](platform::Request& r) {
    const QPrinter* printer = printRequest(r).printer;
    EXPECT_EQ(printer->outputFileName(), file);
    EXPECT_EQ(printer->pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(printer->pageLayout().pageSize().id(), QPageSize::A5);
    return 0;
  });
  EXPECT_FALSE(PrintDlg(&pd));
  EXPECT_EQ(CommDlgExtendedError(), 0u) << "cancelled, not failed";

  const DEVMODE dm = devMode(pd.hDevMode);
  const std::string device = devNamesString(pd.hDevNames, &DEVNAMES::wDeviceOffset);
  const std::string output = devNamesString(pd.hDevNames, &DEVNAMES::wOutputOffset);
  const std::string driver = devNamesString(pd.hDevNames, &DEVNAMES::wDriverOffset);
  HDC dc = CreateDC(driver.c_str(), device.c_str(), output.c_str(), &dm);
  ASSERT_NE(dc, nullptr);
  EXPECT_GT(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));
  printTwoPages(dc, "igen");
  DeleteDC(dc);
  EXPECT_TRUE(QFile::exists(file));
  EXPECT_EQ(CreateDC(driver.c_str(), "No such printer", "", nullptr), nullptr);

  pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
  EXPECT_FALSE(PrintDlg(&pd)) << "the default printer is asked for without a setup";
  EXPECT_EQ(CommDlgExtendedError(), PDERR_RETDEFFAILURE);
  GlobalFree(pd.hDevMode);
  GlobalFree(pd.hDevNames);
}

TEST_F(Printing, AnAbortedJobLeavesNoFile) {
  static int pagesAllowed;
  ABORTPROC stopAfterAllowed = [](HDC, int) -> BOOL { return --pagesAllowed > 0; };
  const QString file = pdf(QStringLiteral("afbrudt.pdf"));
  ScriptedResponder responder;
  PRINTDLG pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDC;
  responder.answer(printToPdf(file, QPageLayout::Portrait));
  ASSERT_TRUE(PrintDlg(&pd));
  DOCINFO info{};
  info.cbSize = sizeof info;
  info.lpszDocName = "afbrudt";

  pagesAllowed = 2;
  ASSERT_EQ(SetAbortProc(pd.hDC, stopAfterAllowed), 1);
  ASSERT_GT(StartDoc(pd.hDC, &info), 0);
  ASSERT_GT(StartPage(pd.hDC), 0);
  ASSERT_GT(EndPage(pd.hDC), 0);
  ASSERT_GT(StartPage(pd.hDC), 0);
  EXPECT_EQ(EndPage(pd.hDC), SP_APPABORT);
  EXPECT_GT(AbortDoc(pd.hDC), 0);
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_EQ(StartPage(pd.hDC), SP_ERROR) << "the job is over";

  SetAbortProc(pd.hDC, nullptr);
  ASSERT_GT(StartDoc(pd.hDC, &info), 0);
  ASSERT_GT(StartPage(pd.hDC), 0);
  EXPECT_GT(AbortDoc(pd.hDC), 0);
  EXPECT_FALSE(QFile::exists(file));

  info.lpszOutput = "/no/such/folder/x.pdf";
  EXPECT_EQ(StartDoc(pd.hDC, &info), SP_ERROR);
  DeleteDC(pd.hDC);
  GlobalFree(pd.hDevMode);
  GlobalFree(pd.hDevNames);
}

}  // namespace
