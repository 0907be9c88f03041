#pragma once

// A report with a page of every kind, as a download converts the records:
// logging set Lr0 with 40 samples, a selected logging set Lr3 that has none
// (a page the data no longer fills), and in group A a Normal Test, a TC Test
// and a Step Voltage Test record; a comment of several lines with Chinese in
// it, and a photograph-sized logo.

#include <map>
#include <memory>
#include <string>

#include "core/data/record_tables.h"
#include "core/data/values.h"
#include "core/graphs/graph_tables.h"
#include "core/picture/picture_image.h"
#include "core/report/report_settings.h"

namespace qv70::test {

inline void PutSampleRecord(RecordTables& tables, int group, int record,
                            const std::map<int, std::string>& fields) {
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted})
    for (const auto& [f, value] : fields) tables.Manual(copy, group, record, f) = value;
  tables.recordCount[static_cast<std::size_t>(group)] =
      std::max(tables.recordCount[static_cast<std::size_t>(group)], record + 1);
  ConvertManualRecord(tables, group, record);
}

inline std::unique_ptr<RecordTables> SampleReportTables() {
  auto tables = std::make_unique<RecordTables>();
  std::vector<std::pair<std::string, std::string>> samples;
  for (int i = 0; i < 40; ++i) samples.emplace_back("1000", std::to_string(2000000000LL + 150000000LL * i));
  samples[7].second = "OF";
  PutLoggingSet(*tables, 0, "60", samples);
  for (RecordCopy copy : {RecordCopy::Raw, RecordCopy::Converted}) {
    tables->Header(copy, 0, header::kDate) = "2024/05/06";
    tables->Header(copy, 0, header::kTime) = "10:11:12";
    tables->Header(copy, 0, header::kTemperature) = "23.4";
    tables->Header(copy, 0, header::kHumidity) = "45";
    tables->Header(copy, 0, header::kSetVoltage) = "1000";
  }
  const std::map<int, std::string> common = {{field::kDate, "2024/05/06"},  {field::kTime, "10:11:12"},
                                             {field::kTemperature, "23.4"}, {field::kHumidity, "45"},
                                             {field::kElapsed, "600"},      {field::kSetVoltage, "1000"}};
  std::map<int, std::string> normal = common;
  normal.insert({{field::kTestType, "Normal Test"},
                 {field::kOutputVoltage, "1000"},
                 {field::kResistance, "2000000000"},
                 {field::kRes15s, "4700"},
                 {field::kRes30s, "OF"},
                 {field::kRes1min, "2500000000"},
                 {field::kDar15s, "1.25"},
                 {field::kDar30s, "1.5"},
                 {field::kT1, "1"},
                 {field::kT1Resistance, "999"},
                 {field::kT2, "10"},
                 {field::kT2Resistance, "0"},
                 {field::kPi, "2.5"}});
  PutSampleRecord(*tables, 0, 0, normal);
  std::map<int, std::string> tc = common;
  tc.insert({{field::kTestType, "TC Test"},
             {field::kOutputVoltage, "1000"},
             {field::kResistance, "OF"},
             {field::kTableNo, "3"},
             {field::kRefTemperature, "20"},
             {field::kTcResistance, "123456"}});
  PutSampleRecord(*tables, 0, 1, tc);
  PutStepRecord(*tables, 0, 2,
                {"5000",
                 {"1000", "2000", "3000", "4000", "5000"},
                 {"2000000000", "0", "5300000000", "OF", "4100000000"}});
  tables->recordCount[0] = 3;
  tables->info.serialNumber = "09120345";
  return tables;
}

inline ReportSettings SampleReportSettings() {
  ReportSettings settings;
  settings.selectedSets[0] = true;       // group A
  settings.selectedSets[10 + 0] = true;  // Lr0
  settings.selectedSets[10 + 3] = true;  // Lr3, without samples
  settings.loggingCount = settings.normalCount = settings.tcCount = settings.stepCount = 1;
  settings.itemFlags = std::string(kItemFlagCount, '1');
  settings.header = {"7", "2024-5-6", "Inspector", ""};
  settings.startPageText = "7";
  settings.commentText =
      "Cable 3, phase L1: insulation tested after "
      "repair.\r\n\xe7\xbb\x9d\xe7\xbc\x98\xe7\x94\xb5\xe9\x98\xbb "
      "\xe8\x89\xaf\xe5\xa5\xbd (good), retest in six months.";
  return settings;
}

// A logo much larger than its box: a colour ramp of 700 x 150 pixels.
inline PictureImage SampleLogo() {
  PictureImage logo;
  logo.Create(700, 150, 24);
  for (int y = 0; y < logo.Height(); ++y) {
    std::uint8_t* row = logo.Row(y);
    for (int x = 0; x < logo.Width(); ++x) {
      row[3 * x] = static_cast<std::uint8_t>(x * 255 / 699);
      row[3 * x + 1] = static_cast<std::uint8_t>(y * 255 / 149);
      row[3 * x + 2] = 128;
    }
  }
  return logo;
}

}  // namespace qv70::test
