#pragma once

#include <string>
#include <string_view>

namespace qv70 {

class RecordTables;

// Rounds a decimal text (optionally with a minus sign) to three significant
// figures: 1234 -> "1230", 45 -> "45.0", 0.25 -> "0.250", "" -> "0.000".
std::string FormatThreeFigures(std::string_view text);

// Minute form for manual records: 75 -> "1min15s", 0 -> "0s", negative -> "".
std::string FormatElapsedMinutes(int seconds);
// Hour form for logging samples: 3630 -> "1h0min30s"; zero or negative -> "".
std::string FormatElapsedHours(long long seconds);

// Converts one manual record in place, in the raw and the converted copy: base
// units in the raw copy, kV, GOhm, elapsed texts and three figures in the
// converted copy. Marked values ("OF", "UF", "E") are left as they are, and
// then every converted field holding a capital E is emptied.
void ConvertManualRecord(RecordTables& tables, int group, int record);

// Converts header fields 5 to 7 and the voltage and resistance of the set's
// samples below its count, in both copies.
void ConvertLoggingSet(RecordTables& tables, int set);

// Fills date, time and elapsed text of samples 0 .. count - 1 of `set` in both
// copies: sample i lies (i + 1) intervals after the start, in local time.
void ComputeSampleTimes(RecordTables& tables, const std::string& startDate,
                        const std::string& startTime, int set, int intervalSeconds);

// The two unit switches of the logging information panel. Each rewrites the
// converted header field of `set` and returns the unit to show beside it.
// Set voltage: "kV" at 1000 V or more, else " V".
std::string ApplySetVoltageUnit(RecordTables& tables, int set);
// Test interval: "min" when it is a minute or more, else "s".
std::string ApplyTestIntervalUnit(RecordTables& tables, int set);

// atof of the text in the "C" locale, as the instrument texts are read
// everywhere; plain decimal texts go through std::from_chars, which reads them
// to the same double.
double TextToDouble(const std::string& text);
int TextToInt(const std::string& text);

// "%.*f" of `value` with `decimals` digits, as printf writes it in the "C"
// locale ("%lf" is FormatFixed(value, 6)); written by std::to_chars.
std::string FormatFixed(double value, int decimals);

// printf-style formatting into a std::string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace qv70
