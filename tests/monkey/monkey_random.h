#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace qv70::monkey {

// The run's one source of choices. mt19937_64 is the same on every standard
// library, and every draw goes through Below, so a seed replays the same run.
class MonkeyRandom {
 public:
  explicit MonkeyRandom(std::uint64_t seed) : engine_(seed) {}

  // 0 .. count-1; 0 for a count of 0 or less.
  int Below(int count) {
    if (count <= 0) return 0;
    return static_cast<int>(engine_() % static_cast<std::uint64_t>(count));
  }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T>
  const T& Pick(const std::vector<T>& items) {
    return items[static_cast<size_t>(Below(static_cast<int>(items.size())))];
  }
  // An index into `weights`, each entry as likely as its weight.
  int Weighted(const std::vector<int>& weights) {
    int total = 0;
    for (int weight : weights) total += weight;
    int draw = Below(total);
    for (size_t index = 0; index < weights.size(); ++index) {
      if (draw < weights[index]) return static_cast<int>(index);
      draw -= weights[index];
    }
    return 0;
  }

 private:
  std::mt19937_64 engine_;
};

}  // namespace qv70::monkey
