#include "core/data/civil_time.h"

#include <algorithm>
#include <cstdlib>

namespace qv70 {

namespace {

constexpr long long kSecondsPerDay = 86400;

// Days since 1970-01-01 of a date and the date of a day number, in eras of
// 400 years (146097 days) that begin on 1 March, so the leap day ends a year.
long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(long long days, CivilTime& time) {
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long dayOfEra = days - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
  time.day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
  time.month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
  time.year = yearOfEra + era * 400 + (time.month <= 2 ? 1 : 0);
}

// Floor division, so times before 1970 fall into the day they belong to.
long long FloorDiv(long long a, long long b) { return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0); }

char* TwoDigits(char* out, long long value) {
  out[0] = static_cast<char>('0' + value / 10);
  out[1] = static_cast<char>('0' + value % 10);
  return out + 2;
}

// No time zone moves its clocks twice within an hour (changes lie months, at
// the closest days apart), so an offset from UTC that is the same at both ends
// of an hour is the same throughout it.
constexpr long long kOffsetProbeSpan = 3600;

// Local wall-clock seconds minus UTC seconds at `instant`.
bool LocalOffsetAt(std::time_t instant, long long& offset) {
  std::tm local{};
  if (localtime_r(&instant, &local) == nullptr) return false;
  offset = CivilSeconds(CivilTimeOf(local)) - static_cast<long long>(instant);
  return true;
}

}  // namespace

long long CivilSeconds(const CivilTime& time) {
  return DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + time.hour * 3600LL +
         time.minute * 60LL + time.second;
}

CivilTime CivilTimeAt(long long civilSeconds) {
  const long long days = FloorDiv(civilSeconds, kSecondsPerDay);
  const long long secondOfDay = civilSeconds - days * kSecondsPerDay;
  CivilTime time;
  CivilFromDays(days, time);
  time.hour = static_cast<int>(secondOfDay / 3600);
  time.minute = static_cast<int>(secondOfDay / 60 % 60);
  time.second = static_cast<int>(secondOfDay % 60);
  return time;
}

CivilTime CivilTimeOf(const std::tm& tm) {
  return {tm.tm_year + 1900LL, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string SampleDateText(const CivilTime& time) {
  // %y is the year modulo 100, also before year 0: -5 gives 95.
  char text[10] = {'2', '0'};
  char* out = TwoDigits(text + 2, (time.year % 100 + 100) % 100);
  *out++ = '-';
  out = TwoDigits(out, time.month);
  *out++ = '-';
  out = TwoDigits(out, time.day);
  return std::string(text, out);
}

std::string SampleTimeText(const CivilTime& time) {
  char text[8];
  char* out = TwoDigits(text, time.hour);
  *out++ = ':';
  out = TwoDigits(out, time.minute);
  *out++ = ':';
  out = TwoDigits(out, time.second);
  return std::string(text, out);
}

std::vector<CivilTime> LocalTimesOf(std::time_t first, long long step, int count) {
  std::vector<CivilTime> times;
  if (count <= 0) return times;
  times.reserve(static_cast<size_t>(count));
  auto instant = [&](int i) { return static_cast<std::time_t>(first + step * i); };
  // Samples one probe apart: every sample when a step spans more than the probe span.
  const long long stride = step == 0 ? count : std::max(1LL, kOffsetProbeSpan / std::llabs(step));

  long long offset = 0;
  if (!LocalOffsetAt(instant(0), offset)) return {};
  int begin = 0;  // the offset at sample `begin` is `offset`
  while (begin < count - 1) {
    int end = static_cast<int>(std::min<long long>(count - 1, begin + stride));
    long long endOffset = 0;
    if (!LocalOffsetAt(instant(end), endOffset)) return {};
    if (endOffset != offset) {
      // The clocks changed once between the two: find the first sample after the change.
      int before = begin;
      while (end - before > 1) {
        const int middle = before + (end - before) / 2;
        long long middleOffset = 0;
        if (!LocalOffsetAt(instant(middle), middleOffset)) return {};
        if (middleOffset == offset) {
          before = middle;
        } else {
          end = middle;
          endOffset = middleOffset;
        }
      }
    }
    for (int i = begin; i < end; ++i) times.push_back(CivilTimeAt(instant(i) + offset));
    begin = end;
    offset = endOffset;
  }
  times.push_back(CivilTimeAt(instant(count - 1) + offset));
  return times;
}

}  // namespace qv70
