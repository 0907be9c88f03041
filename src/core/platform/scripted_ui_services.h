#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/platform/dialog_folder.h"
#include "core/platform/ui_services.h"

namespace qv70 {

// A UiServices that records every question and answers from queues, so that
// every dialog flow runs without a display. An empty answer queue answers the
// first button (Ok or Yes); an empty file-name queue cancels the dialog. File
// dialogs start where the window's would: in the folder last chosen.
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
  // Where each file dialog, open or save, started, in order.
  std::vector<std::string> startPaths;

 private:
  bool AskFileName(const FileDialogRequest& request, std::deque<std::string>& names,
                   std::string& path);

  DialogFolder folder_;
};

}  // namespace qv70
