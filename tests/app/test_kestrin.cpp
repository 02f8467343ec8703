// The main window's documents: the first tab, the editors' set-up, files
// opened from the command line, and the colours on screen.
#include "component/tivra_component.h"
#include "mainwindow/documents.h"
#include "mainwindow/kestrin.h"
#include "registry.h"
#include "scripted_responder.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QTabWidget>
#include <QTemporaryDir>

#include <fstream>

namespace {

class KestrinTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const std::string& bytes) {
    const QString path = dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
    return path;
  }
  static QString tabText(const TKestrin& k, int i) { return k.TabControl1()->tabText(i); }

  QTemporaryDir dir;
  morvel::RegIniFile store{dir.filePath(QStringLiteral("Morvel.ini")).toStdString()};
};

TEST_F(KestrinTest, StartsWithOneEmptyDocument) {
  TKestrin k(store);
  EXPECT_EQ(k.objectName(), "Kestrin");
  EXPECT_EQ(k.size(), QSize(630, 470));
  ASSERT_EQ(k.findChild<QTabWidget*>(QStringLiteral("TabControl1")), k.TabControl1());
  EXPECT_EQ(k.TabControl1()->count(), 1);
  EXPECT_EQ(tabText(k, 0), "Nyt dokument 1");
  EXPECT_EQ(k.documentCount(), 1);
  TTivra* e = k.findChild<TTivra*>(QStringLiteral("Tivra0"));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e, k.editor(0));
  EXPECT_TRUE(e->HandleAllocated());
  EXPECT_EQ(k.fileName(0), "");
  EXPECT_EQ(k.document(0)->timeStamp, "");
  EXPECT_FALSE(e->Modified());
}

TEST_F(KestrinTest, EditorsAreSetUpForPages) {
  TKestrin k(store);
  TTivra& e = *k.editor(0);
  EXPECT_EQ(e.Syntax(), "2\"\"001>1<001/");
  EXPECT_TRUE(e.StartInComments());
  EXPECT_TRUE(e.MultiLineItems());
  EXPECT_TRUE(e.Highlight());
  EXPECT_EQ(e.CaretWidth(), 2);
  EXPECT_EQ(e.ExtraHorzSpacing(), TTivraSpaceStyle::slLarge);
  EXPECT_EQ(e.ExtraVertSpacing(), TTivraSpaceStyle::slSmall);
  EXPECT_FALSE(e.TabStop());
  EXPECT_EQ(e.TabStopSize(), 5);  // "Tabulator" of the settings
  EXPECT_EQ(e.UndoDepth(), 100);
  EXPECT_TRUE(e.WantTabs());
  EXPECT_TRUE(e.WordWrap());
  EXPECT_EQ(e.ScrollBars(), TTivraScrollStyle::lsVertical);
  EXPECT_EQ(e.BackColorSelected(), RGB(255, 0, 0));
  EXPECT_EQ(e.ForeColorSelected(), RGB(255, 255, 255));
  EXPECT_EQ(e.FontColor(), RGB(0, 0, 0));
  EXPECT_EQ(e.Color(), RGB(255, 255, 255));
  EXPECT_EQ(e.font().pointSize(), 10);

  morvel::RegIniFile noWrap(dir.filePath(QStringLiteral("Anden.ini")).toStdString());
  noWrap.WriteBool("Indstillinger", "Ombrydning", false);
  noWrap.WriteInteger("Indstillinger", "Kodefarve", 1);
  TKestrin other(noWrap);
  EXPECT_FALSE(other.editor(0)->WordWrap());
  EXPECT_EQ(other.editor(0)->ScrollBars(), TTivraScrollStyle::lsBoth);
  EXPECT_EQ(other.editor(0)->BackColorSelected(), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(other.editor(0)->Color(), RGB(192, 192, 192));
}

TEST_F(KestrinTest, OpeningReusesTheUntouchedFirstDocument) {
  const QString a = write(QStringLiteral("a.htm"), "<HTML><TITLE>Forside</TITLE>\r\n<P>bl\xE5</P></HTML>");
  const QString b = write(QStringLiteral("b.htm"), "<P>ingen titel</P>");
  TKestrin k(store);
  ASSERT_TRUE(k.openFile(a));
  EXPECT_EQ(k.documentCount(), 1);
  EXPECT_EQ(k.fileName(0), a);
  EXPECT_EQ(k.editor(0)->TextBytes(), "<HTML><TITLE>Forside</TITLE>\r\n<P>bl\xE5</P></HTML>");
  EXPECT_EQ(tabText(k, 0), "Forside");
  EXPECT_EQ(k.windowTitle(), "Brimvale's Morvel - Forside");
  EXPECT_FALSE(k.editor(0)->Modified());

  ASSERT_TRUE(k.openFile(b));
  ASSERT_EQ(k.documentCount(), 2);
  EXPECT_EQ(k.activeDocument(), 1);
  EXPECT_EQ(k.TabControl1()->currentIndex(), 1);
  EXPECT_EQ(k.editor(1)->objectName(), "Tivra1");
  EXPECT_EQ(k.fileName(1), b);
  EXPECT_EQ(tabText(k, 1), "[Ingen titel]");

  // A file already open is selected, not opened again.
  ASSERT_TRUE(k.openFile(a));
  EXPECT_EQ(k.documentCount(), 2);
  EXPECT_EQ(k.activeDocument(), 0);
  EXPECT_EQ(k.findOpenDocument(b), 1);
  EXPECT_EQ(k.findOpenDocument(dir.filePath(QStringLiteral("B.htm"))), -1);
}

TEST_F(KestrinTest, ADocumentWithTextIsNotReused) {
  const QString a = write(QStringLiteral("a.htm"), "x");
  TKestrin k(store);
  k.editor(0)->setText(QStringLiteral("skrevet"));
  ASSERT_TRUE(k.openFile(a));
  ASSERT_EQ(k.documentCount(), 2);
  EXPECT_EQ(k.editor(0)->Text(), "skrevet");
  EXPECT_EQ(k.fileName(0), "");
  EXPECT_EQ(k.fileName(1), a);
  const int c = k.newDocument();
  EXPECT_EQ(c, 2);
  EXPECT_EQ(k.fileName(2), "");
  EXPECT_EQ(k.editor(2)->objectName(), "Tivra2");
}

TEST_F(KestrinTest, TheCommandLineOpensTheFilesThatExistWhenShown) {
  const QString a = write(QStringLiteral("a.htm"), "<TITLE>A</TITLE>");
  const QString b = write(QStringLiteral("b.htm"), "<TITLE>B</TITLE>");
  QDir(dir.path()).mkdir(QStringLiteral("mappe"));
  TKestrin k(store);
  k.setCommandLineFiles({a, dir.filePath(QStringLiteral("mangler.htm")), QStringLiteral("relativ.htm"),
                         dir.filePath(QStringLiteral("mappe")), dir.filePath(QStringLiteral("*.htm")), b});
  k.show();
  ASSERT_EQ(k.documentCount(), 2);
  EXPECT_EQ(k.fileName(0), a);
  EXPECT_EQ(k.fileName(1), b);
  EXPECT_EQ(tabText(k, 0), "A");
  EXPECT_EQ(tabText(k, 1), "B");
  EXPECT_EQ(k.activeDocument(), 1);
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("mangler.htm"))));
}

