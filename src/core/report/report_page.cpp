#include "core/report/report_page.h"

#include <cmath>

#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "core/graphs/graphs.h"

namespace qv70 {

namespace {

bool Blank(const std::string& text) { return text.empty() || text == " "; }

struct Unit {
  double divisor;
  const char* text;
};

constexpr Unit kResistanceUnits[] = {
    {1, " [Ohms]"}, {1e3, " [KOhms]"}, {1e6, " [MOhms]"}, {1e9, " [GOhms]"}, {1e12, " [TOhms]"}};
constexpr Unit kCurrentUnits[] = {{1e-3, " [pA]"}, {1, " [nA]"}, {1e3, " [uA]"}, {1e6, " [mA]"}, {1e9, " [A]"}};

// Graph divisors are products of powers of ten; compare them with some slack.
bool SameDivisor(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::fabs(b); }

template <size_t N>
const char* UnitOfDivisor(const Unit (&units)[N], double divisor, const char* otherwise) {
  for (const Unit& unit : units)
    if (SameDivisor(unit.divisor, divisor)) return unit.text;
  return otherwise;
}

// The largest unit whose divisor `value` reaches, the first unit below them all.
template <size_t N>
Unit ThresholdUnit(const Unit (&units)[N], double value) {
  Unit chosen = units[0];
  for (const Unit& unit : units)
    if (value >= unit.divisor) chosen = unit;
  return chosen;
}

std::string ThreeFigures(double value) { return FormatThreeFigures(FormatFixed(value, 6)); }

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text.compare(i, from.size(), from) == 0) {
      out += to;
      i += from.size();
    } else {
      out += text[i++];
    }
  }
  text = std::move(out);
}

std::string WithUnitUnlessBlank(const std::string& text, const char* unit) {
  return Blank(text) ? std::string() : text + unit;
}

std::string VoltageUnlessBlank(const std::string& blankTest, const std::string& volts) {
  return Blank(blankTest) ? std::string() : ReportVoltageText(volts);
}

std::string ResistanceUnlessBlank(const std::string& converted, const std::string& raw, UnitMode mode,
                                  ZeroRule zero = ZeroRule::ZeroOhms) {
  return Blank(converted) ? std::string() : ReportResistanceText(converted, raw, mode, zero);
}

UnitMode ModeFor(bool chartMode, double divisor) {
  return chartMode ? UnitMode::Chart(divisor) : UnitMode::Threshold();
}

// Collects a page's texts, blanking those whose item is not ticked.
class TextList {
 public:
  explicit TextList(const ReportSettings& settings) : settings_(settings) {}
  void Add(const char* name, std::string value) { texts_.push_back({name, std::move(value)}); }
  void AddItem(const char* name, int item, std::string value) {
    Add(name, settings_.ItemTicked(item) ? std::move(value) : std::string());
  }
  std::vector<PageText> Take() { return std::move(texts_); }

 private:
  const ReportSettings& settings_;
  std::vector<PageText> texts_;
};

std::string DefaultDataName(const PageSource& source) {
  if (source.kind == PageKind::Logging) return FormatText("(%s%d)", "L", source.set);
  const char letter[] = {GroupLetter(source.group), '\0'};
  return FormatText("(%s%d)", letter, source.record);
}

void AddHeaderTexts(TextList& list, const PageSource& source, const ReportSettings& settings,
                    const RecordTables& tables) {
  list.Add("title", "Report with QV70");
  list.Add("data-name", settings.header.dataName.empty() ? DefaultDataName(source) : settings.header.dataName);
  list.Add("date", settings.header.time);
  list.Add("author", settings.header.author);
  list.Add("comment", settings.commentText);
  list.Add("serial", tables.info.serialNumber);
}

