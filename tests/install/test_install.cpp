// Morvex as a user gets it: installed with `cmake --install` into a prefix
// of its own, and as the Debian package, unpacked.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <fstream>
#include <memory>
#include <utility>

namespace {

struct Outcome {
  int exitCode = -1;
  QString out;
  QString errors;
};

// A user's session: a home of its own, and neither the program folder nor
// the settings file chosen by the environment, so that the program finds
// its folders the way it does for a user.
QProcessEnvironment userEnvironment(const QString& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("MORVEL_HOME"));
  env.remove(QStringLiteral("MORVEL_CONFIG"));
  env.remove(QStringLiteral("LD_LIBRARY_PATH"));
  env.insert(QStringLiteral("HOME"), home);
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  return env;
}

Outcome run(const QString& program, const QStringList& arguments, const QString& folder = QString(),
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(env);
  if (!folder.isEmpty()) p.setWorkingDirectory(folder);
  p.start(program, arguments);
  Outcome r;
  if (!p.waitForFinished(300000)) {
    p.kill();
    p.waitForFinished();
    r.errors = program + QStringLiteral(" did not finish");
    return r;
  }
  r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.errors = QString::fromUtf8(p.readAllStandardError());
  return r;
}

void write(const QString& path, const std::string& bytes) {
  std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Where the dynamic linker finds `library` for `program`, as ldd tells it.
QString resolvedLibrary(const QString& program, const QString& library) {
  const Outcome r = run(QStringLiteral("ldd"), {program});
  const QRegularExpression line(QRegularExpression::escape(library) + QStringLiteral(" => (\\S+)"));
  const QRegularExpressionMatch m = line.match(r.out);
  return m.hasMatch() ? QDir::cleanPath(m.captured(1)) : QString();
}

const std::string kCleanPage =
    "<HTML><HEAD><TITLE>Forside</TITLE></HEAD>\r\n<BODY><H1>Velkommen</H1><P>Her bor vi.</P></BODY></HTML>\r\n";
const std::string kFaultyPage = "<HTML><HEAD><TITLE>Fejl</TITLE></HEAD>\r\n<BODY><H1>Velkommen</H2></BODY></HTML>\r\n";

// What every installed tree holds, relative to its prefix.
const char* const kInstalledFiles[] = {
    "bin/morvex",
    "lib/libtivra32.so.2",
    "lib/libmorvelwin32.so.2",
    "share/applications/morvex.desktop",
    "share/icons/hicolor/scalable/apps/morvex.svg",
    "share/icons/hicolor/48x48/apps/morvex.png",
    "share/metainfo/dk.brimvale.morvex.metainfo.xml",
    "share/man/man1/morvex.1",
    "share/morvel/hjaelp/index.html",
    "share/morvel/hjaelp/tastaturgenveje.html",
    "share/morvel/Skabeloner/Almindelig side.mvs",
    "share/morvel/Skabeloner/Kontaktside.mvs",
    "share/morvel/Skript/dato.js",
    "share/morvel/skaermbilleder/morvex.png",
};

// ---------------------------------------------------------------------------
// `cmake --install` into a temporary prefix

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new QTemporaryDir;
    installation_ = run(QStringLiteral(CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(MORVEL_BUILD_DIR),
                                                        QStringLiteral("--prefix"), prefix()});
  }
  static void TearDownTestSuite() {
    delete root_;
    root_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(installation_.exitCode, 0) << installation_.errors.toStdString();
    QDir(home.path()).mkpath(QStringLiteral("arbejde"));
  }

  static QString prefix() { return root_->filePath(QStringLiteral("morvel")); }
  static QString installed(const QString& file) { return prefix() + QLatin1Char('/') + file; }
  QString work() const { return home.filePath(QStringLiteral("arbejde")); }

  static QTemporaryDir* root_;
  static Outcome installation_;
  QTemporaryDir home;
};

QTemporaryDir* Installed::root_ = nullptr;
Outcome Installed::installation_;