TEST_F(KestrinTest, TheListFormOfFileNames) {
  const QString a = write(QStringLiteral("a.htm"), "");
  QDir(dir.path()).mkdir(QStringLiteral("under"));
  EXPECT_EQ(commandLineList({QStringLiteral("/x"), QStringLiteral("/y")}), "/x?/y?");
  EXPECT_EQ(filesOfList(a + "?" + dir.filePath(QStringLiteral("under/../a.htm")) + "?/ikke/her?a.htm?"),
            (QStringList{a, a}));
}

TEST_F(KestrinTest, TimeStampIsTheFilesModificationTime) {
  const QString a = write(QStringLiteral("a.htm"), "x");
  QFile file(a);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2003, 2, 1), QTime(4, 5, 6)), QFileDevice::FileModificationTime));
  file.close();
  EXPECT_EQ(fileTimeStamp(a), "01-02-2003 04:05:06");
  TKestrin k(store);
  ASSERT_TRUE(k.openFile(a));
  EXPECT_EQ(k.document(0)->timeStamp, "01-02-2003 04:05:06");
  EXPECT_EQ(fileTimeStamp(dir.filePath(QStringLiteral("ingen.htm"))), "");
}

TEST_F(KestrinTest, AFileThatCannotBeReadKeepsNoName) {
  QDir(dir.path()).mkdir(QStringLiteral("mappe"));
  const QString folder = dir.filePath(QStringLiteral("mappe"));
  TKestrin k(store);
  testing_support::ScriptedResponder responder;
  responder.answer(IDOK);
  EXPECT_FALSE(k.openFile(folder));
  EXPECT_EQ(responder.last().text, QStringLiteral("Kan ikke åbne filen %1.").arg(folder));
  EXPECT_EQ(k.fileName(k.activeDocument()), "");
}

TEST_F(KestrinTest, DamagedTitleCodeIsReported) {
  const QString a = write(QStringLiteral("a.htm"), "<TITLE>Uden slut");
  TKestrin k(store);
  testing_support::ScriptedResponder responder;
  responder.answer(IDOK);
  ASSERT_TRUE(k.openFile(a));
  EXPECT_EQ(responder.last().text, "Der er fejl i titelkoden.");
  EXPECT_EQ(tabText(k, 0), "[Ingen titel]");
}

TEST_F(KestrinTest, EntityCodesAreDecodedOnOpenWhenChosen) {
  const QString a = write(QStringLiteral("a.htm"), "Bl&aring;b&aelig;r");
  store.WriteBool("Indstillinger", "ÆØÅkoder", true);
  TKestrin k(store);
  ASSERT_TRUE(k.openFile(a));
  EXPECT_EQ(k.editor(0)->Text(), "Blåbær");
  EXPECT_FALSE(k.editor(0)->Modified());
}

int countPixels(const QImage& image, QRgb colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
  }
  return n;
}

TEST_F(KestrinTest, TagsAreColouredOnScreenAndTextIsNot) {
  const QString a = write(QStringLiteral("a.htm"), "<B>fed</B>");
  const QString plain = write(QStringLiteral("b.htm"), "kun almindelig tekst");
  TKestrin k(store);
  k.setCommandLineFiles({plain});
  k.show();
  const QImage textOnly = k.editor(0)->grab().toImage();
  EXPECT_EQ(countPixels(textOnly, qRgb(0, 0, 128)), 0);
  ASSERT_TRUE(k.openFile(a));
  const QImage tags = k.editor(1)->grab().toImage();
  // Element names: white on navy; the text between tags stays black on white.
  EXPECT_GT(countPixels(tags, qRgb(0, 0, 128)), 20);
  EXPECT_GT(countPixels(tags, qRgb(255, 255, 255)), 20);
}

}  // namespace
