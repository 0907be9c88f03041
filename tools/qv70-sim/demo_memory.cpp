#include "demo_memory.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

namespace qv70::sim {
namespace {

// splitmix64: small, and the same sequence on every platform and compiler.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uniform(double low, double high) { return low + (high - low) * (Next() >> 11) * (1.0 / 9007199254740992.0); }
  int Below(int count) { return static_cast<int>(Next() % static_cast<std::uint64_t>(count)); }

 private:
  std::uint64_t state_;
};

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof(text), format, value);
  return text;
}
std::string Whole(long value) { return std::to_string(value); }

// Three significant figures, as the instrument resolves resistances.
double ThreeFigures(double value) { return std::strtod(Format("%.2e", value).c_str(), nullptr); }

// A resistance reading at `volts`: three figures in range, else the range mark.
struct Reading {
  double ohms;
  std::string text;
  bool InRange() const { return text != "OF" && text != "UF"; }
};
Reading Measure(double ohms, double volts) {
  if (ohms > MaxResistance(volts)) return {ohms, "OF"};
  if (ohms < kMinResistance) return {ohms, "UF"};
  double rounded = ThreeFigures(ohms);
  return {rounded, FormatResistance(rounded)};
}

// A ratio of two readings to three significant figures ("1.52", "12.3",
// "0.950"), or "E" when either reading is out of range.
std::string Ratio(const Reading& numerator, const Reading& denominator) {
  if (!numerator.InRange() || !denominator.InRange()) return "E";
  double ratio = ThreeFigures(numerator.ohms / denominator.ohms);
  int decimals = ratio >= 100 ? 0 : ratio >= 10 ? 1 : ratio >= 1 ? 2 : 3;
  char text[32];
  std::snprintf(text, sizeof(text), "%.*f", decimals, ratio);
  return text;
}

struct Stamp {
  std::string date, time;
};
Stamp StampOf(std::time_t when) {
  std::tm broken{};
  gmtime_r(&when, &broken);
  char date[16], time[16];
  std::strftime(date, sizeof(date), "%Y-%m-%d", &broken);
  std::strftime(time, sizeof(time), "%H:%M:%S", &broken);
  return {date, time};
}

constexpr int kTestVoltages[] = {500, 1000, 2500, 5000, 10000};

struct Conditions {
  int volts;
  std::string output, temperature, humidity;
};
Conditions Ambient(Random& random, int volts) {
  long output = volts + std::lround(volts * random.Uniform(0.0, 0.025));
  return {volts, Whole(output), Format("%.1f", random.Uniform(15.0, 32.0)),
          Format("%.1f", random.Uniform(35.0, 80.0))};
}

// The resistance 15 s into a test: mostly healthy insulation, sometimes so good
// that it leaves the range, sometimes failed.
double StartResistance(Random& random, int volts) {
  int kind = random.Below(20);
  if (kind == 0) return 10.0 * MaxResistance(volts);  // over range from the start
  if (kind == 1) return std::pow(10.0, random.Uniform(3.0, 4.7));  // under range
  if (kind <= 4) return MaxResistance(volts) * random.Uniform(0.3, 0.9);  // leaves the range later
  return std::pow(10.0, random.Uniform(7.5, 11.5));
}

MemorySlot NormalRecord(Random& random, const std::string& label, const Stamp& stamp) {
  int volts = kTestVoltages[random.Below(5)];
  Conditions c = Ambient(random, volts);
  double r15 = StartResistance(random, volts);
  double k = random.Uniform(0.02, 0.45);  // polarisation: how fast the resistance rises
  auto at = [&](double seconds) { return Measure(r15 * std::pow(seconds / 15.0, k), volts); };
  int t1 = 1, t2 = random.Below(4) == 0 ? 5 : 10;
  Reading r15s = at(15), r30s = at(30), r1min = at(60), rt1 = at(t1 * 60.0), rt2 = at(t2 * 60.0);
  return MemorySlot{{label, "MN", stamp.date, stamp.time, Whole(t2 * 60), c.temperature, c.humidity, Whole(volts),
                     c.output, rt2.text, r15s.text, r30s.text, r1min.text, Ratio(r1min, r15s),
                     Ratio(r1min, r30s), Whole(t1), rt1.text, Whole(t2), rt2.text, Ratio(rt2, rt1)}};
}

MemorySlot TcRecord(Random& random, const std::string& label, const Stamp& stamp) {
  int volts = kTestVoltages[random.Below(5)];
  Conditions c = Ambient(random, volts);
  Reading resistance = Measure(StartResistance(random, volts) * random.Uniform(1.1, 1.6), volts);
  int reference = random.Below(3) == 0 ? 40 : 20;
  // Insulation resistance roughly halves for every 10 degrees warmer.
  double factor = std::pow(2.0, (std::atof(c.temperature.c_str()) - reference) / 10.0);
  std::string corrected = resistance.InRange() ? Measure(resistance.ohms * factor, volts).text : resistance.text;
  return MemorySlot{{label, "MT", stamp.date, stamp.time, "60", c.temperature, c.humidity, Whole(volts), c.output,
                     resistance.text, Whole(reference), corrected, Whole(1 + random.Below(4))}};
}

