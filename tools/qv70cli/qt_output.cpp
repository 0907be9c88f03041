#include "qt_output.h"

#include <cstdio>
#include <string_view>

#include "commands.h"
#include "core/files/atomic_file.h"

namespace qv70::cli {
namespace {

void KeepOnlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

std::unique_ptr<QGuiApplication> OffscreenApplication() {
  static char name[] = "qv70cli", platform[] = "-platform", offscreen[] = "offscreen";
  static char* argv[] = {name, platform, offscreen, nullptr};
  static int argc = 3;
  qInstallMessageHandler(KeepOnlyQtErrors);
  return std::make_unique<QGuiApplication>(argc, argv);
}

int WriteOutput(const std::string& path, const QByteArray& bytes, const std::string& what) {
  if (bytes.isEmpty()) return Refuse("Cannot draw the " + what + ".");
  const Result written =
      WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (written) return kExitOk;
  return Refuse("Cannot write " + path + (written.message.empty() ? "." : ": " + written.message));
}

}  // namespace qv70::cli
