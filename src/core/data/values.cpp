#include "core/data/values.h"

#include <locale.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <climits>
#include <vector>

#include "core/data/record_tables.h"

namespace qv70 {

namespace {

// Instrument texts and data files always use the period, whatever the desktop's
// locale says, so every number is read and written in the "C" locale.
locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

class CLocaleScope {
 public:
  CLocaleScope() : previous_(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(previous_); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The instrument's over-range, under-range and error marks.
bool HasMark(const std::string& text) {
  return Contains(text, "OF") || Contains(text, "UF") || Contains(text, "E");
}

void EmptyIfErrorMark(std::string& text) {
  if (Contains(text, "E")) text.clear();
}

bool IsVoltageField(int s) {
  return s == 7 || s == 8 || s == 24 || s == 26 || s == 28 || s == 30 || s == 32;
}

bool IsResistanceField(int s) {
  return s == 9 || s == 10 || s == 11 || s == 12 || s == 16 || s == 18 || s == 21 || s == 25 ||
         s == 27 || s == 29 || s == 31 || s == 33;
}

// The converted fields each test type rounds to three figures.
bool IsThreeFigureField(TestType type, int s) {
  switch (type) {
    case TestType::Normal: return (s >= 5 && s <= 14) || s == 16 || s == 18 || s == 19;
    case TestType::TC: return (s >= 5 && s <= 9) || s == 20 || s == 21;
    case TestType::StepVoltage: return (s >= 5 && s <= 7) || (s >= 24 && s <= 33);
  }
  return false;
}

// Room for the integer digits of any double (at most 309), and for the fraction
// digits the rounding reads: at most 50 below one plus the four it looks beyond
// the first significant digit (a value with integer digits has at most 16 + 3).
constexpr int kIntegerDigitRoom = 320;
constexpr int kFractionDigitRoom = 64;
constexpr int kMaxFractionDigitsBelowOne = 50;

// "%.0lf" of a text that already is a plain whole number of at most 15 digits
// gives the text back unchanged; whole ohms and volts usually arrive that way.
bool IsPlainWholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 15 || (text[0] == '0' && text.size() > 1)) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// "%.0lf" of a value. A whole value below 10^15 is written exactly by either
// way, so the integer path gives the same text without printf's long arithmetic.
std::string FormatWholeNumber(double value) {
  if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15 &&
      !(value == 0 && std::signbit(value)))
    return std::to_string(static_cast<long long>(value));
  return FormatText("%.0lf", value);
}

std::string WholeNumberText(const std::string& text) {
  return IsPlainWholeNumber(text) ? text : FormatWholeNumber(TextToDouble(text));
}


}  // namespace

std::string FormatText(const char* format, ...) {
  CLocaleScope cLocale;
  char small[256];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (length < 0) return std::string();
  if (static_cast<size_t>(length) < sizeof small) return std::string(small, static_cast<size_t>(length));
  std::vector<char> large(static_cast<size_t>(length) + 1);
  va_start(args, format);
  std::vsnprintf(large.data(), large.size(), format, args);
  va_end(args);
  return std::string(large.data(), static_cast<size_t>(length));
}

double TextToDouble(const std::string& text) { return strtod_l(text.c_str(), nullptr, CLocale()); }

int TextToInt(const std::string& text) {
  // atoi reads leading blanks, a sign and digits; out-of-range values are clamped
  // rather than left undefined.
  long long value = strtoll(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string FormatFixed(double value, int decimals) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
  if (decimals >= 0 && decimals <= 12 && value >= 0) {
    const double scaled = value * kPowers[decimals];
    if (scaled < 1e12) {
      const long long units = std::llround(scaled);
      // Within far less than half a unit of a whole number of units, printf's
      // correctly rounded digits are those units; anything closer to a tie
      // goes to printf itself.
      if (std::fabs(scaled - static_cast<double>(units)) < 1e-3) {
        std::string digits = std::to_string(units);
        if (decimals == 0) return digits;
        if (digits.size() <= static_cast<size_t>(decimals))
          digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
        digits.insert(digits.size() - static_cast<size_t>(decimals), 1, '.');
        return digits;
      }
    }
  }
  return FormatText("%.*f", decimals, value);
}

std::string FormatThreeFigures(std::string_view input) {
  std::string text(input);
  const bool negative = text.find('-') != std::string::npos;
  if (negative) text.erase(0, 1);

  const double x = TextToDouble(text);
  // Infinity and NaN have no digits to round; they pass through as written.
  if (!std::isfinite(x)) return std::string(input);

  double whole = std::floor(x);
  double fraction = x - std::floor(x);

  int digit[kIntegerDigitRoom];  // only digit[0..n) is ever read
  int n = 0;
  if (whole > 0) {
    while (whole != 0 && n < kIntegerDigitRoom) {
      // fmod is exact, so the digit stays within 0..9 even where whole - floor(whole / 10) * 10
      // would not be (values far beyond 2^53); below that both give the same digit.
      digit[n++] = static_cast<int>(std::fmod(whole, 10));
      whole = std::floor(whole / 10);
    }
  }

  int frac[kFractionDigitRoom] = {};
  int m = 0;
  if (fraction > 0) {
    const int limit = n > 0 ? n + 3 : kMaxFractionDigitsBelowOne;
    while (fraction != 0 && m < limit && m < kFractionDigitRoom - 5) {
      frac[m] = static_cast<int>(fraction * 10);
      fraction = fraction * 10 - frac[m];
      ++m;
    }
  }

  int k = 0;
  while (k < m && frac[k] == 0) ++k;
  if (k == m) k = 0;

  // The nine fix absorbs binary representation errors such as 0.29999...
  switch (n) {
    case 3: if (frac[1] == 9) frac[0] += 1; break;
    case 2: if (frac[2] == 9) frac[1] += 1; break;
    case 1: if (frac[3] == 9) frac[2] += 1; break;
    case 0: if (frac[k + 4] == 9) frac[k + 3] += 1; break;
    default: break;
  }

  std::string result;
  if (n >= 4) {
    const double unit = std::pow(10.0, n - 3);
    double kept = (digit[n - 1] * 100.0 + digit[n - 2] * 10.0 + digit[n - 3]) * unit;
    if (digit[n - 4] >= 5) kept += unit;
    result = FormatFixed(kept, 0);
  } else if (n == 3) {
    double kept = digit[2] * 100.0 + digit[1] * 10.0 + digit[0];
    if (frac[0] >= 5) kept += 1;
    result = FormatFixed(kept, 0);
  } else if (n == 2) {
    double kept = digit[1] * 10.0 + digit[0] + frac[0] / 10.0;
    if (frac[1] >= 5) kept += 0.1;
    result = FormatFixed(kept, 1);
  } else if (n == 1) {
    double kept = digit[0] + frac[0] / 10.0 + frac[1] / 100.0;
    if (frac[2] >= 5) kept += 0.01;
    result = FormatFixed(kept, 2);
  } else {
    const double place = std::pow(10.0, -(k + 1));
    double kept = frac[k] * place + frac[k + 1] * place / 10 + frac[k + 2] * place / 100;
    if (frac[k + 3] >= 5) kept += place / 100;
    result = FormatFixed(kept, k + 3);
  }
  return negative ? "-" + result : result;
}

std::string FormatElapsedMinutes(int seconds) {
  if (seconds < 0) return std::string();
  if (seconds == 0) return "0s";
  std::string text;
  if (seconds / 60 >= 1) text = FormatText("%dmin", seconds / 60);
  return text + FormatText("%ds", seconds % 60);
}

std::string FormatElapsedHours(long long seconds) {
  if (seconds <= 0) return std::string();
  // Whole numbers print the same in every locale, so no printf is needed here.
  const long long h = seconds / 3600;
  const long long m = (seconds % 3600) / 60;
  const long long s = seconds % 60;
  std::string text;
  if (h > 0) text += std::to_string(h) + "h";
  if (m > 0 || h > 0) text += std::to_string(m) + "min";
  return text + std::to_string(s) + "s";
}

void ConvertManualRecord(RecordTables& tables, int group, int record) {
  ManualRecord& raw = tables.Record(RecordCopy::Raw, group, record);
  ManualRecord& converted = tables.Record(RecordCopy::Converted, group, record);
  for (int s = 0; s < kManualFieldCount; ++s) {
    std::string& c = converted[static_cast<size_t>(s)];
    std::string& r = raw[static_cast<size_t>(s)];
    if (!c.empty() && !HasMark(c)) {
      if (IsVoltageField(s)) {
        c = FormatText("%lf", TextToDouble(c) / 1000);
        r = WholeNumberText(r);
      } else if (IsResistanceField(s)) {
        c = FormatText("%0.15lf", TextToDouble(c) / 1e9);
        r = WholeNumberText(r);
      } else if (s == field::kElapsed || s == field::kStepInterval) {
        c = FormatElapsedMinutes(TextToInt(c));
      } else if (s == field::kTemperature || s == field::kHumidity) {
        c = FormatText("%0.1f", TextToDouble(c));
        r = FormatText("%0.1f", TextToDouble(r));
      }
      std::optional<TestType> type = TestTypeFromText(converted[field::kTestType]);
      if (type && IsThreeFigureField(*type, s)) {
        c = FormatThreeFigures(c);
        if (*type == TestType::Normal && (s == field::kDar15s || s == field::kDar30s))
          r = FormatText("%0.0f", TextToDouble(r));
      }
    }
    // The record label of group E carries a capital E that is no error mark.
    if (s != field::kDataNo) EmptyIfErrorMark(c);
  }
}

void ConvertLoggingSet(RecordTables& tables, int set) {
  LoggingHeader& rawHeader = tables.Copy(RecordCopy::Raw).headers[set];
  LoggingHeader& header = tables.Copy(RecordCopy::Converted).headers[set];
  for (int f : {header::kTemperature, header::kHumidity}) {
    std::string& c = header[static_cast<size_t>(f)];
    if (!HasMark(c)) {
      c = FormatText("%0.1f", TextToDouble(c));
      rawHeader[static_cast<size_t>(f)] = FormatText("%0.1f", TextToDouble(rawHeader[static_cast<size_t>(f)]));
    }
    EmptyIfErrorMark(c);
  }
  std::string& voltage = header[header::kSetVoltage];
  if (!HasMark(voltage)) {
    voltage = FormatThreeFigures(voltage);
    rawHeader[header::kSetVoltage] = FormatThreeFigures(rawHeader[header::kSetVoltage]);
  }

  const int count = std::min(std::max(tables.sampleCount[static_cast<size_t>(set)], 0), kMaxSamples);
  for (int i = 0; i < count; ++i) {
    for (int f : {sample::kOutputVoltage, sample::kResistance}) {
      std::string& c = tables.Sample(RecordCopy::Converted, set, i, f);
      std::string& r = tables.Sample(RecordCopy::Raw, set, i, f);
      if (!HasMark(c)) {
        const double scale = f == sample::kOutputVoltage ? 1000 : 1e9;
        c = FormatThreeFigures(FormatText("%lf", TextToDouble(c) / scale));
        r = WholeNumberText(r);
      }
      EmptyIfErrorMark(c);
    }
  }
}

namespace {

// Reads "a<sep>b<sep>c" with atoi semantics: the text before the first separator,
// then before the next, then the rest.
void SplitThree(const std::string& text, char separator, int& a, int& b, int& c) {
  size_t first = text.find(separator);
  a = TextToInt(text.substr(0, first));
  if (first == std::string::npos) {
    b = c = 0;
    return;
  }
  size_t second = text.find(separator, first + 1);
  b = TextToInt(text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
  c = second == std::string::npos ? 0 : TextToInt(text.substr(second + 1));
}

// Local calendar time `seconds` after the given date and time; the overflow of the
// seconds runs into minutes, hours, days and months as mktime normalises it.
std::tm AddSeconds(const std::string& date, const std::string& time, long long seconds) {
  int year, month, day, hour, minute, second;
  SplitThree(date, '-', year, month, day);
  SplitThree(time, ':', hour, minute, second);
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  // Keep every field within int: whole days go to the day of the month.
  long long days = seconds / 86400;
  if (days > INT_MAX / 2) days = INT_MAX / 2;
  tm.tm_mday = static_cast<int>(std::min<long long>(static_cast<long long>(day) + days, INT_MAX / 2));
  tm.tm_sec = static_cast<int>(std::min<long long>(static_cast<long long>(second) + seconds % 86400, INT_MAX / 2));
  tm.tm_isdst = -1;
  std::mktime(&tm);
  return tm;
}

std::string FormatTime(const char* format, const std::tm& tm) {
  CLocaleScope cLocale;
  char buffer[64];
  size_t length = std::strftime(buffer, sizeof buffer, format, &tm);
  return std::string(buffer, length);
}

}  // namespace

void ComputeSampleTimes(RecordTables& tables, const std::string& startDate,
                        const std::string& startTime, int set, int intervalSeconds) {
  std::string date = startDate;
  std::string time = startTime;
  const int count = std::min(std::max(tables.sampleCount[static_cast<size_t>(set)], 0), kMaxSamples);
  // Each sample is the previous sample's local time plus the interval. Once that
  // time lies in a year the "20%y" text reproduces, it is carried as a time_t and
  // only converted to local time, which is far cheaper than normalising every step.
  bool carried = false;
  std::time_t carriedTime = 0;
  for (int i = 0; i < count; ++i) {
    std::tm next{};
    if (carried) {
      carriedTime += intervalSeconds;
      localtime_r(&carriedTime, &next);
    } else {
      next = AddSeconds(date, time, intervalSeconds);
      std::tm copy = next;
      carriedTime = std::mktime(&copy);
      carried = next.tm_year >= 100 && next.tm_year < 200 && carriedTime != static_cast<std::time_t>(-1);
    }
    date = FormatTime("20%y-%m-%d", next);
    time = FormatTime("%H:%M:%S", next);
    const std::string elapsed = FormatElapsedHours(static_cast<long long>(i + 1) * intervalSeconds);
    for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
      tables.Sample(copy, set, i, sample::kDate) = date;
      tables.Sample(copy, set, i, sample::kTime) = time;
      tables.Sample(copy, set, i, sample::kElapsed) = elapsed;
    }
  }
}

std::string ApplySetVoltageUnit(RecordTables& tables, int set) {
  float volts = static_cast<float>(TextToDouble(tables.Header(RecordCopy::Raw, set, header::kSetVoltage)));
  std::string unit = " V";
  if (volts >= 1000) {
    volts /= 1000;
    unit = "kV";
  }
  tables.Header(RecordCopy::Converted, set, header::kSetVoltage) =
      FormatThreeFigures(FormatText("%f", static_cast<double>(volts)));
  return unit;
}

std::string ApplyTestIntervalUnit(RecordTables& tables, int set) {
  const double seconds = TextToDouble(tables.Header(RecordCopy::Raw, set, header::kInterval));
  if (seconds > 0) {
    const double minutes = seconds / 60;
    if (minutes >= 1) {
      tables.Header(RecordCopy::Converted, set, header::kInterval) =
          FormatText("%d", static_cast<int>(std::min(minutes, static_cast<double>(INT_MAX))));
      return "min";
    }
  }
  return "s";
}

}  // namespace qv70
