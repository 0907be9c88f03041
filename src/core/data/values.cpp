#include "core/data/values.h"

#include <locale.h>

#include <algorithm>
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

// The instrument's over-range, under-range and error marks: "OF", "UF" or
// "E" anywhere in the text, found in one pass.
bool HasMark(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == 'E') return true;
    if (text[i] == 'F' && i > 0 && (text[i - 1] == 'O' || text[i - 1] == 'U')) return true;
  }
  return false;
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
// Below 10^15 every whole number is a double, and below 2^53 every whole double is exact.
constexpr int kMostExactDigits = 15;
constexpr double kExactWholeLimit = 9007199254740992.0;

// Reads a decimal text of at most 15 significant digits whose value is those
// digits times a power of ten from 10^-22 to 10^22: a whole number and a power
// of ten that doubles hold exactly, multiplied or divided once. IEEE arithmetic
// rounds that single step correctly, as strtod rounds the text, so both give
// the same double. The text ends where strtod stops reading; false for any
// other text (then the general readers decide).
bool ReadShortDecimal(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  if (end - p > 1 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) return false;
  unsigned long long digits = 0;
  int significant = 0;  // digits from the first that is not 0
  const char* const integerBegin = p;
  for (; p < end && IsDigit(*p); ++p) {
    digits = digits * 10 + static_cast<unsigned>(*p - '0');
    significant += digits != 0 ? 1 : 0;
    if (significant > kMostExactDigits) return false;
  }
  bool anyDigit = p != integerBegin;
  int scale = 0;  // decimals after the point, trailing zeros left out
  if (p < end && *p == '.') {
    const char* const fractionBegin = ++p;
    while (p < end && IsDigit(*p)) ++p;
    anyDigit = anyDigit || p != fractionBegin;
    const char* fractionEnd = p;
    while (fractionEnd > fractionBegin && fractionEnd[-1] == '0') --fractionEnd;
    for (const char* q = fractionBegin; q < fractionEnd; ++q) {
      digits = digits * 10 + static_cast<unsigned>(*q - '0');
      significant += digits != 0 ? 1 : 0;
      if (significant > kMostExactDigits) return false;
    }
    scale = static_cast<int>(fractionEnd - fractionBegin);
  }
  if (!anyDigit) return false;

  int exponent = 0;
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    const bool negativeExponent = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    // "1e" and "1e+" end before the e, as strtod reads them.
    for (; q < end && IsDigit(*q); ++q) {
      exponent = exponent * 10 + (*q - '0');
      if (exponent > 2 * kLargestExactPowerOfTen) return false;
    }
    if (negativeExponent) exponent = -exponent;
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
// the sign, at least one integer digit, and with any decimals the point;
// written from its last character back.
std::string FixedTextOfUnits(bool negative, unsigned long long units, int scale, int zeros) {
  char text[2 + 20 + 1 + kMaxToCharsDecimals + 1];
  char* const end = text + sizeof text;
  char* out = end;
  for (int i = 0; i < zeros; ++i) *--out = '0';
  for (int i = 0; i < scale; ++i, units /= 10) *--out = static_cast<char>('0' + units % 10);
  if (scale + zeros > 0) *--out = '.';
  do {
    *--out = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0);
  if (negative) *--out = '-';
  return std::string(out, end);
}

// Where "%.*f" of a finite magnitude is plainly the digits of a whole number:
// a whole value below 2^63 (its decimals are zeros; then `scale` is 0), or a
// value within 10^-3 of a whole number of 10^-decimals units below 2^51 (then
// `scale` is `decimals`). The product magnitude * 10^decimals is off by at
// most half an ulp (1/8), so the exact value is within 0.126 units of that
// whole number and rounds to it however printf breaks ties. The text then
// reads back as units / 10^scale exactly. false where this does not apply.
bool PlainFixedUnits(double magnitude, int decimals, unsigned long long& units, int& scale) {
  constexpr double kWholeLimit = 9223372036854775808.0;  // 2^63
  if (magnitude < kWholeLimit && magnitude == std::floor(magnitude)) {
    units = static_cast<unsigned long long>(magnitude);
    scale = 0;
    return true;
  }
  constexpr double kUnitsLimit = 2251799813685248.0;  // 2^51
  if (decimals > kMostExactDigits) return false;
  const double scaled = magnitude * kExactPowersOfTen[decimals];
  if (scaled >= kUnitsLimit) return false;
  const double nearest = std::nearbyint(scaled);
  if (std::fabs(scaled - nearest) >= 1e-3) return false;
  units = static_cast<unsigned long long>(nearest);
  scale = decimals;
  return true;
}

// atof of a text, which may hold a NUL where atof would stop.
double TextViewToDouble(std::string_view text) {
  double value = 0;
  if (ReadShortDecimal(text, value)) return value;
  if (FromCharsReadsLikeStrtod(text)) {
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec == std::errc()) return value;
  }
  // Blanks, signs, hexadecimal, infinities, NaN, values out of range.
  return strtod_l(std::string(text).c_str(), nullptr, CLocale());
}

// "%.0lf" of a text whose atof is `value`, in place.
void MakeWholeNumber(std::string& text, double value) {
  if (!IsPlainWholeNumber(text)) text = FormatFixed(value, 0);
}

