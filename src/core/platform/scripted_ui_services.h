#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/platform/ui_services.h"

namespace qv70 {

// A UiServices that records every question and answers from queues, so that
// every dialog flow runs without a display. An empty answer queue answers the
// first button (Ok or Yes); an empty file-name queue cancels the dialog.
class ScriptedUiServices : public UiServices {
 public:
  struct Message {
    std::string text;
    std::string caption;
    MessageButtons buttons;
    MessageIcon icon;
  };

  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) override;
  bool AskOpenFileName(const FileDialogRequest& request, std::string& path) override;
  bool AskSaveFileName(const FileDialogRequest& request, std::string& path) override;

  std::deque<MessageAnswer> answers;
  std::deque<std::string> openNames;  // an empty string cancels
  std::deque<std::string> saveNames;  // an empty string cancels

  std::vector<Message> messages;
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
};

}  // namespace qv70
