// The list of recently closed files: up to four full paths in section
// "Filer" of the settings store, "Fil1" the most recent.
#pragma once

#include <QString>
#include <QStringList>

namespace morvel {

class RegIniFile;

inline constexpr int kRecentFiles = 4;

// "Fil1".."Fil4" as stored (empty entries included).
QStringList recentFiles(const RegIniFile& store);

// Puts `path` at the top. A path already among the first three moves up and
// the entries above it move down one; any other path pushes the list down
// and the fourth entry drops out.
void recordRecentFile(RegIniFile& store, const QString& path);

}  // namespace morvel
