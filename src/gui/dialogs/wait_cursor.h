#pragma once

namespace qv70 {

// The wait cursor over every window of the program while it lives: an
// instrument exchange blocks the window, which should say so. Restored however
// the scope is left.
class ScopedWaitCursor {
 public:
  ScopedWaitCursor();
  ~ScopedWaitCursor();
  ScopedWaitCursor(const ScopedWaitCursor&) = delete;
  ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
};

}  // namespace qv70
