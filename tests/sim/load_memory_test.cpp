// --load: a data file becomes the instrument's memory again. The round trip
// runs the program's own pieces: the replies are parsed into a download,
// finished into the record tables, saved as a data file, read back and turned
// into memory, which must answer exactly as the original did.

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "core/data/program_state.h"
#include "core/data/record_tables.h"
#include "core/files/data_file.h"
#include "core/files/messages.h"
#include "core/instrument/download_buffer.h"
#include "core/instrument/protocol.h"
#include "demo_memory.h"
#include "instrument.h"
#include "load_memory.h"
#include "support/sim_process.h"

namespace qv70::sim {
namespace {

// What a download of every group and set of `memory` leaves in `tables`.
void Download(const InstrumentMemory& memory, RecordTables& tables) {
  DownloadBuffer buffer;
  buffer.counts = LimitCounts(ParseCounts(CountReply(memory)));
  buffer.Clear();
  for (int g = 0; g < kGroups; ++g)
    for (int r = 0; r < kSlots; ++r) buffer.ParseMemoryReply(RecordReply(memory.slots[g][r]), g, r);
  for (int s = 0; s < kSets; ++s) buffer.ParseLoggingReply(LoggingReply(memory.sets[s]), s);
  std::array<bool, kSetCount> chosen;
  chosen.fill(true);
  buffer.FinishDownload(tables, chosen);
  tables.info.idn = ParseTextReply(memory.idn + "\r\n");
  tables.info.serialNumber = ParseTextReply(memory.serial + "\r\n");
  PiTimes pi = ParsePiReply(memory.piT1 + "," + memory.piT2 + "\r\n");
  tables.info.piT1 = pi.t1;
  tables.info.piT2 = pi.t2;
  tables.info.stepInterval = ParseStepReply(memory.stepCode + "\r\n");
  tables.info.stepIntervalUnit = StepIntervalUnit(tables.info.stepInterval);
}

// A file keeps the DAR and PI fields from the converted copy, where the "E"
// mark is shown empty; everything else comes back as the instrument sent it.
std::string AfterFile(const MemorySlot& slot, size_t index) {
  const std::string& value = slot.values[index];
  bool ratio = slot.values[1] == "MN" && (index == 13 || index == 14 || index == 19);
  return ratio && value.find('E') != std::string::npos ? "" : value;
}

struct FormatCase {
  const char* name;
  int decimal;
  int separator;
};

TEST(LoadMemory, SavedDownloadServesTheSameReplies) {
  const FormatCase cases[] = {{"period and comma", 0, 0}, {"period and semicolon", 0, 1},
                              {"comma and semicolon", 1, 1}};
  for (std::uint64_t seed : {1u, 5u}) {
    InstrumentMemory original = BuildDemoMemory(seed);
    for (const FormatCase& c : cases) {
      auto state = std::make_unique<ProgramState>();
      state->SetNumberFormat(c.decimal, c.separator);
      Download(original, state->tables);
      std::string file = FormatDataFile(state->tables, state->numberFormat);

      auto reread = std::make_unique<RecordTables>();
      InstrumentInfo info;
      Result outcome = ParseDataFile(file, *reread, info);
      ASSERT_TRUE(outcome.ok) << c.name << ": " << outcome.message;
      InstrumentMemory loaded = MemoryFromLoadedTables(*reread, info);

      SCOPED_TRACE(std::string(c.name) + ", seed " + std::to_string(seed));
      EXPECT_EQ(CountReply(loaded), CountReply(original));
      for (int g = 0; g < kGroups; ++g) {
        for (int r = 0; r < kSlots; ++r) {
          const MemorySlot& before = original.slots[g][r];
          const MemorySlot& after = loaded.slots[g][r];
          ASSERT_EQ(after.values.size(), before.values.size()) << SlotLabel(g, r);
          for (size_t i = 0; i < before.values.size(); ++i)
            EXPECT_EQ(after.values[i], AfterFile(before, i)) << SlotLabel(g, r) << " value " << i;
        }
      }
      for (int s = 0; s < kSets; ++s) EXPECT_EQ(LoggingReply(loaded.sets[s]), LoggingReply(original.sets[s])) << s;
      EXPECT_EQ(loaded.idn, original.idn);
      EXPECT_EQ(loaded.serial, original.serial);
      EXPECT_EQ(loaded.piT1, original.piT1);
      EXPECT_EQ(loaded.piT2, original.piT2);
      EXPECT_EQ(loaded.stepCode, original.stepCode);
    }
  }
}

// A small file written by hand, in the current layout.
constexpr const char* kHandFile =
    "ZAVEL.QV70EN V2.01 \r\n\r\n0 datanum\r\n"
    "2,0,0,0,0,0,0,0,0,0,2,0,0,0,0,0,0,0,0,0\r\n\r\n1 logging\r\n\r\n"
    "No.,Test Type,Date,Time,Test Interval[sec],Temperature[C],Humidity[%RH],Set Voltage[V]\r\n"
    "L0,LOGGING,2009-03-05,14:07:09,30,21.5,40.0,1000\r\n"
    "Data No.,Date,Time,Output Voltage[V],Resistance[Ohm]\r\n"
    "1,2009-03-05,14:07:39,1001,5000000000\r\n"
    "2,2009-03-05,14:08:09,1002,OF\r\n\r\n"
    "2 manual\r\n\r\n"
    "Data No.,Test Type,Date,Time,Elapsed Time[sec],Temperature[C],Humidity[%RH],Set Voltage[V],Output "
    "Voltage[V],Resistance[Ohm],15sec Resistance[Ohm],30sec Resistance[Ohm],1min Resistance[Ohm],DAR 15s "
    "value[1min/15s],DAR 30s value[1min/30s],t1[min],t1 Resistance[Ohm], t2[min],t2 Resistance[Ohm],PI "
    "Value[t2/t1],Ref.Temperature[C],TC Resistance[Ohm],Table No.,Step Interval[sec],Step1 Voltage[V],Step1 "
    "Resistance[Ohm],Step2 Voltage[V],Step2 Resistance[Ohm],Step3 Voltage[V],Step3 Resistance[Ohm],Step4 "
    "Voltage[V],Step4 Resistance[Ohm],Step5 Voltage[V],Step5 Resistance[Ohm]\r\n"
    "A0,TC Test,2009-03-05,15:00:00,60,25.0,50.0,500,505,2000000000,,,,,,,,,,,20,2800000000,1,,,,,,,,,,,\r\n"
    "A1,Step Voltage Test,2009-03-05,16:00:00,,25.0,50.0,1000,,,,,,,,,,,,,,,,60,200,1.0e+11,400,"
    "9.9e+10,600,9.8e+10,800,9.7e+10,1000,UF\r\n"
    "A2,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"
    ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"
    ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"
    ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"
    ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n\r\n"
    "3 Time\r\n\r\n4 IDN\r\nZAVEL ,QV70 ,Ver2.00\r\n\r\n5 Serial Number\r\nX123\r\n\r\n"
    "6 PI\r\nt1[min],t2[min]\r\n02,20\r\n\r\n7 one step interval\r\n30,[s]\r\n";

TEST(LoadMemory, HandWrittenFileBecomesTheInstrumentsMemory) {
  test::TempDir dir;
  std::string path = dir.File("hand.csv");
  test::WriteWholeFile(path, kHandFile);
  InstrumentMemory memory;
  std::string error;
  ASSERT_TRUE(LoadMemoryFromFile(path, memory, error)) << error;
  const std::pair<const char*, std::string> cases[] = {
      {"count", CountReply(memory)},
      {"A0", RecordReply(memory.slots[0][0])},
      {"A1", RecordReply(memory.slots[0][1])},
      {"A2", RecordReply(memory.slots[0][2])},
      {"A3", RecordReply(memory.slots[0][3])},
      {"B0", RecordReply(memory.slots[1][0])},
      {"L0", LoggingReply(memory.sets[0])},
      {"idn", memory.idn},
      {"pi", memory.piT1 + "," + memory.piT2},
      {"step", memory.stepCode},
  };
  const char* expected[] = {
      "2,0,0,0,0,0,0,0,0,0,2,0,0,0,0,0,0,0,0,0\r\n",
      "A0,MT,2009-03-05,15:00:00,60,25.0,50.0,500,505,2.0e+09,20,2.8e+09,1\r\n",
      "A1,MS,2009-03-05,16:00:00,60,25.0,50.0,1000,200,1.0e+11,400,9.9e+10,600,9.8e+10,800,9.7e+10,1000,UF\r\n",
      "A2\r\n",
      "\r\n",
      "\r\n",
      "L0,LOGGING,2009-03-05,14:07:09,30,21.5,40.0,1000,1001,5.0e+09,1002,OF,\r\n",
      "ZAVEL ,QV70 ,Ver2.00",
      "02,20",
      "30",
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].second, expected[i]) << cases[i].first;
}

// The older layout: no titles or empty lines, records in the instrument's
// compact order, the identification's first three fields joined.
constexpr const char* kOlderFile =
    "ZAVEL.QV70EN\r\n0 datanum\r\n1,0,0,0,0,0,0,0,0,0,2,0,0,0,0,0,0,0,0,0\r\n1 logging\r\n"
    "L0,LOGGING,2009-03-05,14:07:09,30,21.5,40.0,1000\r\n"
    "1,2009-03-05,14:07:39,1001,5000000000\r\n2,2009-03-05,14:08:09,1002,OF\r\n"
    "2 manual\r\n"
    "A0,Step Voltage Test,2009-03-05,16:00:00,60,25.0,50.0,1000,200,100000000000,400,99000000000,600,"
    "98000000000,800,97000000000,1000,UF\r\n"
    "3 Time\r\n4 IDN\r\nZAVEL ,QV70 ,Ver1.00,extra\r\n5 Serial Number\r\nX123,\r\n6 PI\r\n01,10\r\n"
    "7 one step interval\r\n30,\r\n";

TEST(LoadMemory, OlderLayoutFileBecomesTheInstrumentsMemory) {
  test::TempDir dir;
  std::string path = dir.File("older.csv");
  test::WriteWholeFile(path, kOlderFile);
  InstrumentMemory memory;
  std::string error;
  ASSERT_TRUE(LoadMemoryFromFile(path, memory, error)) << error;
  EXPECT_EQ(CountReply(memory), "1,0,0,0,0,0,0,0,0,0,2,0,0,0,0,0,0,0,0,0\r\n");
  EXPECT_EQ(RecordReply(memory.slots[0][0]),
            "A0,MS,2009-03-05,16:00:00,60,25.0,50.0,1000,200,1.0e+11,400,9.9e+10,600,9.8e+10,800,9.7e+10,1000,UF\r\n");
  EXPECT_EQ(LoggingReply(memory.sets[0]), "L0,LOGGING,2009-03-05,14:07:09,30,21.5,40.0,1000,1001,5.0e+09,1002,OF,\r\n");
  EXPECT_EQ(memory.idn, "ZAVEL QV70 Ver1.00");
  EXPECT_EQ(memory.serial, "X123");
  EXPECT_EQ(memory.piT1 + "," + memory.piT2, "01,10");
  EXPECT_EQ(memory.stepCode, "30");
}

struct BadFileCase {
  const char* name;
  const char* content;  // nullptr: no file at all
  const char* message;  // part of the error
};

TEST(LoadMemory, RefusesWhatTheProgramWouldRefuse) {
  const BadFileCase cases[] = {
      {"missing file", nullptr, "cannot read the data file"},
      {"not a data file", "hello\r\n", open_message::kNotEnglishVersion},
      {"cut after the counts",
       "ZAVEL.QV70EN V2.01 \r\n\r\n0 datanum\r\n0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n",
       open_message::kLackLogging},
  };
  for (const BadFileCase& c : cases) {
    test::TempDir dir;
    std::string path = dir.File("bad.csv");
    if (c.content != nullptr) test::WriteWholeFile(path, c.content);
    InstrumentMemory memory;
    std::string error;
    EXPECT_FALSE(LoadMemoryFromFile(path, memory, error)) << c.name;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
  }
}

}  // namespace
}  // namespace qv70::sim