void MakeWholeNumber(std::string& text) {
  if (!IsPlainWholeNumber(text)) text = FormatFixed(TextViewToDouble(text), 0);
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

double TextToDouble(const std::string& text) { return TextViewToDouble(text); }

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
    unsigned long long units = 0;
    int scale = 0;
    if (PlainFixedUnits(std::fabs(value), decimals, units, scale))
      return FixedTextOfUnits(std::signbit(value), units, scale, decimals - scale);
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

namespace {

// FormatThreeFigures of a text whose value after the sign is x, a finite number.
std::string ThreeFiguresOf(double x, bool negative) {
  double whole = std::floor(x);
  double fraction = x - std::floor(x);

  int digit[kIntegerDigitRoom];  // only digit[0..n) is ever read
  int n = 0;
  if (whole > 0 && whole < kExactWholeLimit) {
    // Below 2^53 the whole part is an exact integer, and floor(whole / 10) its
    // integer quotient, so integer digits are the same as the ones below.
    for (auto w = static_cast<unsigned long long>(whole); w != 0; w /= 10) digit[n++] = static_cast<int>(w % 10);
  } else if (whole > 0) {
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
    // Only the digits the rounding below reads: frac[0..3] beside integer
    // digits, else up to four past the first that is not 0. Each digit
    // depends only on those before it, so stopping there changes none.
    int limit = n > 0 ? std::min(n + 3, 4) : kMaxFractionDigitsBelowOne;
    while (fraction != 0 && m < limit && m < kFractionDigitRoom - 5) {
      frac[m] = static_cast<int>(fraction * 10);
      fraction = fraction * 10 - frac[m];
      if (n == 0 && frac[m] != 0 && limit == kMaxFractionDigitsBelowOne) limit = std::min(limit, m + 5);
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

  // The three figures kept, as a whole number of units of 10^-decimals: the
  // text FormatFixed writes of those units as a double (off by far less than
  // half a unit) is the same, so it is written from the integer at once.
  unsigned long long units = 0;
  int decimals = 0;
  if (n >= 4) {
    if (n > kMostExactDigits) {
      // Beyond 10^15 the kept double is written as it is, in all its digits.
      const double unit = std::pow(10.0, n - 3);
      double kept = (digit[n - 1] * 100.0 + digit[n - 2] * 10.0 + digit[n - 3]) * unit;
      if (digit[n - 4] >= 5) kept += unit;
      std::string result = FormatFixed(kept, 0);
      if (negative) result.insert(result.begin(), '-');
      return result;
    }
    units = static_cast<unsigned long long>(digit[n - 1] * 100 + digit[n - 2] * 10 + digit[n - 3] +
                                            (digit[n - 4] >= 5 ? 1 : 0));
    for (int i = 3; i < n; ++i) units *= 10;
  } else if (n == 3) {
    units = static_cast<unsigned long long>(digit[2] * 100 + digit[1] * 10 + digit[0] + (frac[0] >= 5 ? 1 : 0));
  } else if (n == 2) {
    units = static_cast<unsigned long long>(digit[1] * 100 + digit[0] * 10 + frac[0] + (frac[1] >= 5 ? 1 : 0));
    decimals = 1;
  } else if (n == 1) {
    units = static_cast<unsigned long long>(digit[0] * 100 + frac[0] * 10 + frac[1] + (frac[2] >= 5 ? 1 : 0));
    decimals = 2;
  } else {
    units = static_cast<unsigned long long>(frac[k] * 100 + frac[k + 1] * 10 + frac[k + 2] + (frac[k + 3] >= 5 ? 1 : 0));
    decimals = k + 3;
  }
  return FixedTextOfUnits(negative, units, decimals, 0);
}

// FormatThreeFigures(FormatFixed(value, decimals)) without the text between,
// where that text's value is known exactly (PlainFixedUnits).
std::string ThreeFiguresOfFixed(double value, int decimals) {
  unsigned long long units = 0;
  int scale = 0;
  if (std::isfinite(value) && decimals >= 0 && PlainFixedUnits(std::fabs(value), decimals, units, scale))
    return ThreeFiguresOf(static_cast<double>(units) / kExactPowersOfTen[scale], std::signbit(value));
  return FormatThreeFigures(FormatFixed(value, decimals));
}

}  // namespace

std::string FormatThreeFigures(std::string_view input) {
  std::string_view text = input;
  const bool negative = text.find('-') != std::string_view::npos;
  if (negative) text.remove_prefix(1);

  const double x = TextViewToDouble(text);
  // Infinity and NaN have no digits to round; they pass through as written.
  if (!std::isfinite(x)) return std::string(input);
  return ThreeFiguresOf(x, negative);
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
  char text[48];
  char* out = text;
  char digits[24];
  auto append = [&](long long value, const char* unit) {
    const char* first = WriteDigitsBackwards(digits + sizeof digits, static_cast<unsigned long long>(value));
    out = std::copy(first, static_cast<const char*>(digits + sizeof digits), out);
    for (; *unit != '\0'; ++unit) *out++ = *unit;
  };
  if (h > 0) append(h, "h");
  if (m > 0 || h > 0) append(m, "min");
  append(s, "s");
  return std::string(text, out);
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
        MakeWholeNumber(r);
      } else if (IsResistanceField(s)) {
        c = FormatFixed(TextToDouble(c) / 1e9, 15);
        MakeWholeNumber(r);
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
        const double value = TextToDouble(c);
        // The raw copy mostly holds the text just read.
        if (r == c) MakeWholeNumber(r, value); else MakeWholeNumber(r);
        c = ThreeFiguresOfFixed(value / scale, 6);
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
