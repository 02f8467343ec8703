// One run of the program inside a test: a settings store in a temporary
// folder and the main window on it, with the user's folders (HOME and the
// XDG folders) moved into the temporary folder, so that nothing a test does
// reaches the real desktop or menus. restart() ends the run and starts the
// next one on the same store file.
#pragma once

#include "mainwindow/kestrin.h"
#include "registry.h"
#include "settings/indstillinger.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace app_test {

class EnvironmentGuard {
 public:
  EnvironmentGuard() = default;
  EnvironmentGuard(const EnvironmentGuard&) = delete;
  EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
  ~EnvironmentGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        qputenv(it->first.constData(), *it->second);
      else
        qunsetenv(it->first.constData());
    }
  }
  void set(const char* name, const QString& value) {
    remember(name);
    qputenv(name, value.toLocal8Bit());
  }
  void unset(const char* name) {
    remember(name);
    qunsetenv(name);
  }

 private:
  void remember(const char* name) {
    std::optional<QByteArray> old;
    if (qEnvironmentVariableIsSet(name)) old = qgetenv(name);
    saved_.emplace_back(QByteArray(name), std::move(old));
  }
  std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

class ProgramRun {
 public:
  ProgramRun() {
    QDir(dir.path()).mkdir(QStringLiteral("home"));
    environment.set("HOME", home());
    environment.unset("XDG_CONFIG_HOME");
    environment.unset("XDG_DATA_HOME");
    environment.unset("XDG_DESKTOP_DIR");
    start();
  }
  ~ProgramRun() { stop(); }
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  QString home() const { return dir.filePath(QStringLiteral("home")); }
  QString storeFile() const { return dir.filePath(QStringLiteral("Morvel.ini")); }
  morvel::RegIniFile& store() { return *store_; }
  TKestrin& kestrin() { return *kestrin_; }
  TIndstillinger& dialog() { return kestrin_->Indstillinger(); }
  // Changes the settings in force, as OK in the settings dialog does,
  // without the dialog.
  template <typename Change>
  void changeSettings(Change change) {
    morvel::Settings settings = kestrin_->settings();
    change(settings);
    kestrin_->changeSettings(settings);
  }

  // Closes the window and the store (which writes what it holds), then
  // opens both again.
  void restart() {
    stop();
    start();
  }
  void stop() {
    kestrin_.reset();
    store_.reset();
  }
  void start() {
    store_ = std::make_unique<morvel::RegIniFile>(storeFile().toStdString());
    kestrin_ = std::make_unique<TKestrin>(*store_);
  }

  QTemporaryDir dir;
  EnvironmentGuard environment;

 private:
  std::unique_ptr<morvel::RegIniFile> store_;
  std::unique_ptr<TKestrin> kestrin_;
};

}  // namespace app_test
