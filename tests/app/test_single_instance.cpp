// One Morvex per user: a second start hands its files to the first and
// ends. Real program runs, each with its own store and socket folder.
#include "registry.h"
#include "startup/single_instance.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>
#include <memory>

namespace {

TEST(HandOff, TheListTravelsWithItsTerminatingZero) {
  EXPECT_EQ(morvel::encodeHandOff(QStringLiteral("/a?/b?")), QByteArray("/a?/b?", 7));
  EXPECT_EQ(morvel::encodeHandOff(QString()), QByteArray());
  EXPECT_EQ(morvel::decodeHandOff(QByteArray("/bl\xC3\xA5?\0rest", 11)), QStringLiteral("/blå?"));
  EXPECT_EQ(morvel::decodeHandOff(QByteArray()), QString());
}

TEST(HandOff, ARunningServerGetsTheListAndAStaleSocketIsTakenOver) {
  QTemporaryDir dir;
  qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
  EXPECT_TRUE(morvel::instanceSocketPath().startsWith(dir.path()));
  EXPECT_FALSE(morvel::handOffToRunningInstance(QStringLiteral("/a?")));
  // A file left behind by a run that ended abruptly.
  std::ofstream(morvel::instanceSocketPath().toStdString()) << "";
  QStringList received;
  morvel::InstanceServer server([&received](const QString& list) { received << list; });
  ASSERT_TRUE(server.listen());
  morvel::InstanceServer second([](const QString&) {});
  EXPECT_FALSE(second.listen());
  EXPECT_TRUE(morvel::handOffToRunningInstance(QStringLiteral("/a?/b?")));
  EXPECT_TRUE(morvel::handOffToRunningInstance(QString()));
  ASSERT_TRUE(QTest::qWaitFor([&received] { return received.size() == 3; }, 20000));
  // The second server's check that the name is taken reads as a start
  // without files; then the two hand-offs.
  EXPECT_EQ(received, (QStringList{"", "/a?/b?", ""}));
  qunsetenv("XDG_RUNTIME_DIR");
}

class SecondStart : public ::testing::Test {
 protected:
  SecondStart() {
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env_.insert(QStringLiteral("MORVEL_CONFIG"), store());
    env_.insert(QStringLiteral("MORVEL_HOME"), dir.path());
    env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.path());
  }
  ~SecondStart() override {
    if (first_ && first_->state() != QProcess::NotRunning) {
      first_->kill();
      first_->waitForFinished();
    }
  }
  QString store() const { return dir.filePath(QStringLiteral("Morvel.ini")); }
  QString write(const QString& name) {
    const QString path = dir.filePath(name);
    std::ofstream(path.toStdString()) << "<TITLE>" << name.toStdString() << "</TITLE>";
    return path;
  }
  // The first instance, ready when its socket answers.
  void startFirst() {
    first_ = std::make_unique<QProcess>();
    first_->setProcessEnvironment(env_);
    first_->setWorkingDirectory(dir.path());
    first_->start(QStringLiteral(MORVEX_EXECUTABLE), {});
    ASSERT_TRUE(first_->waitForStarted());
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    const QString socket = morvel::instanceSocketPath();
    qunsetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(socket); }, 120000));
  }
  int startSecond(const QStringList& arguments) {
    QProcess second;
    second.setProcessEnvironment(env_);
    second.setWorkingDirectory(dir.path());
    second.start(QStringLiteral(MORVEX_EXECUTABLE), arguments);
    EXPECT_TRUE(second.waitForFinished(120000));
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
  }
  // Ends the first instance the way a session does; it closes its window
  // and writes the store.
  void endFirst() {
    first_->terminate();
    ASSERT_TRUE(first_->waitForFinished(120000));
    EXPECT_EQ(first_->exitCode(), 0) << first_->readAllStandardError().toStdString();
  }
  std::string read(const char* section, const char* name) {
    morvel::RegIniFile s(store().toStdString());
    return s.ReadString(section, name, "");
  }

  QTemporaryDir dir;
  QProcessEnvironment env_;
  std::unique_ptr<QProcess> first_;
};

TEST_F(SecondStart, FilesGoToTheFirstInstanceAndTheSecondEnds) {
  const QString a = write(QStringLiteral("a.htm"));
  const QString b = write(QStringLiteral("b.htm"));
  startFirst();
  // Named relative to the folder the second start was given.
  EXPECT_EQ(startSecond({QStringLiteral("a.htm"), QStringLiteral("b.htm")}), 0);
  EXPECT_EQ(first_->state(), QProcess::Running);
  endFirst();
  // Both were open there: closing them put them on the recent list.
  EXPECT_EQ(read("Filer", "Fil1"), a.toStdString());
  EXPECT_EQ(read("Filer", "Fil2"), b.toStdString());
}

TEST_F(SecondStart, WithoutFilesItOnlyRestoresAMinimisedFirstInstance) {
  {
    morvel::RegIniFile s(store().toStdString());
    s.WriteInteger("Start", "Status", 2);
  }
  startFirst();
  EXPECT_EQ(startSecond({}), 0);
  endFirst();
  EXPECT_EQ(read("Start", "Status"), "1");
  EXPECT_EQ(read("Filer", "Fil1"), "");
}

}  // namespace