TEST_F(Installed, HoldsTheProgramAndEverythingItShips) {
  for (const char* file : kInstalledFiles) EXPECT_TRUE(QFileInfo::exists(installed(file))) << file;
  EXPECT_TRUE(QFileInfo(installed("bin/morvex")).isExecutable());
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString png = installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/morvex.png").arg(size));
    EXPECT_EQ(QImageReader(png).size(), QSize(size, size)) << png.toStdString();
  }
  // Templates and scripts are shipped byte for byte (Windows-1252).
  const std::pair<const char*, const char*> shipped[] = {
      {"dialogs/skabeloner/Kontaktside.mvs", "share/morvel/Skabeloner/Kontaktside.mvs"},
      {"startup/skript/dato.js", "share/morvel/Skript/dato.js"},
  };
  for (const auto& [source, target] : shipped) {
    const QByteArray bytes = bytesOf(QStringLiteral(MORVEL_SOURCE_DIR "/app/") + QString::fromLatin1(source));
    EXPECT_FALSE(bytes.isEmpty()) << source;
    EXPECT_EQ(bytesOf(installed(target)), bytes) << target;
  }
}

TEST_F(Installed, TheProgramFindsItsLibrariesBesideItself) {
  // Not in the build tree it was linked in: the RPATH is relative.
  for (const char* library : {"libtivra32.so.2", "libmorvelwin32.so.2"}) {
    EXPECT_EQ(resolvedLibrary(installed("bin/morvex"), library), installed(QStringLiteral("lib/") + library))
        << library;
  }
}

TEST_F(Installed, TheDesktopEntryAndTheMetainfoValidate) {
  const QString entry = installed("share/applications/morvex.desktop");
  Outcome r = run(QStringLiteral("desktop-file-validate"), {entry});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.errors.toStdString();
  EXPECT_FALSE(r.out.contains(QStringLiteral("error"))) << r.out.toStdString();
  const QString text = QString::fromUtf8(bytesOf(entry));
  for (const char* line : {"Exec=morvex %F", "Icon=morvex", "MimeType=text/html;application/xhtml+xml;",
                           "Categories=Development;WebDevelopment;TextEditor;", "Name[da]=Morvel HTML-editor",
                           "Comment[da]=Skriv og kontrollér håndskrevne HTML-sider, og læg dem ud med FTP"}) {
    EXPECT_TRUE(text.contains(QLatin1Char('\n') + QString::fromUtf8(line) + QLatin1Char('\n'))) << line;
  }

  const QString metainfo = installed("share/metainfo/dk.brimvale.morvex.metainfo.xml");
  r = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.errors.toStdString();
  const QString xml = QString::fromUtf8(bytesOf(metainfo));
  EXPECT_TRUE(xml.contains(QStringLiteral("<launchable type=\"desktop-id\">morvex.desktop</launchable>")));
  EXPECT_TRUE(xml.contains(QStringLiteral("<release version=\"" MORVEL_VERSION "\"")));
  // The screenshot it names is the program's own picture, shipped with it.
  EXPECT_TRUE(xml.contains(QStringLiteral("/skaermbilleder/morvex.png</image>")));
  const QImage screenshot(installed("share/morvel/skaermbilleder/morvex.png"));
  EXPECT_GE(screenshot.width(), 600);
  EXPECT_GE(screenshot.height(), 400);
}

