// TDateTime calendar arithmetic (including dates before the 1899 epoch) and
// the DOS date-time stamp with its range limits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "framework/DateTime.h"
#include "framework/Exception.h"

namespace {

TEST(DateTime, EncodeDecodeAcrossTheCalendar) {
  struct Case {
    int y, m, d;
    double days;
  };
  const Case cases[] = {
      {1899, 12, 30, 0},  {1899, 12, 31, 1},       {1900, 1, 1, 2},      {1900, 3, 1, 61},
      {1899, 12, 29, -1}, {1800, 1, 1, -36522},    {2000, 2, 29, 36585}, {1980, 1, 1, 29221},
      {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.days);
    int y = 0, m = 0, d = 0;
    DecodeDate(ComposeDateTime(c.days, 0.75), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, c.y * 10000 + c.m * 100 + c.d);
  }
}

TEST(DateTime, NegativeValuesKeepAForwardTimeOfDay) {
  const TDateTime v = EncodeDateTime(1899, 12, 29, 6, 0, 0, 0);
  EXPECT_EQ(v, -1.25);
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(-1.25, y, mo, d, h, mi, s, ms);
  EXPECT_EQ(d, 29);
  EXPECT_EQ(h, 6);
  EXPECT_EQ(ComposeDateTime(-2, 0.5), -2.5);
  EXPECT_EQ(TimeOf(-2.5), 0.5);
}

TEST(DateTime, TimeRoundsToMillisecondsAndCarriesIntoTheDay) {
  int h, mi, s, ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), h, mi, s, ms);
  EXPECT_EQ(h * 10000000 + mi * 100000 + s * 1000 + ms, 235959999);
  const TDateTime almost = 1.0 - 1e-10;  // rounds to the next midnight
  int y, mo, d;
  DecodeDateTime(almost, y, mo, d, h, mi, s, ms);
  EXPECT_EQ(d, 31);
  EXPECT_EQ(h + mi + s + ms, 0);
}

TEST(DateTime, InvalidArgumentsRaise) {
  const int dates[][3] = {{1900, 2, 29}, {2001, 13, 1}, {2001, 4, 31},
                          {0, 1, 1},     {10000, 1, 1}, {2001, 0, 1}};
  for (const auto& c : dates) {
    SCOPED_TRACE(testing::Message() << c[0] << "-" << c[1] << "-" << c[2]);
    EXPECT_THROW(EncodeDate(c[0], c[1], c[2]), EConvertError);
  }
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity(), 1e300, -693595.0, 2958466.0}) {
    SCOPED_TRACE(bad);
    int y = 7, m = 7, d = 7;
    EXPECT_THROW(DecodeDate(bad, y, m, d), EConvertError);
    EXPECT_EQ(y + m + d, 21);  // nothing written
  }
}

TEST(DateTime, DosStampRoundTripsAtTwoSecondResolution) {
  const uint32_t stamps[] = {0x00210000u, 0x58A1BF7Du, 0xFF9FBF7Du, 0x2C2E5A21u};
  for (uint32_t dos : stamps) {
    SCOPED_TRACE(dos);
    EXPECT_EQ(DateTimeToDosDateTime(DosDateTimeToDateTime(dos)), dos);
  }
  // 2024-05-06 13:14:15.900 truncates to 13:14:14.
  const TDateTime t = EncodeDateTime(2024, 5, 6, 13, 14, 15, 900);
  const uint32_t dos = DateTimeToDosDateTime(t);
  EXPECT_EQ(dos >> 16, (44u << 9) | (5u << 5) | 6u);
  EXPECT_EQ(dos & 0xFFFF, (13u << 11) | (14u << 5) | 7u);
  EXPECT_EQ(DosDateTimeToDateTime(dos), EncodeDateTime(2024, 5, 6, 13, 14, 14, 0));
  // One DOS step older is 2 seconds older.
  EXPECT_NEAR(DosDateTimeToDateTime(dos) - DosDateTimeToDateTime(dos - 1), 2.0 / 86400, 1e-9);
}

TEST(DateTime, DosStampRangeAndImpossibleFields) {
  uint32_t dos = 123;
  EXPECT_FALSE(TryDateTimeToDosDateTime(EncodeDate(1979, 12, 31), dos));
  EXPECT_FALSE(TryDateTimeToDosDateTime(EncodeDate(2108, 1, 1), dos));
  EXPECT_FALSE(TryDateTimeToDosDateTime(std::nan(""), dos));
  EXPECT_EQ(dos, 123u);
  EXPECT_TRUE(TryDateTimeToDosDateTime(EncodeDateTime(2107, 12, 31, 23, 59, 59, 999), dos));
  EXPECT_EQ(dos, 0xFF9FBF7Du);
  EXPECT_THROW(DateTimeToDosDateTime(-1.5), EConvertError);
  const uint32_t impossible[] = {
      0x00000000u,                            // month 0, day 0
      0x01A10000u,                            // month 13
      (1u << 21),                             // day 0
      (2u << 21) | (30u << 16),               // 30 February
      (1u << 21) | (1u << 16) | (24u << 11),  // hour 24
      (1u << 21) | (1u << 16) | (60u << 5),   // minute 60
      (1u << 21) | (1u << 16) | 30u,          // 60 seconds
  };
  for (uint32_t bad : impossible) {
    SCOPED_TRACE(bad);
    TDateTime v = 42;
    EXPECT_FALSE(TryDosDateTimeToDateTime(bad, v));
    EXPECT_EQ(v, 42);
    EXPECT_THROW(DosDateTimeToDateTime(bad), EConvertError);
  }
}

}  // namespace
