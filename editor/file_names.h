// File names cross the window's interface in Windows-1252; the file system
// spells them in UTF-8.
#pragma once

#include "cp1252.h"

#include <filesystem>
#include <string>

namespace tivra {

inline std::filesystem::path nativePath(const char* windowsName) {
  return std::filesystem::path(platform::utf8FromCp1252(windowsName ? windowsName : ""));
}

inline std::string windowsName(const std::filesystem::path& path) { return platform::cp1252FromUtf8(path.string()); }

}  // namespace tivra
