#include "ftp_listing.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace morvel::ftp {

namespace {

bool isNumber(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string squeezeSpaces(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

int monthNumber(std::string_view name) {
  static constexpr std::array<std::string_view, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  for (size_t i = 0; i < months.size(); ++i)
    if (months[i] == name) return static_cast<int>(i) + 1;
  return 0;
}

std::string unixDate(const std::string& monthText, const std::string& dayText, const std::string& yearOrTime,
                     const DateTime& now) {
  const int month = monthNumber(monthText);
  if (month == 0 || !isNumber(dayText) || dayText.size() > 2) return "?";
  DateTime when;
  when.month = month;
  when.day = std::stoi(dayText);
  std::string time;
  if (yearOrTime.find(':') == std::string::npos) {
    if (!isNumber(yearOrTime) || yearOrTime.size() > 4) return "?";
    when.year = std::stoi(yearOrTime);
  } else {
    time = yearOrTime;
    // Listings show the time for entries of the last twelve months.
    when.year = now.month >= month ? now.year : now.year - 1;
  }
  return formatDateTime("ddddd", when) + ' ' + time;
}

std::string_view trimRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string listingField(std::string_view line, int n) {
  const std::string squeezed = squeezeSpaces(line);
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    const size_t space = squeezed.find(' ', start);
    if (space == std::string::npos) return {};
    start = space + 1;
  }
  const size_t end = squeezed.find(' ', start);
  return squeezed.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string_view textAfterField(std::string_view line, int n) {
  size_t at = 0;
  for (int i = 0; i <= n; ++i) {
    // Field i ends at the next space; the run of spaces after it separates.
    at = line.find(' ', at);
    if (at == std::string_view::npos) return {};
    at = line.find_first_not_of(' ', at);
    if (at == std::string_view::npos) return {};
  }
  return line.substr(at);
}

bool isSafeLocalName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return c == '/' || c == '\\' || u < 0x20 || u == 0x7f;
  });
}

std::optional<FtpListEntry> parseUnixLine(std::string_view line, const DateTime& now) {
  if (line.empty()) return std::nullopt;
  FtpListEntry entry;
  switch (line[0]) {
    case '-':
    case 'f':
      entry.isDirectory = false;
      break;
    case 'd':
      entry.isDirectory = true;
      break;
    case 'l':
      entry.isDirectory = true;  // links are followed like folders
      entry.isLink = true;
      break;
    default:
      return std::nullopt;
  }
  const auto field = [line](int n) { return listingField(line, n); };
  int lastDateField = 6;
  if (!field(1).empty() && field(1)[0] == '[') {
    entry.size = field(3);
    entry.date = field(4) + ' ' + field(5) + ' ' + field(6);
  } else if (isNumber(field(4))) {
    entry.size = field(4);
    entry.date = unixDate(field(5), field(6), field(7), now);
    lastDateField = 7;
  } else {
    entry.size = field(3);
    entry.date = unixDate(field(4), field(5), field(6), now);
  }
  // The name is all that follows the date, inner spaces included; a link
  // names its target after " -> ".
  std::string_view name = textAfterField(line, lastDateField);
  if (entry.isLink) name = name.substr(0, name.find(" -> "));
  name = trimRight(name);
  if (name.empty()) return std::nullopt;
  entry.name = std::string(name);
  return entry;
}

std::optional<FtpListEntry> parseVmLine(std::string_view line) {
  FtpListEntry entry;
  entry.name = listingField(line, 0) + '.' + listingField(line, 1);
  entry.size = listingField(line, 3);
  entry.date = listingField(line, 6) + ' ' + listingField(line, 7);
  return entry;
}

std::optional<FtpListEntry> parseVmVpsLine(std::string_view line) {
  for (std::string_view skip : {"=", "totals:", " rf trks", "track limit"})
    if (line.find(skip) != std::string_view::npos) return std::nullopt;
  FtpListEntry entry;
  entry.name = listingField(line, 0) + '.' + listingField(line, 1);
  entry.size = listingField(line, 2);
  entry.date = listingField(line, 7) + ' ' + listingField(line, 6);
  return entry;
}

// A long name stands on a line of its own and its details follow on the
// next line: the two are read as one.
std::optional<FtpListEntry> FtpListingParser::parseVms(std::string_view line) {
  std::string whole = kept_.empty() ? std::string(line) : kept_ + ' ' + std::string(line);
  kept_.clear();
  if (whole.find(';') == std::string::npos) return std::nullopt;
  const std::string first = listingField(whole, 0);
  if (first.empty() || listingField(whole, 1).empty()) {
    kept_ = whole;
    return std::nullopt;
  }
  FtpListEntry entry;
  entry.name = first.substr(0, first.find(';'));
  const size_t dir = entry.name.find(".DIR");
  if (dir != std::string::npos) {
    entry.isDirectory = true;
    entry.name.erase(dir);
  }
  entry.size = listingField(whole, 1);
  entry.date = listingField(whole, 2) + ' ' + listingField(whole, 3);
  return entry;
}

std::optional<FtpListEntry> FtpListingParser::parse(std::string_view line) {
  using enum TFTPServerType;
  switch (type_) {
    case ftpstDefault:
    case ftpstUNIX:
    case ftpstULTRIX:
    case ftpstU5000:
    case ftpstSINTFTPD:
      return parseUnixLine(line, currentDateTime());
    case ftpstVmsMultinet:
    case ftpstVmsUcx:
      return parseVms(line);
    case ftpstVM:
      return parseVmLine(line);
    case ftpstVMVPS:
      return parseVmVpsLine(line);
    default:
      return std::nullopt;
  }
}

}  // namespace morvel::ftp
