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

// What a core job has to tell the operator, shown in an OK box; an empty
// text means there is nothing to tell (or it has been told already).
struct OperatorMessage {
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
  bool Empty() const { return text.empty(); }
};

// The modal questions the core puts to the operator. The window layer shows them;
// tests answer them from a script. Core commands never show anything themselves.
class UiServices {
 public:
  virtual ~UiServices() = default;

  virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) = 0;
  // Each returns false when the operator cancels; otherwise fills `path`. The
  // window's dialogs start in the folder last chosen in this run (DialogFolder).
  virtual bool AskOpenFileName(const FileDialogRequest& request, std::string& path) = 0;
  virtual bool AskSaveFileName(const FileDialogRequest& request, std::string& path) = 0;

  // An OK box with `message`; nothing for an empty one.
  void Tell(const OperatorMessage& message) {
    if (!message.Empty()) ShowMessage(message.text, message.caption, MessageButtons::Ok, message.icon);
  }
};

}  // namespace qv70
