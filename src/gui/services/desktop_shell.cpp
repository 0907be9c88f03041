#include "gui/services/desktop_shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace qv70 {

bool QtDesktopShell::Open(const std::string& target) {
  const QString text = QString::fromStdString(target);
  const bool web = text.startsWith("http://") || text.startsWith("https://");
  return QDesktopServices::openUrl(web ? QUrl(text) : QUrl::fromLocalFile(text));
}

}  // namespace qv70
