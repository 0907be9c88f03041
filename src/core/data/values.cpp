#include "core/data/values.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <ctime>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/data/civil_time.h"
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
// Fixed texts written by to_chars: a sign, the integer digits, a point and the
// decimals asked for (the rounding asks for at most 53).
constexpr int kMaxToCharsDecimals = 64;
constexpr int kFixedTextRoom = 1 + kIntegerDigitRoom + 1 + kMaxToCharsDecimals;

// "%.0lf" of a text that already is a plain whole number of at most 15 digits
// gives the text back unchanged; whole ohms and volts usually arrive that way.
bool IsPlainWholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 15 || (text[0] == '0' && text.size() > 1)) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// from_chars reads what strtod reads from a text that starts with an optional
// minus and then a digit, or a point and a digit, unless it is hexadecimal
// ("0x", which from_chars would read as 0). It skips no blanks and takes no
// plus sign; strtod reads those texts.
bool FromCharsReadsLikeStrtod(std::string_view text) {
  if (!text.empty() && text[0] == '-') text.remove_prefix(1);
  if (text.empty()) return false;
  if (text[0] == '.') return text.size() > 1 && IsDigit(text[1]);
  if (!IsDigit(text[0])) return false;
  return !(text[0] == '0' && text.size() > 1 && (text[1] == 'x' || text[1] == 'X'));
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPowerOfTen = 22;
// Below 10^15 every whole number is a double.
constexpr int kMostExactDigits = 15;

// Reads a decimal text of at most 15 significant digits whose value is those
// digits times a power of ten from 10^-22 to 10^22: a whole number and a power
// of ten that doubles hold exactly, multiplied or divided once. IEEE arithmetic
// rounds that single step correctly, as strtod rounds the text, so both give
// the same double. The text ends where strtod stops reading; false for any
// other text (then the general readers decide).
bool ReadShortDecimal(std::string_view text, double& value) {
  size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) ++i;
  if (text.size() > i + 1 && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) return false;
  unsigned long long digits = 0;
  int significant = 0;
  int scale = 0;  // decimals after the point, trailing zeros included
  int trailingZeros = 0;
  bool anyDigit = false;
  auto take = [&](char c, bool fraction) {
    anyDigit = true;
    if (fraction) ++scale;
    if (c == '0' && fraction) {
      ++trailingZeros;
      return true;
    }
    // The zeros held back belong before this digit.
    for (; trailingZeros > 0; --trailingZeros) {
      digits *= 10;
      if (digits != 0 && ++significant > kMostExactDigits) return false;
    }
    digits = digits * 10 + static_cast<unsigned>(c - '0');
    return digits == 0 || ++significant <= kMostExactDigits;
  };
  for (; i < text.size() && IsDigit(text[i]); ++i)
    if (!take(text[i], false)) return false;
  if (i < text.size() && text[i] == '.')
    for (++i; i < text.size() && IsDigit(text[i]); ++i)
      if (!take(text[i], true)) return false;
  if (!anyDigit) return false;
  scale -= trailingZeros;

  int exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    const bool negativeExponent = j < text.size() && text[j] == '-';
    if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
    // "1e" and "1e+" end before the e, as strtod reads them.
    if (j < text.size() && IsDigit(text[j])) {
      for (; j < text.size() && IsDigit(text[j]); ++j) {
        exponent = exponent * 10 + (text[j] - '0');
        if (exponent > 2 * kLargestExactPowerOfTen) return false;
      }
      if (negativeExponent) exponent = -exponent;
    }
  }
  const int power = exponent - scale;
  if (power > kLargestExactPowerOfTen || power < -kLargestExactPowerOfTen) return false;
  const double whole = static_cast<double>(digits);
  value = power >= 0 ? whole * kExactPowersOfTen[power] : whole / kExactPowersOfTen[-power];
  if (negative) value = -value;
  return true;
}

