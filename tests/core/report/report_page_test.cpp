// Report page content: the text rules with the units they choose, the page
// list with its numbering, and whole pages built from converted downloads.
#include "core/report/report_page.h"

#include <gtest/gtest.h>

#include <map>

#include "core/chart/chart_ctrl.h"
#include "core/data/values.h"
#include "core/graphs/graph_tables.h"
#include "core/report/report_test_support.h"

namespace qv70 {
namespace {

using test::kNormal;
using test::kTc;
using test::Selected;
using test::Ticked;

struct TextRow {
  const char* name;
  std::string got;
  std::string want;
};

void PrintTo(const TextRow& row, std::ostream* os) { *os << row.name; }

class TextRuleTest : public testing::TestWithParam<TextRow> {};
TEST_P(TextRuleTest, GivesText) { EXPECT_EQ(GetParam().got, GetParam().want); }

const UnitMode kThreshold = UnitMode::Threshold();

INSTANTIATE_TEST_SUITE_P(
    Voltage, TextRuleTest,
    testing::Values(TextRow{"500V", ReportVoltageText("500"), "500 [V]"},
                    TextRow{"999.6V_rounds_in_volts", ReportVoltageText("999.6"), "1000 [V]"},
                    TextRow{"999.99999V_is_1000_in_single_precision", ReportVoltageText("999.99999"), "1.00 [kV]"},
                    TextRow{"1000V", ReportVoltageText("1000"), "1.00 [kV]"},
                    TextRow{"2500V", ReportVoltageText("2500"), "2.50 [kV]"},
                    TextRow{"not_a_number", ReportVoltageText("x"), "0 [V]"}));

INSTANTIATE_TEST_SUITE_P(
    Resistance, TextRuleTest,
    testing::Values(
        TextRow{"OF", ReportResistanceText("OF", "OF", kThreshold), "OF"},
        TextRow{"converted_zero", ReportResistanceText("0.000000000000000", "0", kThreshold), "0.00 [Ohms]"},
        TextRow{"converted_not_a_number", ReportResistanceText("UF", "5000000", kThreshold), "0.00 [Ohms]"},
        TextRow{"999_Ohms", ReportResistanceText("0.000000999", "999", kThreshold), "0.00 [Ohms]"},
        TextRow{"4700_Ohms", ReportResistanceText("0.0000047", "4700", kThreshold), "0.00 [KOhms]"},
        TextRow{"5000_Ohms", ReportResistanceText("0.000005", "5000", kThreshold), "5.00 [KOhms]"},
        TextRow{"123456_Ohms", ReportResistanceText("0.000123456", "123456", kThreshold), "123 [KOhms]"},
        TextRow{"2.5_GOhms", ReportResistanceText("2.5", "2500000000", kThreshold), "2.50 [GOhms]"},
        TextRow{"4_TOhms", ReportResistanceText("4000", "4000000000000", kThreshold), "4.00 [TOhms]"},
        TextRow{"50_KOhms_on_MOhms_chart", ReportResistanceText("0.00005", "50000", UnitMode::Chart(1e6)),
                "0.0500 [MOhms]"},
        TextRow{"4700_Ohms_on_KOhms_chart", ReportResistanceText("0.0000047", "4700", UnitMode::Chart(1e3)),
                "0.00 [KOhms]"},
        TextRow{"2.5_GOhms_on_Ohms_chart", ReportResistanceText("2.5", "2500000000", UnitMode::Chart(1)),
                "0.00 [Ohms]"},
        TextRow{"2.5_GOhms_on_TOhms_chart", ReportResistanceText("2.5", "2500000000", UnitMode::Chart(1e12)),
                "0.00250 [TOhms]"}));

INSTANTIATE_TEST_SUITE_P(
    Current, TextRuleTest,
    testing::Values(TextRow{"1kV_over_2GOhms", ReportCurrentText("1.0", "2.0", kThreshold), "500 [nA]"},
                    TextRow{"1kV_over_4TOhms", ReportCurrentText("1.0", "4000", kThreshold), "250 [pA]"},
                    TextRow{"1kV_over_1GOhms", ReportCurrentText("1.0", "1", kThreshold), "1.00 [uA]"},
                    TextRow{"1kV_over_0.5MOhms", ReportCurrentText("1.0", "0.0005", kThreshold), "2.00 [mA]"},
                    TextRow{"5kV_over_1KOhms", ReportCurrentText("5.0", "0.000001", kThreshold), "5.00 [A]"},
                    TextRow{"1kV_over_1TOhms", ReportCurrentText("1.0", "1000", kThreshold), "1.00 [nA]"},
                    TextRow{"500nA_on_uA_chart", ReportCurrentText("1.0", "2.0", UnitMode::Chart(1e3)),
                            "0.500 [uA]"},
                    TextRow{"500nA_on_pA_chart", ReportCurrentText("1.0", "2.0", UnitMode::Chart(1e-3)),
                            "500000 [pA]"},
                    TextRow{"companion_of_OF", LeakCurrentText("1.0", "OF", kThreshold), "UF"},
                    TextRow{"companion_of_zero", LeakCurrentText("1.0", "0.000000000000000", kThreshold), "OF"},
                    TextRow{"companion_of_2GOhms", LeakCurrentText("1.0", "2.0", kThreshold), "500 [nA]"}));

INSTANTIATE_TEST_SUITE_P(
    Times, TextRuleTest,
    testing::Values(TextRow{"10min0s", ReportElapsedText("10min0s"), "10 [min]0 [s]"},
                    TextRow{"1h0min30s", ReportElapsedText("1h0min30s"), "1 [h]0 [min]30 [s]"},
                    TextRow{"empty_elapsed", ReportElapsedText(""), ""},
                    TextRow{"interval_0", LoggingIntervalText("0"), "0 [s]"},
                    TextRow{"interval_59", LoggingIntervalText("59"), "59 [s]"},
                    TextRow{"interval_60", LoggingIntervalText("60"), "1 [min]"},
                    TextRow{"interval_150", LoggingIntervalText("150"), "2 [min]"},
                    TextRow{"interval_negative", LoggingIntervalText("-5"), "-5 [s]"}));

// A manual record as the instrument sends it, converted as a download does.
void PutRecord(RecordTables& tables, int group, int record, const std::map<int, std::string>& fields) {
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted})
    for (const auto& [f, value] : fields) tables.Manual(copy, group, record, f) = value;
  tables.recordCount[static_cast<size_t>(group)] = std::max(tables.recordCount[static_cast<size_t>(group)], 1);
  ConvertManualRecord(tables, group, record);
}

