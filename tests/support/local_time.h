#pragma once

#include <ctime>

namespace qv70::test {

// The instant of a local calendar time, as the instrument clock tests fix it.
inline std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm when{};
  when.tm_year = year - 1900;
  when.tm_mon = month - 1;
  when.tm_mday = day;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  when.tm_isdst = -1;
  return std::mktime(&when);
}

}  // namespace qv70::test