void AddLoggingTexts(TextList& list, int set, const ReportSettings& settings, const RecordTables& tables,
                     double chartDivisor) {
  auto raw = [&](int f) -> const std::string& { return tables.Header(RecordCopy::Raw, set, f); };
  auto converted = [&](int f) -> const std::string& { return tables.Header(RecordCopy::Converted, set, f); };
  const int last = tables.sampleCount[set] - 1;
  auto rawSample = [&](int f) -> const std::string& { return tables.Sample(RecordCopy::Raw, set, last, f); };
  auto convSample = [&](int f) -> const std::string& {
    return tables.Sample(RecordCopy::Converted, set, last, f);
  };
  const bool resistanceGraph = settings.loggingGraphKind == GraphKind::Resistance;

  list.Add("record-date", raw(header::kDate));
  list.Add("record-time", raw(header::kTime));
  list.Add("test-method", "Logging Data");
  list.AddItem("temperature", 30, WithUnitUnlessBlank(converted(header::kTemperature), " [C]"));
  list.AddItem("humidity", 31, WithUnitUnlessBlank(converted(header::kHumidity), " [%rh]"));
  list.AddItem("interval", 28, LoggingIntervalText(raw(header::kInterval)));
  list.AddItem("set-voltage", 29, VoltageUnlessBlank(raw(header::kSetVoltage), raw(header::kSetVoltage)));
  list.Add("output-voltage",
           VoltageUnlessBlank(rawSample(sample::kOutputVoltage), rawSample(sample::kOutputVoltage)));
  const std::string& resistance = convSample(sample::kResistance);
  const bool noResistance = Blank(resistance);
  list.Add("resistance", noResistance ? std::string()
                                      : ReportResistanceText(resistance, rawSample(sample::kResistance),
                                                             ModeFor(resistanceGraph, chartDivisor)));
  list.Add("leak-current", noResistance ? std::string()
                                        : LeakCurrentText(convSample(sample::kOutputVoltage), resistance,
                                                          ModeFor(!resistanceGraph, chartDivisor)));
  list.Add("data-number", FormatText("%d", tables.sampleCount[set]));
}

// Record date, record time and test method, common to the manual kinds.
void AddRecordStart(TextList& list, const ManualRecord& converted, const char* method) {
  list.Add("record-date", converted[field::kDate]);
  list.Add("record-time", converted[field::kTime]);
  list.Add("test-method", method);
}

void AddClimate(TextList& list, const ManualRecord& converted, int temperatureItem, int humidityItem) {
  list.AddItem("temperature", temperatureItem, WithUnitUnlessBlank(converted[field::kTemperature], " [C]"));
  list.AddItem("humidity", humidityItem, WithUnitUnlessBlank(converted[field::kHumidity], " [%rh]"));
}

// The main resistance with its leak current, both empty without a resistance.
struct MainResistance {
  std::string resistance;
  std::string current;
};

MainResistance MainResistanceTexts(const ManualRecord& raw, const ManualRecord& converted, int voltageField,
                                   int resistanceField, UnitMode resistanceMode, UnitMode currentMode) {
  const std::string& resistance = converted[static_cast<size_t>(resistanceField)];
  if (Blank(resistance)) return {};
  return {ReportResistanceText(resistance, raw[static_cast<size_t>(resistanceField)], resistanceMode),
          LeakCurrentText(converted[static_cast<size_t>(voltageField)], resistance, currentMode)};
}

// Unlike the resistances, a PI time has no blank rule: an absent time reads as 0.
std::string MinutesText(const std::string& converted) { return FormatThreeFigures(converted) + " [min]"; }