ReportSettings AllKinds(DataSelection selected) {
  ReportSettings settings;
  settings.selectedSets = selected;
  settings.loggingCount = settings.normalCount = settings.tcCount = settings.stepCount = 1;
  settings.itemFlags = std::string(kItemFlagCount, '1');
  return settings;
}

constexpr int kGroupA = 0, kGroupB = 1, kSetLr1 = 11;

std::string Describe(const std::vector<PageSource>& pages) {
  std::string text;
  for (const PageSource& p : pages) {
    const char* kinds[] = {"L", "N", "T", "S"};
    text += kinds[static_cast<int>(p.kind)];
    text += p.kind == PageKind::Logging ? std::to_string(p.set)
                                        : std::string(1, GroupLetter(p.group)) + std::to_string(p.record);
    text += ' ';
  }
  return text;
}

struct OrderRow {
  const char* name;
  DataSelection selected;
  int normalCount;
  std::string want;
};

void PrintTo(const OrderRow& row, std::ostream* os) { *os << row.name; }

class PageOrderTest : public testing::TestWithParam<OrderRow> {};

TEST_P(PageOrderTest, ListsPagesInPrintOrder) {
  RecordTables tables;
  PutRecord(tables, kGroupA, 2, {{field::kTestType, kNormal}});
  PutRecord(tables, kGroupA, 5, {{field::kTestType, kTc}});
  PutRecord(tables, kGroupB, 0, {{field::kTestType, kNormal}});
  // Slot 9 beyond the group's count of 1 still holds a page.
  PutRecord(tables, kGroupB, 9, {{field::kTestType, "Step Voltage Test"}});
  PutRecord(tables, kGroupB, 3, {{field::kTestType, "Normal test"}});
  test::PutLoggingSet(tables, 1, "60", test::SameSamples(3, "1000", "2000000000"));
  ReportSettings settings = AllKinds(GetParam().selected);
  settings.normalCount = GetParam().normalCount;
  EXPECT_EQ(Describe(EnumeratePages(settings, tables)), GetParam().want);
  EXPECT_EQ(PageCount(settings, tables), static_cast<int>(EnumeratePages(settings, tables).size()));
}

