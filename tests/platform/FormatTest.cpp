#include "platform/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace platform;

namespace {
const std::vector<std::string> kValuePatterns = {"#,###,###,##0.0",
                                                 "#,###,###,##0.00",
                                                 "#,###,###,##0.000000000000000",
                                                 "###,###,##0.000",
                                                 "#0.000",
                                                 "#0.00",
                                                 "#"};
}

// Day numbers are those of the stored files: day 0 is 30/12/1899.
TEST(Calendar, RoundTripsEveryDayFrom1600To2400) {
  EXPECT_EQ(dayNumber(1899, 12, 30), 0);
  EXPECT_EQ(dayNumber(2010, 5, 3), 40301);
  DayNumber expected = dayNumber(1600, 1, 1);
  for (int year = 1600; year < 2400; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; isValidDate(year, month, day); ++day, ++expected) {
        ASSERT_EQ(dayNumber(year, month, day), expected) << day << "/" << month << "/" << year;
        const CivilDate back = civilDate(expected);
        ASSERT_TRUE(back.year == year && back.month == month && back.day == day) << expected;
        ASSERT_EQ(parseIsoDate(isoDate(expected)), expected);
      }
    }
  }
}

TEST(Calendar, ParseDateIsStrict) {
  EXPECT_EQ(parseDate("29/02/2012"), dayNumber(2012, 2, 29));
  EXPECT_EQ(parseDate("  3/5/2010 "), dayNumber(2010, 5, 3));
  EXPECT_EQ(parseDate("29/02/2000"), dayNumber(2000, 2, 29));
  for (const char* bad : {"31/02/2010", "29/02/2011", "29/02/1900", "00/01/2010", "01/13/2010",
                          "1/1/10", "01/01/20100", "001/01/2010", "01-01-2010", "01/01/2010x", "",
                          " ", "a1/01/2010", "01//2010", "01/01/"}) {
    EXPECT_EQ(parseDate(bad), std::nullopt) << bad;
  }
}

TEST(Calendar, IsoDatesToleratesATimePart) {
  EXPECT_EQ(isoDate(kFixedValueDate), "2199-12-31");
  EXPECT_EQ(isoDate(kNoDateLimit), "1900-01-01");
  EXPECT_EQ(formatDate(dayNumber(2010, 5, 3)), "03/05/2010");
  EXPECT_EQ(formatDate(dayNumber(2010, 5, 3), "dd"), "03");
  EXPECT_EQ(parseIsoDate("2010-05-03 00:00:00"), dayNumber(2010, 5, 3));
  EXPECT_EQ(parseIsoDate("2010-05-03T10:00"), dayNumber(2010, 5, 3));
  for (const char* bad : {"2010-5-03", "2010-02-30", "2010-05-03x", "03/05/2010", "", "2010-05"}) {
    EXPECT_EQ(parseIsoDate(bad), std::nullopt) << bad;
  }
}

TEST(Calendar, WeekdaysAndMonthEnds) {
  EXPECT_EQ(weekday(dayNumber(2010, 5, 3)), 1);
  EXPECT_EQ(weekday(dayNumber(2009, 1, 2)), 5);
  EXPECT_EQ(weekday(dayNumber(2009, 4, 15)), 3);
  EXPECT_EQ(weekday(0), 6);
  EXPECT_EQ(weekday(-1), 5);  // before the origin, too
  EXPECT_EQ(lastDayOfMonth(2, 2012), dayNumber(2012, 2, 29));
  EXPECT_EQ(lastDayOfMonth(2, 2011), dayNumber(2011, 2, 28));
  EXPECT_EQ(lastDayOfMonth(12, 2011), dayNumber(2011, 12, 31));
  EXPECT_EQ(lastDayOfMonth(4, 2011), dayNumber(2011, 4, 30));
}

TEST(Format, RoundsHalfAwayFromZeroOnTheDecimalForm) {
  EXPECT_EQ(formatNumber(2.675, "#0.00"), "2,68");
  EXPECT_EQ(formatNumber(1.005, "#0.00"), "1,01");
  EXPECT_EQ(formatNumber(-2.675, "#0.00"), "-2,68");
  EXPECT_EQ(formatNumber(0.004, "#0.00"), "0,00");
  EXPECT_EQ(formatNumber(0.005, "#0.00"), "0,01");
  EXPECT_EQ(formatNumber(0.0004, "#0.000"), "0,000");
  EXPECT_EQ(formatNumber(999.9995, "#0.000"), "1000,000");
  EXPECT_EQ(formatNumber(12.34567, "#,###,###,##0.000"), "12,346");
  EXPECT_EQ(formatNumber(1e-300, "#0.00"), "0,00");
  EXPECT_EQ(formatNumber(0.1 + 0.2, "#,###,###,##0.000000000000000"), "0,300000000000000");
}

