// The program itself: `morvex --screenshot FILE.png [files...]`.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <fstream>

namespace {

struct Outcome {
  int exitCode;
  QString errors;
};

class Morvex : public ::testing::Test {
 protected:
  Outcome run(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("MORVEL_CONFIG"), dir.filePath(QStringLiteral("Morvel.ini")));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(MORVEX_EXECUTABLE), arguments);
    EXPECT_TRUE(p.waitForFinished(120000));
    const Outcome r{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                    QString::fromUtf8(p.readAllStandardError())};
    return r;
  }
  QTemporaryDir dir;
};

TEST_F(Morvex, ScreenshotOfTheMainWindowWithTheColouredPage) {
  std::ofstream(dir.filePath(QStringLiteral("side.htm")).toStdString())
      << "<HTML><HEAD><TITLE>Side</TITLE></HEAD>\r\n<BODY><H1>Overskrift</H1></BODY></HTML>\r\n";
  const QString png = dir.filePath(QStringLiteral("billede.png"));
  // The page is named relative to the current folder, as a shell gives it.
  const Outcome r = run({QStringLiteral("--screenshot"), png, QStringLiteral("side.htm")});
  ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
  QImage picture(png);
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), QSize(630, 470));
  int navy = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) navy += (picture.pixel(x, y) & 0xFFFFFF) == 0x000080;
  }
  EXPECT_GT(navy, 50);
}

TEST_F(Morvex, AStoreFullOfGarbageStillStartsAndIsNotTouched) {
  const char bytes[] = "\x00\xFF[Indstillinger\nKodefarve=\x01\n[]\n=\n\xC3(";
  const std::string garbage(bytes, sizeof bytes - 1);
  const QString store = dir.filePath(QStringLiteral("Morvel.ini"));
  std::ofstream(store.toStdString(), std::ios::binary) << garbage;
  const QString png = dir.filePath(QStringLiteral("billede.png"));
  const Outcome r = run({QStringLiteral("--screenshot"), png});
  ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
  EXPECT_FALSE(QImage(png).isNull());
  std::ifstream in(store.toStdString(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), garbage);
}

TEST_F(Morvex, AMissingFileOrAnUnwritablePictureFails) {
  const QString png = dir.filePath(QStringLiteral("billede.png"));
  Outcome r = run({QStringLiteral("--screenshot"), png, dir.filePath(QStringLiteral("mangler.htm"))});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.errors.contains(QStringLiteral("mangler.htm"))) << r.errors.toStdString();
  EXPECT_FALSE(QFile::exists(png));
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("mangler.htm"))));

  const QString nowhere = dir.filePath(QStringLiteral("ingen/mappe/billede.png"));
  r = run({QStringLiteral("--screenshot"), nowhere});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_TRUE(r.errors.contains(nowhere)) << r.errors.toStdString();

  r = run({QStringLiteral("--screenshot")});
  EXPECT_NE(r.exitCode, 0);
}

}  // namespace