// The digits of a whole number, written backwards to end before `end`; returns the first.
char* WriteDigitsBackwards(char* end, unsigned long long value) {
  do {
    *--end = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return end;
}

// The fixed text of units / 10^scale followed by `zeros` more zero decimals:
// the sign, at least one integer digit, and with any decimals the point.
std::string FixedTextOfUnits(bool negative, unsigned long long units, int scale, int zeros) {
  char buffer[24];
  char* const end = buffer + sizeof buffer;
  const char* first = WriteDigitsBackwards(end, units);
  const int count = static_cast<int>(end - first);
  std::string text;
  text.reserve(static_cast<size_t>(count + scale + zeros + 3));
  if (negative) text += '-';
  if (count > scale) {
    text.append(first, static_cast<size_t>(count - scale));
    first += count - scale;
  } else {
    text += '0';
  }
  if (scale + zeros == 0) return text;
  text += '.';
  if (count < scale) text.append(static_cast<size_t>(scale - count), '0');
  text.append(first, static_cast<size_t>(end - first));
  text.append(static_cast<size_t>(zeros), '0');
  return text;
}

// "%.*f" of a finite value without the C library, where the digits are plainly
// those of a whole number: a whole value below 2^63 (its decimals are zeros),
// or a value within 10^-3 of a whole number of 10^-decimals units below 2^51.
// The product value * 10^decimals is then off by at most half an ulp (1/8),
// so the exact value is within 0.126 units of that whole number and rounds to
// it however printf breaks ties. false where this does not apply.
bool FormatPlainFixed(double value, int decimals, std::string& text) {
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  constexpr double kWholeLimit = 9223372036854775808.0;  // 2^63
  if (magnitude < kWholeLimit && magnitude == std::floor(magnitude)) {
    text = FixedTextOfUnits(negative, static_cast<unsigned long long>(magnitude), 0, decimals);
    return true;
  }
  constexpr double kUnitsLimit = 2251799813685248.0;  // 2^51
  if (decimals > kMostExactDigits) return false;
  const double scaled = magnitude * kExactPowersOfTen[decimals];
  if (scaled >= kUnitsLimit) return false;
  const double units = std::nearbyint(scaled);
  if (std::fabs(scaled - units) >= 1e-3) return false;
  text = FixedTextOfUnits(negative, static_cast<unsigned long long>(units), decimals, 0);
  return true;
}

std::string WholeNumberText(const std::string& text) {
  return IsPlainWholeNumber(text) ? text : FormatFixed(TextToDouble(text), 0);
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

double TextToDouble(const std::string& text) {
  double value = 0;
  if (ReadShortDecimal(text, value)) return value;
  if (FromCharsReadsLikeStrtod(text)) {
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc()) return value;
  }
  // Blanks, signs, hexadecimal, infinities, NaN, values out of range.
  return strtod_l(text.c_str(), nullptr, CLocale());
}

int TextToInt(const std::string& text) {
  // atoi reads leading blanks, a sign and digits; out-of-range values are clamped
  // rather than left undefined.
  long long value = strtoll(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string FormatFixed(double value, int decimals) {
  if (std::isfinite(value) && decimals >= 0 && decimals <= kMaxToCharsDecimals) {
    std::string text;
    if (FormatPlainFixed(value, decimals, text)) return text;
    // to_chars with a precision writes the exactly rounded digits, ties to
    // even as glibc's printf does in its default rounding mode.
    char buffer[kFixedTextRoom];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (written.ec == std::errc()) return std::string(buffer, written.ptr);
  }
  // Infinities and NaN keep printf's spellings.
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
  if (seconds / 60 >= 1) text = std::to_string(seconds / 60) + "min";
  return text + std::to_string(seconds % 60) + "s";
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
        c = FormatFixed(TextToDouble(c) / 1000, 6);
        r = WholeNumberText(r);
      } else if (IsResistanceField(s)) {
        c = FormatFixed(TextToDouble(c) / 1e9, 15);
        r = WholeNumberText(r);
      } else if (s == field::kElapsed || s == field::kStepInterval) {
        c = FormatElapsedMinutes(TextToInt(c));
      } else if (s == field::kTemperature || s == field::kHumidity) {
        c = FormatFixed(TextToDouble(c), 1);
        r = FormatFixed(TextToDouble(r), 1);
      }
      std::optional<TestType> type = TestTypeFromText(converted[field::kTestType]);
      if (type && IsThreeFigureField(*type, s)) {
        c = FormatThreeFigures(c);
        if (*type == TestType::Normal && (s == field::kDar15s || s == field::kDar30s))
          r = FormatFixed(TextToDouble(r), 0);
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
      c = FormatFixed(TextToDouble(c), 1);
      rawHeader[static_cast<size_t>(f)] = FormatFixed(TextToDouble(rawHeader[static_cast<size_t>(f)]), 1);
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
        c = FormatThreeFigures(FormatFixed(TextToDouble(c) / scale, 6));
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

// The local time `seconds` after the given date and time, as mktime normalises
// the overflow of the seconds into minutes, hours, days and months.
struct LocalStep {
  std::tm local{};
  std::time_t instant = -1;
};

LocalStep AddSeconds(const std::string& date, const std::string& time, long long seconds) {
  int year, month, day, hour, minute, second;
  SplitThree(date, '-', year, month, day);
  SplitThree(time, ':', hour, minute, second);
  LocalStep step;
  std::tm& tm = step.local;
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
  step.instant = std::mktime(&tm);
  return step;
}

// A time in a year the "20%y" text writes as it is: from there on each sample
// is the previous instant plus the interval, in local time.
bool InWrittenCentury(const LocalStep& step) {
  return step.local.tm_year >= 100 && step.local.tm_year < 200 && step.instant != static_cast<std::time_t>(-1);
}

std::string FormatTime(const char* format, const std::tm& tm) {
  CLocaleScope cLocale;
  char buffer[64];
  size_t length = std::strftime(buffer, sizeof buffer, format, &tm);
  return std::string(buffer, length);
}

void SetSampleTime(RecordTables& tables, int set, int i, const std::string& date, const std::string& time,
                   int intervalSeconds) {
  const std::string elapsed = FormatElapsedHours(static_cast<long long>(i + 1) * intervalSeconds);
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
    tables.Sample(copy, set, i, sample::kDate) = date;
    tables.Sample(copy, set, i, sample::kTime) = time;
    tables.Sample(copy, set, i, sample::kElapsed) = elapsed;
  }
}

}  // namespace

void ComputeSampleTimes(RecordTables& tables, const std::string& startDate,
                        const std::string& startTime, int set, int intervalSeconds) {
  std::string date = startDate;
  std::string time = startTime;
  const int count = std::min(std::max(tables.sampleCount[static_cast<size_t>(set)], 0), kMaxSamples);
  for (int i = 0; i < count; ++i) {
    // Each sample is the previous sample's local time plus the interval.
    const LocalStep next = AddSeconds(date, time, intervalSeconds);
    if (InWrittenCentury(next)) {
      // The rest by calendar arithmetic from this instant, far cheaper than
      // normalising and formatting every step.
      const int rest = count - i;
      const std::vector<CivilTime> times = LocalTimesOf(next.instant, intervalSeconds, rest);
      if (static_cast<int>(times.size()) == rest) {
        for (int j = 0; j < rest; ++j)
          SetSampleTime(tables, set, i + j, SampleDateText(times[static_cast<size_t>(j)]),
                        SampleTimeText(times[static_cast<size_t>(j)]), intervalSeconds);
        return;
      }
    }
    date = FormatTime("20%y-%m-%d", next.local);
    time = FormatTime("%H:%M:%S", next.local);
    SetSampleTime(tables, set, i, date, time, intervalSeconds);
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
      FormatThreeFigures(FormatFixed(static_cast<double>(volts), 6));
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
