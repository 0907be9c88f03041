#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace qv70 {

// A wall-clock date and time in the Gregorian calendar, extended before 1582
// as the C library does.
struct CivilTime {
  long long year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Seconds since 1970-01-01 00:00:00 of a wall-clock time, and back: calendar
// arithmetic with leap years, no time zone.
long long CivilSeconds(const CivilTime& time);
CivilTime CivilTimeAt(long long civilSeconds);

// The date and time fields of a normalised broken-down time.
CivilTime CivilTimeOf(const std::tm& tm);

// The sample texts, as strftime writes "20%y-%m-%d" and "%H:%M:%S" of the time.
std::string SampleDateText(const CivilTime& time);
std::string SampleTimeText(const CivilTime& time);

// The local wall-clock times of the `count` instants first, first + step, ...
// as localtime_r gives them, asking it only where the offset from UTC could
// change. Empty when the C library cannot convert one of the instants.
std::vector<CivilTime> LocalTimesOf(std::time_t first, long long step, int count);

}  // namespace qv70