void AddNormalTexts(TextList& list, const ManualRecord& raw, const ManualRecord& c, ZeroRule secondaryZero) {
  const UnitMode threshold = UnitMode::Threshold();
  auto resistance = [&](int f) { return ResistanceUnlessBlank(c[f], raw[f], threshold, secondaryZero); };
  AddRecordStart(list, c, "Normal Test");
  AddClimate(list, c, 1, 2);
  list.AddItem("test-time", 0, ReportElapsedText(c[field::kElapsed]));
  list.AddItem("set-voltage", 3, VoltageUnlessBlank(raw[field::kSetVoltage], raw[field::kSetVoltage]));
  list.AddItem("output-voltage", 4, VoltageUnlessBlank(raw[field::kOutputVoltage], raw[field::kOutputVoltage]));
  MainResistance main = MainResistanceTexts(raw, c, field::kOutputVoltage, field::kResistance, threshold, threshold);
  list.AddItem("resistance", 5, std::move(main.resistance));
  list.AddItem("leak-current", 6, std::move(main.current));
  list.AddItem("dar15", 7, c[field::kDar15s]);
  list.AddItem("resistance-1min-a", 8, resistance(field::kRes1min));
  list.AddItem("resistance-15s", 8, resistance(field::kRes15s));
  list.AddItem("dar30", 9, c[field::kDar30s]);
  list.AddItem("resistance-1min-b", 10, resistance(field::kRes1min));
  list.AddItem("resistance-30s", 10, resistance(field::kRes30s));
  list.AddItem("pi", 11, c[field::kPi]);
  list.AddItem("t2", 12, MinutesText(c[field::kT2]));
  list.AddItem("t1", 12, MinutesText(c[field::kT1]));
  list.AddItem("resistance-t2", 13, resistance(field::kT2Resistance));
  list.AddItem("resistance-t1", 13, resistance(field::kT1Resistance));
}

void AddTcTexts(TextList& list, const ManualRecord& raw, const ManualRecord& c) {
  const UnitMode threshold = UnitMode::Threshold();
  AddRecordStart(list, c, "TC Test");
  AddClimate(list, c, 15, 16);
  list.AddItem("test-time", 14, ReportElapsedText(c[field::kElapsed]));
  list.AddItem("set-voltage", 22, VoltageUnlessBlank(c[field::kSetVoltage], raw[field::kSetVoltage]));
  list.AddItem("output-voltage", 17, VoltageUnlessBlank(c[field::kOutputVoltage], raw[field::kOutputVoltage]));
  MainResistance main = MainResistanceTexts(raw, c, field::kOutputVoltage, field::kResistance, threshold, threshold);
  list.AddItem("resistance", 18, std::move(main.resistance));
  list.AddItem("leak-current", 23, std::move(main.current));
  list.AddItem("table-no", 19, c[field::kTableNo]);
  list.AddItem("ref-temperature", 20, WithUnitUnlessBlank(c[field::kRefTemperature], " [C]"));
  list.AddItem("tc-resistance", 21, ResistanceUnlessBlank(c[field::kTcResistance], raw[field::kTcResistance], threshold));
}

constexpr const char* kStepTextNames[5][2] = {{"step1-voltage", "step1-resistance"},
                                              {"step2-voltage", "step2-resistance"},
                                              {"step3-voltage", "step3-resistance"},
                                              {"step4-voltage", "step4-resistance"},
                                              {"step5-voltage", "step5-resistance"}};

void AddStepTexts(TextList& list, const ManualRecord& raw, const ManualRecord& c, GraphKind graph,
                  double chartDivisor, ZeroRule stepZero) {
  const UnitMode resistanceMode = ModeFor(graph == GraphKind::Resistance, chartDivisor);
  const UnitMode currentMode = ModeFor(graph == GraphKind::LeakCurrent, chartDivisor);
  constexpr int kStep5Voltage = field::kStep1Voltage + 8;
  AddRecordStart(list, c, "Step Voltage Test");
  AddClimate(list, c, 26, 27);
  list.AddItem("step-interval", 24, ReportElapsedText(c[field::kStepInterval]));
  list.AddItem("set-voltage", 25, VoltageUnlessBlank(c[field::kSetVoltage], raw[field::kSetVoltage]));
  list.Add("output-voltage", VoltageUnlessBlank(c[kStep5Voltage], raw[kStep5Voltage]));
  MainResistance main = MainResistanceTexts(raw, c, kStep5Voltage, kStep5Voltage + 1, resistanceMode, currentMode);
  list.Add("resistance", std::move(main.resistance));
  list.Add("leak-current", std::move(main.current));
  for (int step = 0; step < 5; ++step) {
    const int voltage = field::kStep1Voltage + 2 * step;
    list.Add(kStepTextNames[step][0], VoltageUnlessBlank(c[voltage], raw[voltage]));
    list.Add(kStepTextNames[step][1],
             ResistanceUnlessBlank(c[voltage + 1], raw[voltage + 1], resistanceMode, stepZero));
  }
}

