#pragma once

namespace qv70::graph_text {

// Axis captions of the step and logging graphs.
inline constexpr const char* kResistanceOhms = "Resistance[Ohms]";
inline constexpr const char* kResistanceKOhms = "Resistance[KOhms]";
inline constexpr const char* kResistanceMOhms = "Resistance[MOhms]";
inline constexpr const char* kResistanceGOhms = "Resistance[GOhms]";
inline constexpr const char* kResistanceTOhms = "Resistance[TOhms]";
inline constexpr const char* kLeakCurrentPA = "Leak Current[pA]";
inline constexpr const char* kLeakCurrentNA = "Leak Current[nA]";
inline constexpr const char* kLeakCurrentUA = "Leak Current[uA]";
inline constexpr const char* kLeakCurrentMA = "Leak Current[mA]";
inline constexpr const char* kLeakCurrentA = "Leak Current[A]";
inline constexpr const char* kOutputVoltage = "Output voltage[kV]";
inline constexpr const char* kSetVoltage = "Set Voltage[kV]";
inline constexpr const char* kTime = "Time[min]";

}  // namespace qv70::graph_text
