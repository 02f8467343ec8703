#include "ftp_listing_view.h"

#include "projects/project_paths.h"
#include "projects/size_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <tuple>

namespace morvel::ftp {

namespace {

std::optional<std::uint64_t> byteCount(std::string_view size) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), value);
  if (size.empty() || error != std::errc() || end != size.data() + size.size()) return std::nullopt;
  return value;
}

// The number in a size text, without " KB"; -1 for "? KB" and folders.
long long sizeKey(const QString& size) {
  bool ok = false;
  const long long value = QString(size).remove(" KB").toLongLong(&ok);
  return ok ? value : -1;
}

// A date text as the listing gives it, "dd-mm-yyyy hh:mm" or without the
// time, as a comparable value; texts that are no date ("?", or another
// server's form) come before all dates.
std::tuple<bool, int, int, int, int, int> dateKey(const QString& date) {
  const QStringList parts = date.split(' ', Qt::SkipEmptyParts);
  const QStringList day = parts.value(0).split('-');
  const QStringList time = parts.value(1).split(':');
  bool ok = day.size() == 3;
  const auto number = [&ok](const QString& text, int low, int high) {
    bool good = false;
    const int n = text.toInt(&good);
    ok = ok && good && n >= low && n <= high;
    return n;
  };
  const int d = number(day.value(0), 1, 31);
  const int m = number(day.value(1), 1, 12);
  const int y = number(day.value(2), 0, 9999);
  int h = 0, min = 0;
  if (parts.size() > 1) {
    h = number(time.value(0), 0, 23);
    min = number(time.value(1), 0, 59);
  }
  if (!ok) return {false, 0, 0, 0, 0, 0};
  return {true, y, m, d, h, min};
}

int compareColumn(const FtpListRow& a, const FtpListRow& b, FtpSortColumn column) {
  const auto order = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
  switch (column) {
    case FtpSortColumn::Name:
      return 0;  // the name decides below
    case FtpSortColumn::Size:
      return order(sizeKey(a.size), sizeKey(b.size));
    case FtpSortColumn::Type:
      return a.type.toUpper().compare(b.type.toUpper());
    case FtpSortColumn::Date:
      return order(dateKey(a.date), dateKey(b.date));
  }
  return 0;
}

}  // namespace

std::int64_t listedBytes(std::string_view size) {
  return static_cast<std::int64_t>(
      std::min<std::uint64_t>(byteCount(size).value_or(0), std::numeric_limits<std::int64_t>::max()));
}

QString listingSizeText(std::string_view size) {
  const auto bytes = byteCount(size);
  if (!bytes) return QStringLiteral("? KB");
  return QString::number(*bytes < 1024 ? 1 : *bytes / 1024) + QStringLiteral(" KB");
}

QString fileTypeText(const QString& name) {
  if (hasHtmlExtension(name.toStdString())) return QStringLiteral("HTML-dokument");
  const qsizetype dot = name.lastIndexOf('.');
  const QString extension = dot < 0 ? QString() : name.mid(dot);
  if (extension == ".wav") return QStringLiteral("Wave-lyd");
  if (extension == ".mid") return QStringLiteral("MIDI-sekvens");
  if (extension == ".gif" || extension == ".jpg" || extension == ".jpeg") return QStringLiteral("Grafikfil");
  if (extension == ".zip") return QStringLiteral("Zip-fil");
  if (extension == ".exe") return QStringLiteral("Program");
  if (extension == ".txt") return QStringLiteral("Tekstdokument");
  return QStringLiteral("Fil");
}

std::vector<FtpListRow> listingRows(const std::vector<FtpListEntry>& entries) {
  std::vector<FtpListRow> folders, files;
  for (const FtpListEntry& e : entries) {
    if (e.name == "." || e.name == "..") continue;
    FtpListRow row;
    row.name = QString::fromStdString(e.name);
    row.date = QString::fromStdString(e.date);
    row.bytes = e.isDirectory ? 0 : listedBytes(e.size);
    row.isFolder = e.isDirectory;
    row.isLink = e.isLink;
    if (e.isDirectory) {
      row.type = QStringLiteral("Filmappe");
      folders.push_back(std::move(row));
    } else {
      row.size = listingSizeText(e.size);
      row.type = fileTypeText(row.name);
      files.push_back(std::move(row));
    }
  }
  folders.insert(folders.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
  return folders;
}

void sortRows(std::vector<FtpListRow>& rows, FtpSortColumn column, bool ascending) {
  // Folders compare equal to everything, which no sort can order by; they
  // stand together at the top and stay as they are.
  const auto files = std::stable_partition(rows.begin(), rows.end(), [](const FtpListRow& r) { return r.isFolder; });
  std::stable_sort(files, rows.end(), [column, ascending](const FtpListRow& a, const FtpListRow& b) {
    int c = compareColumn(a, b, column);
    if (c == 0) c = a.name.toUpper().compare(b.name.toUpper());
    return ascending ? c < 0 : c > 0;
  });
}

QString objectCountText(const std::vector<FtpListRow>& rows) {
  return QString::number(rows.size()) + QStringLiteral(" objekt(er)");
}

QString totalSizeText(const std::vector<FtpListEntry>& entries) {
  std::uint64_t total = 0;
  for (const FtpListEntry& e : entries)
    if (!e.isDirectory) total += byteCount(e.size).value_or(0);
  return QString::fromStdString(shortSizeText(total));
}

QStringList folderListItems(const QString& server, const QString& folder, TFTPServerType type) {
  QStringList items{server};
  if (type == TFTPServerType::ftpstUNIX) items += folder.split('/', Qt::SkipEmptyParts);
  return items;
}

QString folderOfItem(const QStringList& items, int k) {
  return '/' + QStringList(items.mid(1, std::max(k, 0))).join('/');
}

}  // namespace morvel::ftp