void AddRecordPages(std::vector<PageSource>& pages, PageKind kind, TestType type, const ReportSettings& settings,
                    const RecordTables& tables) {
  for (int g = 0; g < kGroupCount; ++g) {
    if (!settings.selectedSets[g]) continue;
    // Every slot, whatever the count: the type text alone decides.
    for (int r = 0; r < kRecordsPerGroup; ++r)
      if (tables.Manual(RecordCopy::Converted, g, r, field::kTestType) == TestTypeText(type))
        pages.push_back({kind, -1, g, r});
  }
}

double FillChart(ChartCtrl& chart, const PageSource& source, const ReportSettings& settings,
                 const RecordTables& tables) {
  if (source.kind == PageKind::Logging)
    return settings.loggingGraphKind == GraphKind::Resistance
               ? PrepareLoggingResistanceChart(chart, tables, source.set)
               : PrepareLoggingCurrentChart(chart, tables, source.set);
  return settings.stepGraphKind == GraphKind::Resistance
             ? PrepareStepResistanceChart(chart, tables, source.group, source.record)
             : PrepareStepCurrentChart(chart, tables, source.group, source.record);
}

int FirstPageNumber(const ReportSettings& settings, PageTexts texts) {
  if (!settings.pageNumberOn) return kUnprintedPageNumber;
  return TextToInt(texts == PageTexts::Rtf ? settings.startPageText : settings.header.startPage);
}

}  // namespace

const std::string& ReportPage::Text(std::string_view name) const {
  static const std::string kNone;
  for (const PageText& text : texts)
    if (name == text.name) return text.value;
  return kNone;
}

std::string ReportVoltageText(const std::string& volts) {
  const float v = static_cast<float>(TextToDouble(volts));
  if (v >= 1000) return FormatThreeFigures(FormatFixed(static_cast<double>(v / 1000), 6)) + " [kV]";
  return FormatText("%.0f", static_cast<double>(v)) + " [V]";
}

std::string ReportResistanceText(const std::string& converted, const std::string& raw, UnitMode mode,
                                 ZeroRule zero) {
  if (converted == "OF") return "OF";
  if (zero == ZeroRule::ZeroOhms && TextToDouble(converted) == 0) return "0.00 [Ohms]";
  const double x = TextToDouble(raw);
  const Unit unit = mode.chart ? Unit{mode.divisor, UnitOfDivisor(kResistanceUnits, mode.divisor, " [Ohms]")}
                               : ThresholdUnit(kResistanceUnits, x);
  const double y = x / unit.divisor;
  const std::string_view unitText = unit.text;
  // Below 5 kOhms the instrument's figures carry no meaning.
  if (unitText == " [Ohms]" || (unitText == " [KOhms]" && y < 5)) return FormatText("0.00%s", unit.text);
  return ThreeFigures(y) + unit.text;
}

std::string ReportCurrentText(const std::string& kiloVolts, const std::string& gigaOhms, UnitMode mode) {
  const double nanoAmperes = TextToDouble(kiloVolts) / TextToDouble(gigaOhms) * 1000;
  const Unit unit = mode.chart ? Unit{mode.divisor, UnitOfDivisor(kCurrentUnits, mode.divisor, " [nA]")}
                    : nanoAmperes < 1 ? kCurrentUnits[0]
                                      : ThresholdUnit(kCurrentUnits, nanoAmperes);
  return ThreeFigures(nanoAmperes / unit.divisor) + unit.text;
}

