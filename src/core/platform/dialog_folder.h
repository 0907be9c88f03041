#pragma once

#include <string>

namespace qv70 {

// The folder the file dialogs start in: the one the operator last chose a file
// in, kept for the run only. Before any choice a dialog starts where it is
// told (the working folder for a bare name).
class DialogFolder {
 public:
  // Where a dialog asked to start at `initialName` opens: a bare file name (or
  // none) in the folder last used; a name with a folder of its own as it is.
  std::string StartPath(const std::string& initialName) const;
  // `chosenPath` was picked in a dialog: its folder is the next start.
  void Remember(const std::string& chosenPath);

 private:
  std::string folder_;
};

}  // namespace qv70