TEST_F(Installed, ChecksAndPicturesAPageFromAnotherFolder) {
  write(work() + QStringLiteral("/forside.htm"), kCleanPage);
  write(work() + QStringLiteral("/fejl.htm"), kFaultyPage);
  const QProcessEnvironment env = userEnvironment(home.path());
  const QString morvex = installed("bin/morvex");

  Outcome r = run(morvex, {QStringLiteral("--check"), QStringLiteral("forside.htm")}, work(), env);
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.errors.toStdString();
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("forside.htm:\n"))) << r.out.toStdString();
  r = run(morvex, {QStringLiteral("--check"), QStringLiteral("fejl.htm")}, work(), env);
  EXPECT_EQ(r.exitCode, 1) << r.out.toStdString() << r.errors.toStdString();

  r = run(morvex, {QStringLiteral("--screenshot"), QStringLiteral("billede.png"), QStringLiteral("forside.htm")},
          work(), env);
  ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
  const QImage picture(work() + QStringLiteral("/billede.png"));
  EXPECT_EQ(picture.size(), QSize(630, 470));
  // The installed program's folder is nobody's to write in: bin holds only
  // the program, and the page is left as it was.
  EXPECT_EQ(QDir(installed("bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{QStringLiteral("morvex")});
  EXPECT_EQ(bytesOf(work() + QStringLiteral("/forside.htm")).toStdString(), kCleanPage);
}

// ---------------------------------------------------------------------------
// The Debian package, made by CPack from the same build

class Package : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = new QTemporaryDir;
    packaging_ = run(QStringLiteral(CPACK_COMMAND),
                     {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                      QStringLiteral(MORVEL_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), root_->path()},
                     QStringLiteral(MORVEL_BUILD_DIR));
    const QStringList made = QDir(root_->path()).entryList({QStringLiteral("morvel_*.deb")}, QDir::Files);
    if (made.size() == 1) deb_ = root_->filePath(made.first());
  }
  static void TearDownTestSuite() {
    delete root_;
    root_ = nullptr;
  }
  void SetUp() override {
    ASSERT_EQ(packaging_.exitCode, 0) << packaging_.out.toStdString() << packaging_.errors.toStdString();
    ASSERT_FALSE(deb_.isEmpty()) << "no single morvel_*.deb in " << root_->path().toStdString();
  }
  static QString field(const char* name) {
    return run(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb_, QString::fromLatin1(name)}).out.trimmed();
  }

  static QTemporaryDir* root_;
  static Outcome packaging_;
  static QString deb_;
};

QTemporaryDir* Package::root_ = nullptr;
Outcome Package::packaging_;
QString Package::deb_;

TEST_F(Package, HoldsTheProgramUnderUsrAndNothingElsewhere) {
  const Outcome r = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb_});
  ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
  QStringList paths;
  for (const QString& line : r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    // "-rwxr-xr-x root/root 12345 2026-12-09 05:00 ./usr/bin/morvex", links with " -> target"
    const qsizetype at = line.indexOf(QStringLiteral(" ./"));
    if (at < 0) continue;
    QString path = line.mid(at + 3);
    path = path.left(path.indexOf(QStringLiteral(" -> ")) >= 0 ? path.indexOf(QStringLiteral(" -> ")) : path.size());
    paths << path;
  }
  for (const char* file : kInstalledFiles) EXPECT_TRUE(paths.contains(QStringLiteral("usr/") + file)) << file;
  for (const QString& path : paths) {
    EXPECT_TRUE(path.isEmpty() || path == QLatin1String("usr/") || path.startsWith(QLatin1String("usr/")))
        << path.toStdString();
    EXPECT_FALSE(path.startsWith(QLatin1String("usr/local"))) << path.toStdString();
  }
  EXPECT_EQ(field("Package"), QStringLiteral("morvel"));
  EXPECT_EQ(field("Version"), QStringLiteral(MORVEL_VERSION));
}

TEST_F(Package, DependsOnWhatItsLibrariesLink) {
  // Found by dpkg-shlibdeps: the C library, Qt's widgets, the JPEG and GIF
  // decoders; never the package's own libraries.
  const QString depends = field("Depends");
  for (const char* package : {"libc6 (>=", "libqt6widgets6", "libqt6printsupport6", "libjpeg62-turbo", "libgif7"})
    EXPECT_TRUE(depends.contains(QString::fromLatin1(package))) << package << " in " << depends.toStdString();
  EXPECT_FALSE(depends.contains(QStringLiteral("morvel"))) << depends.toStdString();
}

TEST_F(Package, UnpackedItRunsFromWhereItLies) {
  QTemporaryDir tree;
  Outcome r = run(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb_, tree.path()});
  ASSERT_EQ(r.exitCode, 0) << r.errors.toStdString();
  const QString morvex = tree.filePath(QStringLiteral("usr/bin/morvex"));
  EXPECT_EQ(resolvedLibrary(morvex, QStringLiteral("libtivra32.so.2")),
            tree.filePath(QStringLiteral("usr/lib/libtivra32.so.2")));
  QTemporaryDir home;
  write(home.filePath(QStringLiteral("side.htm")), kCleanPage);
  r = run(morvex, {QStringLiteral("--check"), QStringLiteral("side.htm")}, home.path(), userEnvironment(home.path()));
  EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("side.htm:\n"))) << r.out.toStdString();
}

}  // namespace