// A change that rounds to zero is written without a minus, unlike VB: the grids paint any
// caption holding "-" red, and a zero change is no loss.
TEST(Format, ZeroNeverCarriesAMinus) {
  EXPECT_EQ(formatNumber(-0.0004, "#0.000"), "0,000");
  EXPECT_EQ(formatNumber(-0.0, "#0.00"), "0,00");
  EXPECT_EQ(formatNumber(-0.4, "#"), "");
  EXPECT_EQ(parseNumber("-0,000"), 0.0);
  EXPECT_FALSE(std::signbit(*parseNumber("-0,000")));
}

TEST(Format, PatternsGroupAndPad) {
  EXPECT_EQ(formatNumber(1234567.891, "#,###,###,##0.00"), "1.234.567,89");
  EXPECT_EQ(formatNumber(1234567.891, "###,###,##0.000"), "1.234.567,891");
  EXPECT_EQ(formatNumber(-1234567.891, "#0.000"), "-1234567,891");
  EXPECT_EQ(formatNumber(123456789012.0, "#,###,###,##0.0"), "123.456.789.012,0");
  EXPECT_EQ(formatNumber(0.5, "#,###,###,##0.00"), "0,50");
  EXPECT_EQ(formatNumber(999.5, "#,###,###,##0"), "1.000");
  EXPECT_EQ(formatNumber(0, "#"), "");
  EXPECT_EQ(formatNumber(0.6, "#"), "1");
  EXPECT_EQ(formatNumber(-1234.5, "#"), "-1235");
  const std::vector<std::string> expected999999 = {
      "999.999,0", "999.999,00", "999.999,000000000000000", "999.999,000", "999999,000",
      "999999,00", "999999"};
  for (size_t i = 0; i < kValuePatterns.size(); ++i) {
    EXPECT_EQ(formatNumber(999999, kValuePatterns[i]), expected999999[i]) << kValuePatterns[i];
  }
}

TEST(Format, NonFiniteValuesGiveEmptyText) {
  EXPECT_EQ(formatNumber(std::nan(""), "#0.00"), "");
  EXPECT_EQ(formatNumber(-HUGE_VAL, "#,###,###,##0.00"), "");
  EXPECT_EQ(roundThrough(std::nan(""), "#0.00"), 0.0);
  EXPECT_EQ(formatNumber(1e300, "#").size(), 301u);
}

TEST(Format, ParseNumberReadsItalianTextOnly) {
  EXPECT_EQ(parseNumber("1.234.567,89"), 1234567.89);
  EXPECT_EQ(parseNumber(" -0,5 "), -0.5);
  EXPECT_EQ(parseNumber("12"), 12.0);
  EXPECT_EQ(parseNumber("0,000"), 0.0);
  EXPECT_EQ(parseNumber(",5"), 0.5);
  for (const char* bad : {"", " ", "-", "abc", "1,2,3", "1.23", "1.23.456", "1234.567", ".123",
                          "12a", "1.234.", "1 234", "1e5", "--1"}) {
    EXPECT_EQ(parseNumber(bad), std::nullopt) << bad;
  }
}

TEST(Format, EveryPatternParsesBack) {
  std::vector<double> values = {0.0,     1.0,     -2.675, 12.34567, 999999.0, 1234567.891,
                                -0.0004, 999.995, 0.0005, -0.005,   1e20,     123456789012345678.0,
                                5e-324};
  // Rounding through a pattern is its text read back, for values of every size.
  std::mt19937_64 random(42);
  for (int i = 0; i < 2000; ++i)
    values.push_back(std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random),
                                std::uniform_int_distribution<int>(-20, 60)(random)));
  for (const double value : values) {
    for (const std::string& pattern : kValuePatterns) {
      const std::string text = formatNumber(value, pattern);
      const std::optional<double> back = parseNumber(text);
      if (text.empty()) {
        EXPECT_EQ(roundThrough(value, pattern), 0.0);
        continue;
      }
      ASSERT_TRUE(back.has_value()) << text;
      EXPECT_EQ(formatNumber(*back, pattern), text);
      EXPECT_EQ(roundThrough(value, pattern), *back);
    }
  }
  EXPECT_EQ(roundThrough(12.34567, "#,###,###,##0.00"), 12.35);
  EXPECT_EQ(roundThrough(2.675, "#0.00"), 2.68);
}
