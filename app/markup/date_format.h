// Dates and times written with the format language of the update-date setting.
//
//   d dd ddd dddd   day: 1, 01, short name, full name
//   ddddd dddddd    the short (01-01-1998) and long (1. januar 1998) date
//   m mm mmm mmmm   month: 1, 01, short name, full name
//   yy yyyy         year: 98, 1998
//   h hh            hour 0-23: 9, 09
//   n nn  s ss      minute, second: 5, 05
//   m mm            right after an hour code: the minute instead of the month
//   t tt  c         the short time (19:32), long time (19:32:05); short date
//                   and long time
//   /               the date separator
//   "..." '...'     literal text
// Codes ignore letter case; every other character is copied as it is. Day and
// month names are Danish. Format and result are Windows-1252 bytes, the way
// the text goes into a document.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace morvel {

struct DateTime {
  int year = 1900;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The format used while the setting has never been changed.
inline constexpr std::string_view kDefaultDateFormat = "\"Opdateret d.\" d/m/yy";

// The Danish date separator, which "/" stands for unless told otherwise.
inline constexpr char kDanishDateSeparator = '-';

std::string formatDateTime(std::string_view format, const DateTime& when, char dateSeparator = kDanishDateSeparator);

// The local date and time now, to the second.
DateTime currentDateTime();

// Where currentDateTime() takes "now" from: the system clock unless a test
// puts a fixed one in place. An empty source brings the system clock back.
// Returns the source it replaces.
using DateTimeSource = std::function<DateTime()>;
DateTimeSource setDateTimeSource(DateTimeSource source);

}  // namespace morvel
