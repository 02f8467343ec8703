#include "markup/color_codes.h"
#include "markup/date_format.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace morvel {
namespace {

TEST(ColorCodes, SixteenNamesBothWays) {
  const std::vector<std::pair<std::string, ColorValue>> named{
      {"Black", colorFromRgb(0, 0, 0)},         {"Silver", colorFromRgb(0xC0, 0xC0, 0xC0)},
      {"Maroon", colorFromRgb(0x80, 0, 0)},     {"Red", colorFromRgb(0xFF, 0, 0)},
      {"Green", colorFromRgb(0, 0x80, 0)},      {"Lime", colorFromRgb(0, 0xFF, 0)},
      {"Olive", colorFromRgb(0x80, 0x80, 0)},   {"Yellow", colorFromRgb(0xFF, 0xFF, 0)},
      {"Navy", colorFromRgb(0, 0, 0x80)},       {"Blue", colorFromRgb(0, 0, 0xFF)},
      {"Purple", colorFromRgb(0x80, 0, 0x80)},  {"Fuchsia", colorFromRgb(0xFF, 0, 0xFF)},
      {"Teal", colorFromRgb(0, 0x80, 0x80)},    {"Aqua", colorFromRgb(0, 0xFF, 0xFF)},
      {"Gray", colorFromRgb(0x80, 0x80, 0x80)}, {"White", colorFromRgb(0xFF, 0xFF, 0xFF)},
  };
  for (const auto& [name, value] : named) {
    EXPECT_EQ(colorCode(value), name);
    EXPECT_EQ(colorFromCode(name), value) << name;
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(colorFromCode(lower), value) << lower;
    EXPECT_EQ(colorFromCode("#" + name), value) << name;
  }
}

TEST(ColorCodes, OtherColoursAreHexInRedGreenBlueOrder) {
  const ColorValue color = colorFromRgb(0x12, 0xAB, 0xEF);
  EXPECT_EQ(color, 0xEFAB12u);  // as the platform's RGB() lays it out
  EXPECT_EQ(colorCode(color), "#12ABEF");
  EXPECT_EQ(colorCode(colorFromRgb(0xFF, 0, 1)), "#FF0001");
  EXPECT_EQ(colorFromCode("#12ABEF"), color);
  EXPECT_EQ(colorFromCode("12abef"), color);
  EXPECT_EQ(colorFromCode(" #12ABEF "), color);
  EXPECT_EQ(colorFromCode("#C0C0C0"), colorFromRgb(0xC0, 0xC0, 0xC0));
}

TEST(ColorCodes, BadCodesGiveNoColour) {
  for (const char* code : {"", "#", "#12345", "#1234567", "#GG0000", "Purplex", "##123456", "12 456"})
    EXPECT_FALSE(colorFromCode(code).has_value()) << code;
}

const DateTime kNewYear1998{1998, 1, 1, 19, 32, 5};

TEST(DateFormat, ExamplesOfTheSettingsHelp) {
  EXPECT_EQ(formatDateTime("dddd 'd.' d. mmmm, yyyy kl. hh:mm", kNewYear1998), "torsdag d. 1. januar, 1998 kl. 19:32");
  // The help text claims 01.01.1998 here, but "yy" is the two-digit year.
  EXPECT_EQ(formatDateTime("dd.mm.yy", kNewYear1998), "01.01.98");
}

TEST(DateFormat, DefaultFormatUsesTheDateSeparator) {
  EXPECT_EQ(formatDateTime(kDefaultDateFormat, kNewYear1998), "Opdateret d. 1-1-98");
  EXPECT_EQ(formatDateTime(kDefaultDateFormat, kNewYear1998, '.'), "Opdateret d. 1.1.98");
  EXPECT_EQ(formatDateTime("dd/mm/yyyy", {2005, 11, 30}, '/'), "30/11/2005");
}

TEST(DateFormat, MinutesOnlyRightAfterAnHour) {
  const DateTime morning{2001, 3, 4, 9, 5, 7};
  EXPECT_EQ(formatDateTime("h:m:s", morning), "9:5:7");
  EXPECT_EQ(formatDateTime("hh:mm:ss", morning), "09:05:07");
  EXPECT_EQ(formatDateTime("hh.nn", morning), "09.05");
  EXPECT_EQ(formatDateTime("mm", morning), "03");
  EXPECT_EQ(formatDateTime("hh 'x' mm", morning), "09 x 05");
  // Any other letter between them makes "mm" the month again.
  EXPECT_EQ(formatDateTime("hh d mm", morning), "09 4 03");
  EXPECT_EQ(formatDateTime("hh:mm mm", morning), "09:05 03");
}

TEST(DateFormat, DanishDayAndMonthNames) {
  // 4 January 2015 was a Sunday.
  const std::vector<std::string> days{"s\xF8ndag", "mandag", "tirsdag", "onsdag", "torsdag", "fredag", "l\xF8rdag"};
  const std::vector<std::string> shortDays{"s\xF8n", "man", "tir", "ons", "tor", "fre", "l\xF8r"};
  for (int i = 0; i < 7; ++i) {
    const DateTime date{2015, 1, 4 + i};
    EXPECT_EQ(formatDateTime("dddd", date), days[static_cast<std::size_t>(i)]);
    EXPECT_EQ(formatDateTime("ddd", date), shortDays[static_cast<std::size_t>(i)]);
  }
  const std::vector<std::string> months{"januar", "februar", "marts",     "april",   "maj",      "juni",
                                        "juli",   "august",  "september", "oktober", "november", "december"};
  for (int m = 1; m <= 12; ++m) {
    const std::string& name = months[static_cast<std::size_t>(m - 1)];
    EXPECT_EQ(formatDateTime("mmmm", {2015, m, 1}), name);
    EXPECT_EQ(formatDateTime("mmm", {2015, m, 1}), name.substr(0, 3));
  }
  EXPECT_EQ(formatDateTime("dddd d. mmmm yyyy", {2000, 2, 29}), "tirsdag 29. februar 2000");
}

TEST(DateFormat, CodesIgnoreCaseAndLiteralsAreCopied) {
  EXPECT_EQ(formatDateTime("DD-MM-YYYY", kNewYear1998), "01-01-1998");
  EXPECT_EQ(formatDateTime("\"dd mm\" 'yy' d", kNewYear1998), "dd mm yy 1");
  EXPECT_EQ(formatDateTime("'uafsluttet d", kNewYear1998), "uafsluttet d");
  EXPECT_EQ(formatDateTime("Kl.: hh, \xE6\xF8\xE5", kNewYear1998), "Kl.: 19, \xE6\xF8\xE5");
  EXPECT_EQ(formatDateTime("yy yyyy", {2005, 6, 7}), "05 2005");
}

TEST(DateFormat, WholeDateAndTimeCodes) {
  EXPECT_EQ(formatDateTime("ddddd", kNewYear1998), "01-01-1998");
  EXPECT_EQ(formatDateTime("dddddd", kNewYear1998), "1. januar 1998");
  EXPECT_EQ(formatDateTime("t", kNewYear1998), "19:32");
  EXPECT_EQ(formatDateTime("tt", kNewYear1998), "19:32:05");
  EXPECT_EQ(formatDateTime("c", kNewYear1998), "01-01-1998 19:32:05");
  EXPECT_EQ(formatDateTime("c", {1998, 1, 1}), "01-01-1998");
}

TEST(DateFormat, ImpossibleDatesDoNotBreak) {
  EXPECT_EQ(formatDateTime("d/m mmmm", {1998, 13, 0}), "0-13 ");
  EXPECT_EQ(formatDateTime("dddd", {1998, 2, 31}).empty(), false);
}

TEST(DateFormat, CurrentDateTimeIsPlausible) {
  const DateTime now = currentDateTime();
  EXPECT_GE(now.year, 2024);
  EXPECT_GE(now.month, 1);
  EXPECT_LE(now.month, 12);
  EXPECT_GE(now.day, 1);
  EXPECT_LE(now.day, 31);
}

}  // namespace
}  // namespace morvel
