#pragma once

#include "core/platform/dialog_folder.h"
#include "core/platform/ui_services.h"

class QWidget;

namespace qv70 {

// The operator's side of UiServices: modal message boxes and file dialogs owned
// by `owner` (none before the main window exists). A message box shows the
// ordinary pointer even while an instrument job has set the wait cursor. The
// file dialogs start in the folder last chosen and never look into a file to
// pick its icon.
class QtUiServices : public UiServices {
 public:
  explicit QtUiServices(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }

  MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                            MessageButtons buttons, MessageIcon icon) override;
  bool AskOpenFileName(const FileDialogRequest& request, std::string& path) override;
  bool AskSaveFileName(const FileDialogRequest& request, std::string& path) override;

 private:
  bool AskFileName(const FileDialogRequest& request, bool save, std::string& path);

  QWidget* owner_;
  DialogFolder folder_;
};

// "*.csv (*.csv)": the one entry of a file dialog's type list.
std::string FileDialogFilter(const FileDialogRequest& request);

}  // namespace qv70
