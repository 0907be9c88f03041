#pragma once

#include <QTimer>
#include <vector>

namespace qv70::test {

// Records the program's override cursor (its Qt::CursorShape, -1 for none)
// each time events are processed while it lives; an instrument job processes
// them before every exchange.
class OverrideCursorWatch {
 public:
  OverrideCursorWatch();
  OverrideCursorWatch(const OverrideCursorWatch&) = delete;
  OverrideCursorWatch& operator=(const OverrideCursorWatch&) = delete;

  const std::vector<int>& Shapes() const { return shapes_; }

 private:
  QTimer timer_;
  std::vector<int> shapes_;
};

}  // namespace qv70::test