INSTANTIATE_TEST_SUITE_P(
    Selections, PageOrderTest,
    testing::Values(OrderRow{"A_and_Lr1", Selected({kGroupA, kSetLr1}), 1, "L1 NA2 TA5 "},
                    OrderRow{"A_B_and_Lr1", Selected({kGroupA, kGroupB, kSetLr1}), 1, "L1 NA2 NB0 TA5 SB9 "},
                    OrderRow{"B_only", Selected({kGroupB}), 1, "NB0 SB9 "},
                    OrderRow{"no_normal_pages_counted", Selected({kGroupA, kGroupB}), 0, "TA5 SB9 "},
                    OrderRow{"nothing", Selected({}), 1, ""}));

struct NumberRow {
  const char* name;
  bool numberingOn;
  std::string startPage;
  std::vector<int> wantNumbers;  // -1: not printed
};

void PrintTo(const NumberRow& row, std::ostream* os) { *os << row.name; }

class PageNumberTest : public testing::TestWithParam<NumberRow> {};

TEST_P(PageNumberTest, NumbersFromStartPage) {
  RecordTables tables;
  for (int r = 0; r < 3; ++r) PutRecord(tables, kGroupA, r, {{field::kTestType, kNormal}});
  ReportSettings settings = AllKinds(Selected({kGroupA}));
  settings.pageNumberOn = GetParam().numberingOn;
  settings.header.startPage = GetParam().startPage;
  ChartCtrl chart;
  std::vector<int> numbers;
  for (int index = 1; index <= 3; ++index) {
    const std::optional<ReportPage> page = BuildPage(index, settings, tables, chart);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->pageIndex, index);
    numbers.push_back(page->NumberPrinted() ? page->pageNumber : -1);
  }
  EXPECT_EQ(numbers, GetParam().wantNumbers);
}

INSTANTIATE_TEST_SUITE_P(Numbering, PageNumberTest,
                         testing::Values(NumberRow{"start_7", true, "7", {7, 8, 9}},
                                         NumberRow{"start_1", true, "1", {1, 2, 3}},
                                         NumberRow{"start_99997", true, "99997", {99997, 99998, -1}},
                                         NumberRow{"numbering_off", false, "7", {-1, -1, -1}}));

TEST(BuildPageTest, GivesNoPageOutsideTheListOrForAnEmptiedSet) {
  RecordTables tables;
  PutRecord(tables, kGroupA, 0, {{field::kTestType, kNormal}});
  test::PutLoggingSet(tables, 1, "60", test::SameSamples(3, "1000", "2000000000"));
  const ReportSettings settings = AllKinds(Selected({kGroupA, kSetLr1}));
  ChartCtrl chart;
  EXPECT_FALSE(BuildPage(0, settings, tables, chart));
  EXPECT_FALSE(BuildPage(3, settings, tables, chart));
  ASSERT_TRUE(BuildPage(1, settings, tables, chart));
  tables.sampleCount[1] = 0;  // the set was emptied after Finish
  EXPECT_FALSE(BuildPage(1, settings, tables, chart));
  ASSERT_TRUE(BuildPage(2, settings, tables, chart));
  EXPECT_EQ(BuildPage(2, settings, tables, chart)->Text("test-method"), "Normal Test");
}

const std::map<int, std::string> kNormalRecord = {
    {field::kTestType, kNormal},          {field::kDate, "2024/05/06"},       {field::kTime, "10:11:12"},
    {field::kElapsed, "600"},             {field::kTemperature, "23.4"},      {field::kHumidity, "45"},
    {field::kSetVoltage, "1000"},         {field::kOutputVoltage, "1000"},    {field::kResistance, "2000000000"},
    {field::kRes15s, "4700"},             {field::kRes30s, "OF"},             {field::kRes1min, "2500000000"},
    {field::kDar15s, "1.25"},             {field::kDar30s, "1.5"},            {field::kT1, "1"},
    {field::kT1Resistance, "999"},        {field::kT2, "10"},                 {field::kT2Resistance, "0"},
    {field::kPi, "2.5"}};

struct NormalRow {
  const char* name;
  std::string itemFlags;
  std::string decimalChar;
  std::map<std::string, std::string> want;
  std::map<int, std::string> recordChanges = {};
};

void PrintTo(const NormalRow& row, std::ostream* os) { *os << row.name; }

class NormalPageTest : public testing::TestWithParam<NormalRow> {};

