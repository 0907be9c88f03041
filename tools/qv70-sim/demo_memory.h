#pragma once

#include <cstdint>

#include "instrument_memory.h"

namespace qv70::sim {

// A plausible instrument, the same for the same seed: every group holds records
// (group A all ten; Normal, TC and Step Voltage tests mixed, with values that
// agree with each other: DAR = 1 min / 15 s resistance, PI = t2 / t1 resistance,
// TC resistance from the temperature), some over- and under-range values, and
// ten logging sets of 360 samples: set 0 rises with polarisation, set 1 runs over
// the range to its end, set 2 has an over-range run in the middle, set 3 falls,
// set 4 is flat, set 5 breaks down under range at its end and set 9 has no
// temperature reading ("E"). Dates and times do not depend on the time zone.
InstrumentMemory BuildDemoMemory(std::uint64_t seed);

// The measuring range of the demo instrument at a test voltage: resistances
// above it are sent as "OF", below it as "UF".
double MaxResistance(double volts);
constexpr double kMinResistance = 1.0e5;

}  // namespace qv70::sim
