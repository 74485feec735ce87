// Calendar arithmetic for TDateTime and the DOS date-time stamp (see
// DateTime.h). Values are decoded through whole days plus milliseconds of the
// day, so every routine agrees on where one day ends and the next begins.
#include "framework/DateTime.h"

#include <cmath>

#include "framework/Exception.h"
#include "framework/Format.h"

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Day number of 1899-12-30 counted from 1970-01-01.
constexpr int64_t kEpochShift = -25569;
// Whole-day limits of years 1..9999 as TDateTime day numbers.
constexpr double kMinDay = -693593;  // 0001-01-01
constexpr double kMaxDay = 2958465;  // 9999-12-31

// Days since 1970-01-01 of a proleptic Gregorian date (valid for year >= 1).
int64_t DaysFromCivil(int64_t y, int m, int d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// A value as whole days and milliseconds of that day (0..kMsPerDay-1).
struct Stamp {
  int64_t day;
  int64_t ms;
};

bool ToStamp(TDateTime value, Stamp& s) {
  if (!std::isfinite(value) || value <= kMinDay - 1 || value >= kMaxDay + 1) return false;
  const double whole = std::trunc(value);
  s.day = static_cast<int64_t>(whole);
  s.ms = static_cast<int64_t>(std::llround(std::fabs(value - whole) * kMsPerDay));
  if (s.ms >= kMsPerDay) {  // rounded up to the next midnight
    s.ms -= kMsPerDay;
    ++s.day;
  }
  return s.day >= kMinDay && s.day <= kMaxDay;
}

Stamp ToStampOrThrow(TDateTime value) {
  Stamp s{};
  if (!ToStamp(value, s)) throw EConvertError(Format("'%g' is not a valid date and time", value));
  return s;
}

}  // namespace

bool IsLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInAMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
  if (year < 1 || year > 9999 || day < 1 || day > DaysInAMonth(year, month)) return false;
  result = static_cast<double>(DaysFromCivil(year, month, day) - kEpochShift);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime r = 0;
  if (!TryEncodeDate(year, month, day, r)) throw EConvertError("Invalid argument to date encode");
  return r;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
      msec > 999)
    return false;
  const int64_t ms = ((hour * 60 + minute) * 60 + second) * 1000LL + msec;
  result = static_cast<double>(ms) / kMsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime r = 0;
  if (!TryEncodeTime(hour, minute, second, msec, r))
    throw EConvertError("Invalid argument to time encode");
  return r;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  const double day = std::trunc(date);
  const double t = std::fabs(time - std::trunc(time));
  return day < 0 ? day - t : day + t;
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second, msec));
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  const Stamp s = ToStampOrThrow(value);
  CivilFromDays(s.day + kEpochShift, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec) {
  const Stamp s = ToStampOrThrow(value);
  hour = static_cast<int>(s.ms / 3600000);
  minute = static_cast<int>(s.ms / 60000 % 60);
  second = static_cast<int>(s.ms / 1000 % 60);
  msec = static_cast<int>(s.ms % 1000);
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec) {
  DecodeDate(value, year, month, day);  // raises before anything is written
  DecodeTime(value, hour, minute, second, msec);
}

TDateTime DateOf(TDateTime value) {
  return std::trunc(value);
}

TDateTime TimeOf(TDateTime value) {
  return std::fabs(value - std::trunc(value));
}

bool TryDateTimeToDosDateTime(TDateTime value, uint32_t& dos) {
  Stamp s{};
  if (!ToStamp(value, s)) return false;
  int year = 0, month = 0, day = 0;
  CivilFromDays(s.day + kEpochShift, year, month, day);
  if (year < 1980 || year > 2107) return false;
  const auto hour = static_cast<uint32_t>(s.ms / 3600000);
  const auto minute = static_cast<uint32_t>(s.ms / 60000 % 60);
  const auto second = static_cast<uint32_t>(s.ms / 1000 % 60);
  const uint32_t date = (static_cast<uint32_t>(year - 1980) << 9) |
                        (static_cast<uint32_t>(month) << 5) | static_cast<uint32_t>(day);
  const uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
  dos = (date << 16) | time;
  return true;
}

uint32_t DateTimeToDosDateTime(TDateTime value) {
  uint32_t dos = 0;
  if (!TryDateTimeToDosDateTime(value, dos))
    throw EConvertError(
        Format("'%g' cannot be stored as a DOS date-time (years 1980 to 2107)", value));
  return dos;
}

bool TryDosDateTimeToDateTime(uint32_t dos, TDateTime& value) {
  const int year = 1980 + static_cast<int>(dos >> 25);
  const int month = static_cast<int>((dos >> 21) & 0x0F);
  const int day = static_cast<int>((dos >> 16) & 0x1F);
  const int hour = static_cast<int>((dos >> 11) & 0x1F);
  const int minute = static_cast<int>((dos >> 5) & 0x3F);
  const int second = static_cast<int>(dos & 0x1F) * 2;
  TDateTime date = 0, time = 0;
  if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time))
    return false;
  value = date + time;  // dates from 1980 on are positive
  return true;
}

TDateTime DosDateTimeToDateTime(uint32_t dos) {
  TDateTime value = 0;
  if (!TryDosDateTimeToDateTime(dos, value))
    throw EConvertError(Format("'%.8x' is not a valid DOS date-time", dos));
  return value;
}
