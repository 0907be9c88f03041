#include "instrument_memory.h"

#include <cctype>
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
  // Only a plain decimal number is the program's whole ohms; anything else
  // (marks, an exponent form with its capital "E" error sense, empty) is kept.
  size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  size_t digits = 0, points = 0;
  for (; i < text.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(text[i])))
      ++digits;
    else if (text[i] == '.' && points == 0)
      ++points;
    else
      return text;
  }
  if (digits == 0) return text;
  double value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value) ? FormatResistance(value) : text;
}

std::string SlotLabel(int group, int slot) {
  return std::string(1, kGroupLetters[group]) + static_cast<char>('0' + slot);
}

}  // namespace qv70::sim
