// The simulated instrument's command handling: every command's reply form,
// set commands followed by queries, the faults and the reply packets.

#include <gtest/gtest.h>

#include "core/platform/environment.h"
#include "instrument.h"

namespace qv70::sim {
namespace {

// 2009-03-05 14:07:09 UTC; the tests below only compare instrument clock
// readings with each other, so the time zone does not matter.
constexpr std::time_t kStart = 1236262029;

InstrumentMemory SmallMemory() {
  InstrumentMemory memory;
  memory.slots[0][0].values = {"A0", "MN", "2009-03-05", "14:07:09", "600", "23.5", "45.0", "1000", "1012",
                               "5.0e+09", "2.1e+09", "2.6e+09", "3.2e+09", "1.52", "1.23", "1", "3.2e+09",
                               "10", "5.0e+09", "1.56"};
  memory.slots[0][1].values = {"A1", "MT", "2009-03-05", "14:20:00", "60", "30.0", "50.0", "500", "505",
                               "OF", "20", "OF", "2"};
  memory.slots[1][0].values = {"B0"};  // a slot holding its label only
  memory.slots[9][9].values = {"P9", "MS", "2009-03-06", "09:00:00", "60", "21.0", "40.0", "5000", "1000",
                               "1.0e+11", "2000", "9.9e+10", "3000", "9.8e+10", "4000", "9.7e+10", "5000", "UF"};
  memory.RecountRecords();
  memory.sets[0].header = {"L0", "LOGGING", "2009-03-05", "15:00:00", "60", "22.0", "41.0", "1000"};
  memory.sets[0].points = {{"1001", "1.0e+10"}, {"1002", "OF"}, {"1003", "2.0e+10"}};
  memory.sets[3].header = {"L3", "LOGGING", "2009-03-07", "08:00:00", "10", "E", "41.0", "500"};
  memory.sets[3].points = {{"501", "4.5e+09"}, {"502", "OF"}};
  return memory;
}

class InstrumentTest : public ::testing::Test {
 protected:
  FixedClock clock{kStart};
  Instrument instrument{SmallMemory(), clock};
  std::string Ask(const std::string& command) { return instrument.Handle(command).bytes; }
};

struct ReplyCase {
  const char* command;
  const char* reply;
};

TEST_F(InstrumentTest, AnswersEveryQueryInTheInstrumentsForm) {
  const ReplyCase cases[] = {
      {":MEM:DATA? COUNT", "2,0,0,0,0,0,0,0,0,1,3,0,0,2,0,0,0,0,0,0\r\n"},
      {"*IDN?", "ZAVEL ,QV70 ,Ver1.00\r\n"},
      {":SERIAL?", "09120345\r\n"},
      {":SET:PI?", "01,10\r\n"},
      {":SET:STEP?", "01\r\n"},
      {":MEM:DATA? A0",
       "A0,MN,2009-03-05,14:07:09,600,23.5,45.0,1000,1012,5.0e+09,2.1e+09,2.6e+09,3.2e+09,1.52,1.23,1,"
       "3.2e+09,10,5.0e+09,1.56\r\n"},
      {":MEM:DATA? A1", "A1,MT,2009-03-05,14:20:00,60,30.0,50.0,500,505,OF,20,OF,2\r\n"},
      {":MEM:DATA? P9",
       "P9,MS,2009-03-06,09:00:00,60,21.0,40.0,5000,1000,1.0e+11,2000,9.9e+10,3000,9.8e+10,4000,9.7e+10,5000,UF\r\n"},
      {":MEM:DATA? B0", "B0\r\n"},
      {":MEM:DATA? A5", "\r\n"},
      // Over range in a logging set goes out with the instrument's extra comma.
      {":MEM:DATA? L0", "L0,LOGGING,2009-03-05,15:00:00,60,22.0,41.0,1000,1001,1.0e+10,1002,OF,,1003,2.0e+10\r\n"},
      {":MEM:DATA? L3", "L3,LOGGING,2009-03-07,08:00:00,10,E,41.0,500,501,4.5e+09,502,OF,\r\n"},
      {"*IDN?\r", "ZAVEL ,QV70 ,Ver1.00\r\n"},
      {":MEM:DATA? G0", "NG\r\n"},
      {":MEM:DATA? L", "NG\r\n"},
      {":MEM:DATA? A10", "NG\r\n"},
      {":MEM:DATA? a0", "NG\r\n"},
      {":MEM:DATA?", "NG\r\n"},
      {"*idn?", "NG\r\n"},
      {"", "NG\r\n"},
      {":BOGUS", "NG\r\n"},
  };
  for (const ReplyCase& c : cases) {
    Reply reply = instrument.Handle(c.command);
    EXPECT_TRUE(reply.answered) << c.command;
    EXPECT_EQ(reply.bytes, c.reply) << c.command;
  }
}

struct SetCase {
  const char* command;
  const char* acknowledgement;
  const char* query;
  const char* answerAfter;
};

TEST_F(InstrumentTest, SetCommandsAreCheckedStoredAndQueriedBack) {
  const SetCase cases[] = {
      {":SET:PI 1, 10", "OK\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI 2, 30", "OK\r\n", ":SET:PI?", "02,30\r\n"},
      {":SET:PI 3,15", "OK\r\n", ":SET:PI?", "03,15\r\n"},
      {":SET:PI 5, 5", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI 0, 10", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI 1, 31", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI 10, 2", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI 1", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI a, 10", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI 001, 10", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:PI 1, 10, 20", "NG\r\n", ":SET:PI?", "01,10\r\n"},
      {":SET:STEP 30", "OK\r\n", ":SET:STEP?", "30\r\n"},
      {":SET:STEP 02", "OK\r\n", ":SET:STEP?", "02\r\n"},
      {":SET:STEP 05", "OK\r\n", ":SET:STEP?", "05\r\n"},
      {":SET:STEP 01", "OK\r\n", ":SET:STEP?", "01\r\n"},
      {":SET:STEP 3", "NG\r\n", ":SET:STEP?", "01\r\n"},
      {":SET:STEP 10", "NG\r\n", ":SET:STEP?", "01\r\n"},
      {":SET:STEP", "NG\r\n", ":SET:STEP?", "01\r\n"},
      {":TIME 2009, 03, 05, 14, 07, 09", "OK\r\n", ":TIME?", "2009, 03, 05, 14, 07, 09\r\n"},
      {":TIME 2024, 02, 29, 23, 59, 59", "OK\r\n", ":TIME?", "2024, 02, 29, 23, 59, 59\r\n"},
      {":TIME 2023, 02, 29, 00, 00, 00", "NG\r\n", ":TIME?", nullptr},
      {":TIME 2009, 13, 05, 14, 07, 09", "NG\r\n", ":TIME?", nullptr},
      {":TIME 2009, 03, 05, 24, 07, 09", "NG\r\n", ":TIME?", nullptr},
      {":TIME 2009, 03, 05, 14, 07", "NG\r\n", ":TIME?", nullptr},
      {":TIME 09, 03, 05, 14, 07, 09", "NG\r\n", ":TIME?", nullptr},
      {":TIME 2009, 03, 00, 14, 07, 09", "NG\r\n", ":TIME?", nullptr},
  };
  for (const SetCase& c : cases) {
    FixedClock fixed(kStart);
    Instrument fresh(SmallMemory(), fixed);
    std::string clockBefore = fresh.Handle(":TIME?").bytes;
    EXPECT_EQ(fresh.Handle(c.command).bytes, c.acknowledgement) << c.command;
    // A refused clock command leaves the clock alone.
    EXPECT_EQ(fresh.Handle(c.query).bytes, c.answerAfter != nullptr ? c.answerAfter : clockBefore) << c.command;
  }
}

TEST_F(InstrumentTest, ClockRunsOnFromTheTimeItWasSet) {
  ASSERT_EQ(Ask(":TIME 2009, 12, 31, 23, 59, 30"), "OK\r\n");
  clock.Set(kStart + 65);
  EXPECT_EQ(Ask(":TIME?"), "2010, 01, 01, 00, 00, 35\r\n");
}

struct FaultCase {
  const char* name;
  std::vector<const char*> faults;
  const char* command;
  bool answered;
  const char* reply;  // nullptr: not checked here
  int dripIntervalMs = 0;
};

TEST(InstrumentFaults, ActOnlyOnCommandsWithTheirPrefix) {
  const FaultCase cases[] = {
      {"silent gives an empty reply", {"silent:*IDN?"}, "*IDN?", true, ""},
      {"silent leaves other commands", {"silent:*IDN?"}, ":SERIAL?", true, "09120345\r\n"},
      {"nak on a query", {"nak::SET:STEP?"}, ":SET:STEP?", true, "NG\r\n"},
      {"nak on a memory command", {"nak::MEM:DATA? A"}, ":MEM:DATA? A0", true, "NG\r\n"},
      {"nak spares logging", {"nak::MEM:DATA? A"}, ":MEM:DATA? L3", true, nullptr},
      {"hang on logging", {"hang::MEM:DATA? L"}, ":MEM:DATA? L0", false, ""},
      {"hang spares records", {"hang::MEM:DATA? L"}, ":MEM:DATA? A5", true, "\r\n"},
      {"empty prefix hits all", {"silent:"}, ":MEM:DATA? COUNT", true, ""},
      {"first matching fault wins", {"nak::MEM", "silent::MEM:DATA? A"}, ":MEM:DATA? A0", true, "NG\r\n"},
      {"later fault when the first misses", {"nak::SET", "silent::MEM"}, ":MEM:DATA? A0", true, ""},
      {"absent leaves commands", {"absent"}, ":SET:PI?", true, "01,10\r\n"},
      {"reply with a text", {"reply:*IDN?=NG"}, "*IDN?", true, "NG\r\n"},
      {"reply with commas and an equals sign", {"reply::MEM:DATA? L0=X0,a=b"}, ":MEM:DATA? L0", true, "X0,a=b\r\n"},
      {"reply with nothing", {"reply::SERIAL?="}, ":SERIAL?", true, "\r\n"},
      {"reply spares other commands", {"reply:*IDN?=NG"}, ":SERIAL?", true, "09120345\r\n"},
      // Carried out, only slowly: the set command below is acknowledged.
      {"drip gives the true reply slowly", {"drip::SET:STEP"}, ":SET:STEP 05", true, "OK\r\n", 250},
      {"drip spares other commands", {"drip::SET:STEP"}, ":SET:PI?", true, "01,10\r\n", 0},
  };
  for (const FaultCase& c : cases) {
    FixedClock clock(kStart);
    Instrument instrument(SmallMemory(), clock);
    instrument.SetDripInterval(250);
    for (const char* text : c.faults) {
      Fault fault{};
      std::string error;
      ASSERT_TRUE(ParseFault(text, fault, error)) << c.name << ": " << error;
      instrument.AddFault(fault);
    }
    Reply reply = instrument.Handle(c.command);
    EXPECT_EQ(reply.answered, c.answered) << c.name;
    EXPECT_EQ(reply.dripIntervalMs, c.dripIntervalMs) << c.name;
    if (c.reply != nullptr) {
      EXPECT_EQ(reply.bytes, c.reply) << c.name;
    }
  }
}

TEST(InstrumentFaults, RefusedSetCommandChangesNothing) {
  FixedClock clock(kStart);
  Instrument instrument(SmallMemory(), clock);
  Fault fault{};
  std::string error;
  ASSERT_TRUE(ParseFault("nak::SET:PI ", fault, error));
  instrument.AddFault(fault);
  EXPECT_EQ(instrument.Handle(":SET:PI 2, 20").bytes, "NG\r\n");
  EXPECT_EQ(instrument.Handle(":SET:PI?").bytes, "01,10\r\n");
}

TEST(InstrumentFaults, GarbageIsRandomButNeverAnAcknowledgementOrAnEarlyEnd) {
  FixedClock clock(kStart);
  Instrument instrument(SmallMemory(), clock, 42);
  Fault fault{};
  std::string error;
  ASSERT_TRUE(ParseFault("garbage:", fault, error));
  instrument.AddFault(fault);
  std::string first = instrument.Handle(":SET:PI 1, 10").bytes;
  std::string second = instrument.Handle(":SET:PI 1, 10").bytes;
  EXPECT_NE(first, second);
  for (int i = 0; i < 200; ++i) {
    std::string bytes = instrument.Handle(":SET:STEP 30").bytes;
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    EXPECT_EQ(bytes.find("OK"), std::string::npos);
  }
  // The same seed gives the same garbage.
  Instrument again(SmallMemory(), clock, 42);
  again.AddFault(fault);
  EXPECT_EQ(again.Handle(":SET:PI 1, 10").bytes, first);
}

TEST(InstrumentFaults, AbsentOnlyChangesThePresence) {
  FixedClock clock(kStart);
  Instrument instrument(SmallMemory(), clock);
  EXPECT_TRUE(instrument.Present());
  instrument.AddFault(Fault{FaultKind::Absent, "", ""});
  EXPECT_FALSE(instrument.Present());
}

struct ParseFaultCase {
  const char* text;
  bool ok;
  FaultKind kind;
  const char* prefix;
  const char* reply = "";
};

TEST(InstrumentFaults, ParsesFaultOptions) {
  const ParseFaultCase cases[] = {
      {"silent:*IDN?", true, FaultKind::Silent, "*IDN?"},
      {"nak::SET:PI", true, FaultKind::Nak, ":SET:PI"},
      {"hang::MEM:DATA? L", true, FaultKind::Hang, ":MEM:DATA? L"},
      {"garbage:", true, FaultKind::Garbage, ""},
      {"drip::MEM:DATA? L", true, FaultKind::Drip, ":MEM:DATA? L"},
      {"reply:*IDN?=NG", true, FaultKind::Reply, "*IDN?", "NG"},
      {"reply:=ZAVEL", true, FaultKind::Reply, "", "ZAVEL"},
      {"reply:*IDN?", false, FaultKind::Reply, ""},
      {"drip", false, FaultKind::Drip, ""},
      {"absent", true, FaultKind::Absent, ""},
      {"absent::MEM", false, FaultKind::Absent, ""},
      {"hang", false, FaultKind::Hang, ""},
      {"Silent:*IDN?", false, FaultKind::Silent, ""},
      {"slow:*IDN?", false, FaultKind::Silent, ""},
      {"", false, FaultKind::Silent, ""},
  };
  for (const ParseFaultCase& c : cases) {
    Fault fault{};
    std::string error;
    EXPECT_EQ(ParseFault(c.text, fault, error), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(fault.kind, c.kind) << c.text;
      EXPECT_EQ(fault.prefix, c.prefix) << c.text;
      EXPECT_EQ(fault.text, c.reply) << c.text;
    } else {
      EXPECT_FALSE(error.empty()) << c.text;
    }
  }
}

struct PacketCase {
  size_t length;
  std::vector<size_t> sizes;
};

TEST(ReplyPackets, AtMost64BytesThenAnEmptyPacket) {
  const PacketCase cases[] = {
      {0, {0}}, {2, {2, 0}}, {63, {63, 0}}, {64, {64, 0}}, {65, {64, 1, 0}}, {138, {64, 64, 10, 0}},
  };
  for (const PacketCase& c : cases) {
    std::string reply;
    for (size_t i = 0; i < c.length; ++i) reply += static_cast<char>('a' + i % 26);
    std::vector<std::string> packets = SplitIntoPackets(reply);
    std::vector<size_t> sizes;
    std::string joined;
    for (const std::string& packet : packets) {
      sizes.push_back(packet.size());
      joined += packet;
    }
    EXPECT_EQ(sizes, c.sizes) << c.length;
    EXPECT_EQ(joined, reply) << c.length;
  }
}

struct ResistanceCase {
  const char* input;
  const char* text;
};

TEST(ValueTexts, ResistancesInShortestExponentForm) {
  const ResistanceCase cases[] = {
      {"5000000000", "5.0e+09"},    {"6620000000", "6.62e+09"}, {"123456", "1.23456e+05"},
      {"123000000000", "1.23e+11"}, {"0", "0.0e+00"},           {"1.5e+09", "1.5e+09"},
      {"5000000000.000000", "5.0e+09"}, {"OF", "OF"},           {"UF", "UF"},
      {"E", "E"},                   {"", ""},                   {"12abc", "12abc"},
      {"1.23E+09", "1.23E+09"},     {" 5", " 5"},               {"-", "-"},
      {".", "."},                   {"1.2.3", "1.2.3"},         {"-2500", "-2.5e+03"},
  };
  for (const ResistanceCase& c : cases) EXPECT_EQ(ResistanceText(c.input), c.text) << c.input;
}

}  // namespace
}  // namespace qv70::sim