TEST_P(NormalPageTest, FillsTexts) {
  RecordTables tables;
  tables.decimalChar = GetParam().decimalChar;
  tables.info.serialNumber = "SN.1,2";
  std::map<int, std::string> record = kNormalRecord;
  for (const auto& [field, text] : GetParam().recordChanges) record[field] = text;
  PutRecord(tables, kGroupA, 3, record);
  ReportSettings settings = AllKinds(Selected({kGroupA}));
  settings.itemFlags = GetParam().itemFlags;
  settings.commentText = "a.b, c";
  settings.header.author = "Ann";
  ChartCtrl chart;
  const std::optional<ReportPage> page = BuildPage(1, settings, tables, chart);
  ASSERT_TRUE(page);
  for (const auto& [name, want] : GetParam().want) EXPECT_EQ(page->Text(name), want) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Items, NormalPageTest,
    testing::Values(
        NormalRow{"all_ticked_period",
                  std::string(kItemFlagCount, '1'),
                  ".",
                  {{"title", "Report with QV70"},
                   {"data-name", "(A3)"}, {"author", "Ann"}, {"comment", "a.b. c"}, {"serial", "SN.1.2"},
                   {"record-date", "2024/05/06"}, {"test-method", "Normal Test"}, {"temperature", "23.4 [C]"},
                   {"humidity", "45.0 [%rh]"}, {"test-time", "10 [min]0 [s]"}, {"set-voltage", "1.00 [kV]"},
                   {"output-voltage", "1.00 [kV]"}, {"resistance", "2.00 [GOhms]"},
                   {"leak-current", "500 [nA]"}, {"dar15", "1.25"}, {"resistance-1min-a", "2.50 [GOhms]"},
                   {"resistance-15s", "0.00 [KOhms]"}, {"resistance-1min-b", "2.50 [GOhms]"},
                   {"resistance-30s", "OF"}, {"pi", "2.50"}, {"t2", "10.0 [min]"}, {"t1", "1.00 [min]"},
                   {"resistance-t2", "0.00 [Ohms]"}, {"resistance-t1", "0.00 [Ohms]"}}},
        NormalRow{"all_ticked_comma",
                  std::string(kItemFlagCount, '1'),
                  ",",
                  {{"comment", "a,b, c"},
                   {"serial", "SN,1,2"}, {"temperature", "23,4 [C]"}, {"set-voltage", "1,00 [kV]"},
                   {"resistance", "2,00 [GOhms]"}}},
        NormalRow{"only_resistance_ticked",
                  Ticked({5}),
                  ".",
                  {{"record-date", "2024/05/06"},
                   {"temperature", ""}, {"test-time", ""}, {"set-voltage", ""}, {"resistance", "2.00 [GOhms]"},
                   {"leak-current", ""}, {"resistance-1min-a", ""}, {"t2", ""}}},
        // Times are not resistances: no blank rule, an absent time reads as 0.
        NormalRow{"t1_empty_t2_error_mark",
                  std::string(kItemFlagCount, '1'),
                  ".",
                  {{"t2", "0.000 [min]"}, {"t1", "0.000 [min]"}, {"resistance-t2", "0.00 [Ohms]"}},
                  {{field::kT1, ""}, {field::kT2, "E"}}}));

TEST(NormalPageTest, BlankResistanceEmptiesItsLeakCurrent) {
  RecordTables tables;
  std::map<int, std::string> record = kNormalRecord;
  record[field::kResistance] = "E";  // an error mark, emptied by the conversion
  PutRecord(tables, kGroupA, 0, record);
  ChartCtrl chart;
  const std::optional<ReportPage> page = BuildPage(1, AllKinds(Selected({kGroupA})), tables, chart);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->Text("resistance"), "");
  EXPECT_EQ(page->Text("leak-current"), "");
  EXPECT_EQ(page->Text("resistance-1min-a"), "2.50 [GOhms]");
}

TEST(TcPageTest, FillsTexts) {
  RecordTables tables;
  PutRecord(tables, kGroupB, 4,
            {{field::kTestType, kTc}, {field::kElapsed, "75"}, {field::kSetVoltage, "500"},
             {field::kOutputVoltage, "1000"}, {field::kResistance, "OF"}, {field::kTableNo, "3"},
             {field::kRefTemperature, "20"}, {field::kTcResistance, "123456"}});
  ChartCtrl chart;
  const std::optional<ReportPage> page = BuildPage(1, AllKinds(Selected({kGroupB})), tables, chart);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->Text("data-name"), "(B4)");
  EXPECT_EQ(page->Text("test-time"), "1 [min]15 [s]");
  EXPECT_EQ(page->Text("set-voltage"), "500 [V]");
  EXPECT_EQ(page->Text("resistance"), "OF");
  EXPECT_EQ(page->Text("leak-current"), "UF");
  EXPECT_EQ(page->Text("table-no"), "3");
  EXPECT_EQ(page->Text("ref-temperature"), "20.0 [C]");
  EXPECT_EQ(page->Text("tc-resistance"), "123 [KOhms]");
  EXPECT_EQ(page->Text("temperature"), "");
}

