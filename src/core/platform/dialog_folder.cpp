#include "core/platform/dialog_folder.h"

namespace qv70 {

std::string DialogFolder::StartPath(const std::string& initialName) const {
  if (folder_.empty() || initialName.find('/') != std::string::npos) return initialName;
  if (initialName.empty()) return folder_;
  return folder_ == "/" ? "/" + initialName : folder_ + "/" + initialName;
}

void DialogFolder::Remember(const std::string& chosenPath) {
  const size_t slash = chosenPath.rfind('/');
  // A name without a folder tells nothing about where the operator was.
  if (slash == std::string::npos) return;
  folder_ = slash == 0 ? "/" : chosenPath.substr(0, slash);
}

}  // namespace qv70
