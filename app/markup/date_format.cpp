#include "markup/date_format.h"

#include "ascii.h"

#include <array>
#include <chrono>
#include <ctime>

namespace morvel {

namespace {

// Windows-1252: \xF8 is the letter o with stroke.
constexpr std::array<std::string_view, 7> kDayNames{"s\xF8ndag", "mandag", "tirsdag",  "onsdag",
                                                    "torsdag",   "fredag", "l\xF8rdag"};
constexpr std::array<std::string_view, 7> kShortDayNames{"s\xF8n", "man", "tir", "ons", "tor", "fre", "l\xF8r"};
constexpr std::array<std::string_view, 12> kMonthNames{"januar",    "februar", "marts",    "april",
                                                       "maj",       "juni",    "juli",     "august",
                                                       "september", "oktober", "november", "december"};
constexpr std::array<std::string_view, 12> kShortMonthNames{"jan", "feb", "mar", "apr", "maj", "jun",
                                                            "jul", "aug", "sep", "okt", "nov", "dec"};

constexpr std::string_view kShortDate = "dd/mm/yyyy";
constexpr std::string_view kLongDate = "d. mmmm yyyy";
constexpr std::string_view kShortTime = "hh:mm";
constexpr std::string_view kLongTime = "hh:mm:ss";

void appendNumber(std::string& out, int value, int minDigits) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (value < 0) out.push_back('-');
  if (static_cast<int>(digits.size()) < minDigits) out.append(static_cast<std::size_t>(minDigits) - digits.size(), '0');
  out.append(digits);
}

// 0 = Sunday. Even an impossible date gives a weekday 0..6, so a bad date
// never reads outside the name tables.
unsigned weekdayOf(const DateTime& when) {
  using namespace std::chrono;
  const year_month_day ymd{year{when.year}, month{static_cast<unsigned>(when.month)},
                           day{static_cast<unsigned>(when.day)}};
  return weekday{sys_days{ymd}}.c_encoding();
}

template <std::size_t N>
std::string_view nameAt(const std::array<std::string_view, N>& names, int oneBased) {
  if (oneBased < 1 || oneBased > static_cast<int>(N)) return {};
  return names[static_cast<std::size_t>(oneBased - 1)];
}

class Formatter {
 public:
  Formatter(const DateTime& when, char dateSeparator) : when_(when), separator_(dateSeparator) {}

  void format(std::string_view fmt, std::string& out) {
    std::size_t i = 0;
    while (i < fmt.size()) {
      const char c = fmt[i];
      if (c == '"' || c == '\'') {
        const std::size_t close = fmt.find(c, i + 1);
        const std::size_t end = close == std::string_view::npos ? fmt.size() : close;
        out.append(fmt.substr(i + 1, end - i - 1));
        i = end == fmt.size() ? end : end + 1;
        continue;
      }
      char token = ascii::upper(c);
      std::size_t count = 1;
      while (i + count < fmt.size() && ascii::upper(fmt[i + count]) == token) ++count;
      if (token >= 'A' && token <= 'Z') {
        // An "m" right after an hour code means minutes.
        if (token == 'M' && lastLetter_ == 'H') token = 'N';
        lastLetter_ = token;
      }
      if (!appendCode(token, count, out)) {
        out.push_back(c);
        count = 1;
      }
      i += count;
    }
  }

 private:
  // Appends the code `token` repeated `count` times; false when it is no code.
  bool appendCode(char token, std::size_t count, std::string& out) {
    switch (token) {
      case 'D':
        if (count == 1)
          appendNumber(out, when_.day, 1);
        else if (count == 2)
          appendNumber(out, when_.day, 2);
        else if (count == 3)
          out.append(kShortDayNames[weekdayOf(when_)]);
        else if (count == 4)
          out.append(kDayNames[weekdayOf(when_)]);
        else if (count == 5)
          nested(kShortDate, out);
        else
          nested(kLongDate, out);
        return true;
      case 'M':
        if (count == 1)
          appendNumber(out, when_.month, 1);
        else if (count == 2)
          appendNumber(out, when_.month, 2);
        else if (count == 3)
          out.append(nameAt(kShortMonthNames, when_.month));
        else
          out.append(nameAt(kMonthNames, when_.month));
        return true;
      case 'Y':
        if (count <= 2)
          appendNumber(out, when_.year % 100, 2);
        else
          appendNumber(out, when_.year, 4);
        return true;
      case 'H':
        appendNumber(out, when_.hour, count == 1 ? 1 : 2);
        return true;
      case 'N':
        appendNumber(out, when_.minute, count == 1 ? 1 : 2);
        return true;
      case 'S':
        appendNumber(out, when_.second, count == 1 ? 1 : 2);
        return true;
      case 'T':
        nested(count == 1 ? kShortTime : kLongTime, out);
        return true;
      case 'C':
        nested(kShortDate, out);
        if (when_.hour != 0 || when_.minute != 0 || when_.second != 0) {
          out.push_back(' ');
          nested(kLongTime, out);
        }
        return true;
      case '/':
        out.append(count, separator_);
        return true;
      default:
        return false;
    }
  }

  void nested(std::string_view fmt, std::string& out) {
    Formatter inner(when_, separator_);
    inner.format(fmt, out);
  }

  const DateTime& when_;
  char separator_;
  char lastLetter_ = 0;
};

}  // namespace

std::string formatDateTime(std::string_view format, const DateTime& when, char dateSeparator) {
  std::string out;
  Formatter(when, dateSeparator).format(format, out);
  return out;
}

namespace {

DateTime systemDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

DateTimeSource& dateTimeSource() {
  static DateTimeSource source;
  return source;
}

}  // namespace

DateTime currentDateTime() {
  const DateTimeSource& source = dateTimeSource();
  return source ? source() : systemDateTime();
}

DateTimeSource setDateTimeSource(DateTimeSource source) {
  DateTimeSource previous = std::move(dateTimeSource());
  dateTimeSource() = std::move(source);
  return previous;
}

}  // namespace morvel