struct GraphPageRow {
  const char* name;
  GraphKind graph;
  std::map<std::string, std::string> want;
};

void PrintTo(const GraphPageRow& row, std::ostream* os) { *os << row.name; }

class LoggingPageTest : public testing::TestWithParam<GraphPageRow> {};

TEST_P(LoggingPageTest, UsesTheGraphUnit) {
  RecordTables tables;
  // 5 MOhms set the resistance graph to MOhms and 5 A the current graph to A;
  // the last sample alone would be KOhms and mA.
  auto samples = test::SameSamples(4, "1000", "5000000");
  samples.insert(samples.begin(), {"5000", "1000"});
  samples.push_back({"1000", "50000"});
  test::PutLoggingSet(tables, 1, "120", samples);
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
    tables.Header(copy, 1, header::kDate) = "2024/01/02";
    tables.Header(copy, 1, header::kSetVoltage) = "1000";
  }
  ReportSettings settings = AllKinds(Selected({kSetLr1}));
  settings.loggingGraphKind = GetParam().graph;
  settings.header.dataName = "Motor 1";
  ChartCtrl chart;
  const std::optional<ReportPage> page = BuildPage(1, settings, tables, chart);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->chartKind, GetParam().graph);
  for (const auto& [name, want] : GetParam().want) EXPECT_EQ(page->Text(name), want) << name;
}

INSTANTIATE_TEST_SUITE_P(Graphs, LoggingPageTest,
                         testing::Values(GraphPageRow{"resistance_graph",
                                                      GraphKind::Resistance,
                                                      {{"data-name", "Motor 1"},
                                                       {"record-date", "2024/01/02"},
                                                       {"test-method", "Logging Data"}, {"interval", "2 [min]"},
                                                       {"set-voltage", "1.00 [kV]"},
                                                       {"output-voltage", "1.00 [kV]"},
                                                       {"resistance", "0.0500 [MOhms]"},
                                                       {"leak-current", "20.0 [mA]"}, {"data-number", "6"}}},
                                         GraphPageRow{"current_graph",
                                                      GraphKind::LeakCurrent,
                                                      {{"resistance", "50.0 [KOhms]"},
                                                       {"leak-current", "0.0200 [A]"}}}));

class StepPageTest : public testing::TestWithParam<GraphPageRow> {};

TEST_P(StepPageTest, UsesTheGraphUnit) {
  RecordTables tables;
  test::PutStepRecord(tables, kGroupA, 1,
                      {"5000",
                       {"1000", "2000", "3000", "4000", "5000"},
                       {"5000000000", "4000000000", "3000000000", "2000000000", "500000000"}});
  ReportSettings settings = AllKinds(Selected({kGroupA}));
  settings.stepGraphKind = GetParam().graph;
  ChartCtrl chart;
  const std::optional<ReportPage> page = BuildPage(1, settings, tables, chart);
  ASSERT_TRUE(page);
  for (const auto& [name, want] : GetParam().want) EXPECT_EQ(page->Text(name), want) << name;
}

INSTANTIATE_TEST_SUITE_P(Graphs, StepPageTest,
                         testing::Values(GraphPageRow{"resistance_graph",
                                                      GraphKind::Resistance,
                                                      {{"test-method", "Step Voltage Test"},
                                                       {"set-voltage", "5.00 [kV]"},
                                                       {"output-voltage", "5.00 [kV]"},
                                                       {"resistance", "0.500 [GOhms]"},
                                                       {"leak-current", "10.0 [uA]"},
                                                       {"step1-voltage", "1.00 [kV]"},
                                                       {"step1-resistance", "5.00 [GOhms]"},
                                                       {"step5-resistance", "0.500 [GOhms]"}}},
                                         GraphPageRow{"current_graph",
                                                      GraphKind::LeakCurrent,
                                                      {{"resistance", "500 [MOhms]"},
                                                       {"step1-resistance", "5.00 [GOhms]"},
                                                       {"leak-current", "10.0 [uA]"}}}));

}  // namespace
}  // namespace qv70
