// TDateTime: a day count since 30 December 1899 with the time of day as the
// fraction, as archive headers and registry values store it; the calendar
// routines and the DOS date-time stamp (2-second resolution) of file dates.
#pragma once

#include <cstdint>

// Days since 1899-12-30 00:00. For dates before that day the value is
// negative while its fraction still counts forward from midnight: -1.25 is
// 1899-12-29 06:00, i.e. the day is the integer part (toward zero) and the
// time is the absolute value of the fraction. Never build such values by
// adding a time to a negative date: use ComposeDateTime.
using TDateTime = double;

bool IsLeapYear(int year);
// 28..31; 0 for a month outside 1..12.
int DaysInAMonth(int year, int month);

// Calendar date (year 1..9999, proleptic Gregorian) to a whole day count.
// EncodeDate raises EConvertError "Invalid argument to date encode".
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
TDateTime EncodeDate(int year, int month, int day);

// Time of day (0..23, 0..59, 0..59, 0..999) to a fraction of a day.
// EncodeTime raises EConvertError "Invalid argument to time encode".
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);
TDateTime EncodeTime(int hour, int minute, int second, int msec);

// A date (whole days) and a time of day (fraction) into one value, right for
// negative dates too.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);

// The fields of a value, rounded to the nearest millisecond (a time that
// rounds up to midnight counts as the next day). A value that is not finite
// or lies outside years 1..9999 raises EConvertError; nothing is written then.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec);

// The date part and the time part (both non-negative fractions for times).
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

// DOS date-time stamp: date in the high 16 bits (bits 9-15 year - 1980, 5-8
// month, 0-4 day), time in the low 16 bits (11-15 hour, 5-10 minute, 0-4
// seconds / 2). Like the value it comes from, it is local time; nothing here
// converts between time zones. Seconds are truncated to the even second
// below, so converting a stamp to a value and back gives the same stamp.
// Years outside 1980..2107 (or a value that is not finite) cannot be stored:
// the Try form returns false, the plain form raises EConvertError.
bool TryDateTimeToDosDateTime(TDateTime value, uint32_t& dos);
uint32_t DateTimeToDosDateTime(TDateTime value);

// A stamp with an impossible field (month 0 or 13+, day 0 or past the month's
// end, hour 24+, minute 60+, seconds field 30+) cannot be converted: the Try
// form returns false, the plain form raises EConvertError.
bool TryDosDateTimeToDateTime(uint32_t dos, TDateTime& value);
TDateTime DosDateTimeToDateTime(uint32_t dos);
