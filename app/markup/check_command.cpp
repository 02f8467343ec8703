#include "markup/check_command.h"

#include "markup/code_check.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

namespace morvel {

namespace {

std::optional<std::string> readWholeFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

int runCodeCheckCommand(const std::vector<std::string>& files, std::ostream& out, std::ostream& errors) {
  bool faults = false;
  bool unreadable = false;
  for (const std::string& file : files) {
    const std::optional<std::string> text = readWholeFile(file);
    if (!text) {
      errors << "morvex: Kan ikke læse filen " << file << ".\n";
      unreadable = true;
      continue;
    }
    const CodeCheckResult result = checkHtmlCode(*text);
    faults = faults || result.faultFound();
    // The report holds only the ASCII texts of the check, so it is
    // UTF-8 as it stands.
    out << file << ":\n" << result.report;
    if (result.report.empty() || result.report.back() != '\n') out << '\n';
  }
  out.flush();
  if (unreadable) return kCheckUnreadable;
  return faults ? kCheckFaults : kCheckClean;
}

}  // namespace morvel