std::string LeakCurrentText(const std::string& kiloVolts, const std::string& gigaOhms, UnitMode mode) {
  if (gigaOhms == "OF") return "UF";
  if (TextToDouble(gigaOhms) == 0) return "OF";
  return ReportCurrentText(kiloVolts, gigaOhms, mode);
}

std::string ReportElapsedText(std::string_view elapsed) {
  std::string text(elapsed);
  ReplaceAll(text, "h", " [h]");
  ReplaceAll(text, "min", " [min]");
  ReplaceAll(text, "s", " [s]");
  return text;
}

std::string LoggingIntervalText(const std::string& seconds) {
  const int n = TextToInt(seconds);
  const int minutes = n > 0 ? n / 60 : n;
  return minutes < 1 ? FormatText("%d [s]", n) : FormatText("%d [min]", minutes);
}

std::vector<PageSource> EnumeratePages(const ReportSettings& settings, const RecordTables& tables) {
  std::vector<PageSource> pages;
  if (settings.loggingCount != 0)
    for (int s = 0; s < kSetCount; ++s)
      if (settings.selectedSets[kGroupCount + s]) pages.push_back({PageKind::Logging, s, -1, -1});
  if (settings.normalCount != 0) AddRecordPages(pages, PageKind::Normal, TestType::Normal, settings, tables);
  if (settings.tcCount != 0) AddRecordPages(pages, PageKind::TC, TestType::TC, settings, tables);
  if (settings.stepCount != 0) AddRecordPages(pages, PageKind::Step, TestType::StepVoltage, settings, tables);
  return pages;
}

int PageCount(const ReportSettings& settings, const RecordTables& tables) {
  return static_cast<int>(EnumeratePages(settings, tables).size());
}

std::optional<ReportPage> BuildPage(int pageIndex, const ReportSettings& settings, const RecordTables& tables,
                                    ChartCtrl& chart, PageTexts texts) {
  const std::vector<PageSource> pages = EnumeratePages(settings, tables);
  if (pageIndex < 1 || pageIndex > static_cast<int>(pages.size())) return std::nullopt;
  const PageSource& source = pages[static_cast<size_t>(pageIndex - 1)];
  // A set emptied since Finish has no last sample to print and no graph.
  if (source.kind == PageKind::Logging && tables.sampleCount[source.set] < 1) return std::nullopt;

  ReportPage page;
  page.source = source;
  page.pageIndex = pageIndex;
  const long long number = static_cast<long long>(FirstPageNumber(settings, texts)) + pageIndex - 1;
  page.pageNumber = number >= kUnprintedPageNumber ? kUnprintedPageNumber : static_cast<int>(number);
  page.chartKind = source.kind == PageKind::Logging ? settings.loggingGraphKind : settings.stepGraphKind;

  const bool hasGraph = source.kind == PageKind::Logging || source.kind == PageKind::Step;
  const double divisor = hasGraph ? FillChart(chart, source, settings, tables) : 1;

  TextList list(settings);
  AddHeaderTexts(list, source, settings, tables);
  if (source.kind == PageKind::Logging) {
    AddLoggingTexts(list, source.set, settings, tables, divisor);
  } else {
    const ManualRecord& raw = tables.Record(RecordCopy::Raw, source.group, source.record);
    const ManualRecord& converted = tables.Record(RecordCopy::Converted, source.group, source.record);
    const ZeroRule secondaryZero = texts == PageTexts::Rtf ? ZeroRule::FromRaw : ZeroRule::ZeroOhms;
    if (source.kind == PageKind::Normal) AddNormalTexts(list, raw, converted, secondaryZero);
    if (source.kind == PageKind::TC) AddTcTexts(list, raw, converted);
    if (source.kind == PageKind::Step)
      AddStepTexts(list, raw, converted, settings.stepGraphKind, divisor, secondaryZero);
  }
  page.texts = list.Take();
  for (PageText& text : page.texts) text.value = ApplyDecimalSymbol(text.value, tables.decimalChar);
  return page;
}

}  // namespace qv70
