#pragma once

#include <string>

namespace qv70 {

// The desktop's "open" action for a file or a web address.
class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  // `target`: an absolute file path or an http(s) address. False when the
  // desktop could not open it.
  virtual bool Open(const std::string& target) = 0;
};

class QtDesktopShell : public DesktopShell {
 public:
  bool Open(const std::string& target) override;
};

}  // namespace qv70
