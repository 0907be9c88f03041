#pragma once

#include <vector>

#include "core/platform/ui_services.h"
#include "gui/services/qt_ui_services.h"

namespace qv70::monkey {

class MonkeyRandom;
class MonkeyWorld;

// The operator's answers, chosen at random: a message box answered at once
// with one of its buttons, or shown for real for the monkey to click; a file
// dialog answered with a path from the world's pool, cancelled, or shown
// for real. Every question is noted in the step log.
class MonkeyUiServices : public UiServices {
 public:
  MonkeyUiServices(MonkeyRandom& random, MonkeyWorld& world) : random_(random), world_(world) {}

  void SetOwner(QWidget* owner) { real_.SetOwner(owner); }
  // While the monkey closes the program: no to saving, no real boxes.
  void SetClosing(bool closing) { closing_ = closing; }
  int Questions() const { return questions_; }

  // The question of the real file dialog shown now, for the monkey to answer.
  struct FileQuestion {
    FileDialogRequest request;
    bool save = false;
  };
  const FileQuestion* ShownFileQuestion() const { return pending_.empty() ? nullptr : &pending_.back(); }

  MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons,
                            MessageIcon icon) override;
  bool AskOpenFileName(const FileDialogRequest& request, std::string& path) override;
  bool AskSaveFileName(const FileDialogRequest& request, std::string& path) override;

 private:
  bool AskFileName(const FileDialogRequest& request, bool save, std::string& path);

  MonkeyRandom& random_;
  MonkeyWorld& world_;
  QtUiServices real_;
  std::vector<FileQuestion> pending_;
  bool closing_ = false;
  int questions_ = 0;
};

}  // namespace qv70::monkey
