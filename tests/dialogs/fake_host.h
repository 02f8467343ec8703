// A small document host for the element dialogs, without the main window:
// pages in editors of a plain window, settings and a store in a temporary
// folder, and a record of what the dialogs asked of it.
#pragma once

#include "commands/document_host.h"
#include "component/tivra_component.h"
#include "registry.h"
#include "settings/settings.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <map>
#include <string>
#include <vector>

namespace dialog_test {

class FakeHost : public morvel::DocumentHost {
 public:
  FakeHost()
      : store_(dir_.filePath(QStringLiteral("Morvel.ini")).toStdString()), settings_(morvel::readSettings(store_)) {}

  // A page in an editor of its own, made the active document; its editor.
  TTivra& addPage(const std::string& text, const QString& file = QString()) {
    auto* editor = new TTivra(&window_);
    editor->HandleNeeded();
    editor->setTextBytes(text);
    pages_.push_back({editor, file});
    active_ = documentCount() - 1;
    return *editor;
  }
  void activate(int i) { active_ = i; }
  morvel::Settings& changeableSettings() { return settings_; }

  QWidget* dialogParent() override { return &window_; }
  int documentCount() const override { return static_cast<int>(pages_.size()); }
  int activeDocument() const override { return active_; }
  TTivra* editor(int i) const override { return valid(i) ? pages_[static_cast<std::size_t>(i)].editor : nullptr; }
  QString fileName(int i) const override { return valid(i) ? pages_[static_cast<std::size_t>(i)].file : QString(); }
  QString documentName(int i) const override {
    return fileName(i).isEmpty() ? QStringLiteral("Nyt dokument %1").arg(i + 1) : fileName(i);
  }
  int newDocument() override {
    addPage("");
    return active_;
  }
  bool openFile(const QString& path) override {
    opened << path;
    return true;
  }
  QString fileTitle(const QString&) override { return QStringLiteral("[Ingen titel]"); }
  morvel::RegIniFile& store() override { return store_; }
  const morvel::Settings& settings() const override { return settings_; }
  void refreshCaptions() override { ++captionRefreshes; }
  QString statusText(int panel) const override {
    const auto found = status.find(panel);
    return found == status.end() ? QString() : found->second;
  }
  void setStatusText(int panel, const QString& text) override { status[panel] = text; }
  void showProgress(int percent) override { progress.push_back(percent); }

  QStringList opened;
  int captionRefreshes = 0;
  std::map<int, QString> status;
  std::vector<int> progress;

 private:
  struct Page {
    TTivra* editor;
    QString file;
  };
  bool valid(int i) const { return i >= 0 && i < documentCount(); }

  QTemporaryDir dir_;
  QWidget window_;
  morvel::RegIniFile store_;
  morvel::Settings settings_;
  std::vector<Page> pages_;
  int active_ = -1;
};

}  // namespace dialog_test
