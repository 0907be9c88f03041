#pragma once

#include <string>

namespace qv70 {

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageIcon { None, Warning, Information, Question, Error };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What a file dialog shows. `filterDescription` is the one entry of the file-type
// list (for example "*.csv") and `filterPattern` what it matches ("*.csv").
struct FileDialogRequest {
  std::string title;
  std::string filterDescription;
  std::string filterPattern;
  std::string initialName;
};

// The modal questions the core puts to the operator. The window layer shows them;
// tests answer them from a script. Core commands never show anything themselves.
class UiServices {
 public:
  virtual ~UiServices() = default;

  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) = 0;
  // Each returns false when the operator cancels; otherwise fills `path`. A
  // dialog starts in the folder last chosen in this run (DialogFolder).
  virtual bool AskOpenFileName(const FileDialogRequest& request, std::string& path) = 0;
  virtual bool AskSaveFileName(const FileDialogRequest& request, std::string& path) = 0;
};

}  // namespace qv70
