// What the publishing window's list shows of a listing: one row per entry
// with its name, size, type and date; the sorting of the columns; the status
// panels' counts; and the folder list of the current folder.
#pragma once

#include "ftp_listing.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace morvel::ftp {

struct FtpListRow {
  QString name;
  QString size;  // "12 KB"; empty for folders
  QString type;  // "Filmappe", "HTML-dokument", ...
  QString date;
  std::int64_t bytes = 0;  // as listed; 0 when the server gave no number
  bool isFolder = false;
  bool isLink = false;
};

// Folders first in listing order, then the files in listing order; "." and
// ".." are left out.
std::vector<FtpListRow> listingRows(const std::vector<FtpListEntry>& entries);

// The listed size in bytes; 0 when it is not a number.
std::int64_t listedBytes(std::string_view size);
// "? KB" when the server's size is not a number, "1 KB" below 1024 bytes,
// else whole kilobytes.
QString listingSizeText(std::string_view size);
// By the extension, in its exact case.
QString fileTypeText(const QString& name);

enum class FtpSortColumn { Name, Size, Type, Date };
// Sorts the files by the column; folders keep their places at the top.
// Equal values go by the upper-cased name.
void sortRows(std::vector<FtpListRow>& rows, FtpSortColumn column, bool ascending);

// The status panels: "12 objekt(er)" and the files' total size.
QString objectCountText(const std::vector<FtpListRow>& rows);
QString totalSizeText(const std::vector<FtpListEntry>& entries);

// The folder list: item 0 is the server; on a UNIX server one item per part
// of the current folder follows.
QStringList folderListItems(const QString& server, const QString& folder, TFTPServerType type);
// The folder that choosing item k changes to: "/" and the parts up to k.
QString folderOfItem(const QStringList& items, int k);

}  // namespace morvel::ftp
