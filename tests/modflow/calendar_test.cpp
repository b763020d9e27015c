#include <gtest/gtest.h>

#include <string>

#include "modflow/calendar.hpp"

namespace tamvek::modflow {
namespace {

constexpr double day_2010 = 14610;  // 2010-01-01 in days since 1970-01-01

TEST(ClockReading, TheIso8601FormsModelFilesHold) {
  const struct {
    const char* text;
    double moment;
    const char* zone;
  } cases[] = {
      {"2010-01-01", day_2010, ""},
      {"2010-01-01T00:00:00", day_2010, ""},
      {"2010-01-01 00:00:00", day_2010, ""},
      {"2010-01-01t12:00", day_2010 + 0.5, ""},
      {"2010-01-01T06", day_2010 + 0.25, ""},
      {"2010-01-01T00:00:00Z", day_2010, "Z"},
      {"2010-01-01T00:00:00.000000", day_2010, ""},
      {"1997-07-16T19:20:30.45+01:00", 10058 + (19 * 3600 + 20 * 60 + 30.45) / 86400, "+01:00"},
      {"1997-07-16T19:20+01:00", 10058 + (19 * 3600 + 20 * 60) / 86400.0, "+01:00"},
      {"2010-01-01T12:00:00-0530", day_2010 + 0.5, "-0530"},
      {"2010-01-01T12:00:00,5", day_2010 + (12 * 3600 + 0.5) / 86400, ""},
      {"2010-01-01T12:30.5", day_2010 + (12 * 3600 + 30.5 * 60) / 86400, ""},
      {"20100101", day_2010, ""},
      {"20100101T120000Z", day_2010 + 0.5, "Z"},
      {"2010-01-01T24:00:00", day_2010 + 1, ""},
      {"2012-02-29", 15399, ""},
  };
  for (const auto& c : cases) {
    const auto reading = parse_clock_reading(c.text);
    ASSERT_TRUE(reading) << c.text;
    EXPECT_DOUBLE_EQ(c.moment, reading->moment) << c.text;
    EXPECT_EQ(c.zone, reading->zone) << c.text;
  }
}

TEST(ClockReading, TextsThatAreNoDateAreLabels) {
  for (const char* text : {"", "1-1-1970", "01/01/2010", "2010-13-01", "2011-02-29", "2010-01-01T25:00",
                           "2010-01-01T12:60", "2010-01-01T24:00:01", "2010-01-01T12:00+25:00",
                           "2010-01-01T12:00:00.", "2010-01-01X", "2010-01-01T12:00 UTC", "January 2010",
                           "2010-1-1", "2010-01-01T1200:00"})
    EXPECT_FALSE(parse_clock_reading(text)) << text;
}

}  // namespace
}  // namespace tamvek::modflow
