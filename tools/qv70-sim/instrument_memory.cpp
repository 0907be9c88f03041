#include "instrument_memory.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv70::sim {

std::array<int, kGroups + kSets> InstrumentMemory::Counts() const {
  std::array<int, kGroups + kSets> counts{};
  for (int g = 0; g < kGroups; ++g) counts[g] = recordCount[g];
  for (int s = 0; s < kSets; ++s) counts[kGroups + s] = static_cast<int>(sets[s].points.size());
  return counts;
}

void InstrumentMemory::RecountRecords() {
  for (int g = 0; g < kGroups; ++g) {
    recordCount[g] = 0;
    for (const MemorySlot& slot : slots[g])
      if (slot.HasRecord()) ++recordCount[g];
  }
}

std::string FormatResistance(double ohms) {
  char text[64];
  for (int precision = 1; precision <= 16; ++precision) {
    std::snprintf(text, sizeof(text), "%.*e", precision, ohms);
    if (std::strtod(text, nullptr) == ohms) break;
  }
  return text;
}

std::string ResistanceText(const std::string& text) {
  if (text.empty()) return text;
  errno = 0;
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (errno != 0 || end == text.c_str() || *end != '\0' || !std::isfinite(value)) return text;
  return FormatResistance(value);
}

std::string SlotLabel(int group, int slot) {
  return std::string(1, kGroupLetters[group]) + static_cast<char>('0' + slot);
}

}  // namespace qv70::sim