MemorySlot StepRecord(Random& random, const std::string& label, const Stamp& stamp) {
  static constexpr int kIntervals[] = {30, 60, 120, 300};
  static constexpr int kStepVoltages[] = {1000, 2500, 5000, 10000};
  int volts = kStepVoltages[random.Below(4)];
  Conditions c = Ambient(random, volts);
  double base = std::pow(10.0, random.Uniform(8.5, 12.0));
  // Sound insulation holds its resistance as the voltage rises; weak insulation falls.
  double fall = random.Below(3) == 0 ? random.Uniform(0.08, 0.18) : random.Uniform(0.0, 0.02);
  MemorySlot slot{{label, "MS", stamp.date, stamp.time, Whole(kIntervals[random.Below(4)]), c.temperature,
                   c.humidity, Whole(volts)}};
  for (int step = 1; step <= 5; ++step) {
    double stepVolts = volts * step / 5.0;
    long measured = std::lround(stepVolts * (1.0 + random.Uniform(0.0, 0.02)));
    slot.values.push_back(Whole(measured));
    slot.values.push_back(Measure(base * (1.0 - fall * (step - 1)), stepVolts).text);
  }
  return slot;
}

enum class Trend { Polarising, OverRangeToEnd, OverRangeRun, Falling, Flat, BreakdownAtEnd };

LoggingMemory LoggingSet(Random& random, int set, std::time_t start) {
  static constexpr int kIntervals[] = {5, 10, 15, 30, 60, 120};
  static constexpr Trend kRandomTrends[] = {Trend::Polarising, Trend::Falling, Trend::Flat};
  Trend trend = set == 0 ? Trend::Polarising
              : set == 1 ? Trend::OverRangeToEnd
              : set == 2 ? Trend::OverRangeRun
              : set == 3 ? Trend::Falling
              : set == 4 ? Trend::Flat
              : set == 5 ? Trend::BreakdownAtEnd
                         : kRandomTrends[random.Below(3)];
  int volts = kTestVoltages[random.Below(5)];
  int interval = kIntervals[random.Below(6)];
  Conditions c = Ambient(random, volts);
  Stamp stamp = StampOf(start);
  LoggingMemory logging;
  logging.header = {"L" + Whole(set), "LOGGING", stamp.date, stamp.time, Whole(interval),
                    set == 9 ? "E" : c.temperature, c.humidity, Whole(volts)};

  double max = MaxResistance(volts);
  double r0 = trend == Trend::OverRangeToEnd ? max * 0.2 : max * random.Uniform(0.002, 0.05);
  double k = trend == Trend::OverRangeToEnd ? 0.35 : random.Uniform(0.15, 0.4);
  int runStart = 120 + random.Below(60), runEnd = runStart + 20 + random.Below(40);
  for (int i = 0; i < kMaxSetSamples; ++i) {
    double seconds = (i + 1.0) * interval;
    double ohms = r0;
    switch (trend) {
      case Trend::Polarising:
      case Trend::OverRangeToEnd: ohms = r0 * std::pow(seconds / interval, k); break;
      case Trend::OverRangeRun: ohms = i >= runStart && i < runEnd ? 2.0 * max : r0 * (1.0 + 0.001 * i); break;
      case Trend::Falling: ohms = r0 * std::exp(-i / 150.0); break;
      case Trend::Flat: ohms = r0; break;
      case Trend::BreakdownAtEnd: ohms = i >= kMaxSetSamples - 8 ? kMinResistance * 0.1 : r0 * std::exp(-i / 90.0); break;
    }
    ohms *= 1.0 + random.Uniform(-0.01, 0.01);  // reading noise
    long output = volts + std::lround(volts * random.Uniform(0.0, 0.02));
    logging.points.push_back(LoggingPoint{Whole(output), Measure(ohms, volts).text});
  }
  return logging;
}

}  // namespace

double MaxResistance(double volts) { return volts * 2.0e9; }

InstrumentMemory BuildDemoMemory(std::uint64_t seed) {
  Random random(seed);
  InstrumentMemory memory;
  // 2024-03-05 09:00:00 UTC plus up to a year, so each seed has its own dates.
  std::time_t when = 1709629200 + static_cast<std::time_t>(random.Below(365)) * 86400;
  for (int group = 0; group < kGroups; ++group) {
    int count = group == 0 ? kSlots : 3 + random.Below(kSlots - 2);
    for (int slot = 0; slot < count; ++slot) {
      when += 600 + random.Below(5400);
      Stamp stamp = StampOf(when);
      std::string label = SlotLabel(group, slot);
      // Group A opens with one test of each type; the rest are mixed.
      int kind = group == 0 && slot < 3 ? slot : random.Below(4);
      if (kind == 1)
        memory.slots[group][slot] = TcRecord(random, label, stamp);
      else if (kind == 2)
        memory.slots[group][slot] = StepRecord(random, label, stamp);
      else
        memory.slots[group][slot] = NormalRecord(random, label, stamp);
    }
  }
  memory.RecountRecords();
  for (int set = 0; set < kSets; ++set) {
    when += 3600 + random.Below(86400);
    memory.sets[set] = LoggingSet(random, set, when);
  }
  return memory;
}

}  // namespace qv70::sim
