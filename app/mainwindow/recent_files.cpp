#include "mainwindow/recent_files.h"

#include "registry.h"
#include "settings/settings_store.h"

namespace morvel {

namespace {

QString entry(const RegIniFile& store, int n) {
  return QString::fromStdString(store.ReadString(settings::kFiler, settings::recentFile(n), ""));
}

void setEntry(RegIniFile& store, int n, const QString& path) {
  store.WriteString(settings::kFiler, settings::recentFile(n), path.toStdString());
}

}  // namespace

QStringList recentFiles(const RegIniFile& store) {
  QStringList files;
  for (int n = 1; n <= kRecentFiles; ++n) files << entry(store, n);
  return files;
}

void recordRecentFile(RegIniFile& store, const QString& path) {
  // Only the entries above the path's old place move; a path in the last
  // place is not looked for, so it drops out like any other fourth entry.
  int limit = kRecentFiles - 1;
  for (int n = kRecentFiles - 1; n >= 1; --n) {
    if (entry(store, n) == path) {
      limit = n - 1;
      break;
    }
  }
  for (int k = limit; k >= 1; --k) {
    const QString moving = entry(store, k);
    if (!moving.isEmpty()) setEntry(store, k + 1, moving);
  }
  setEntry(store, 1, path);
}

}  // namespace morvel
