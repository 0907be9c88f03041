// picture: a logo file decoded as the report settings load it, and written
// again as BMP, so that a picture can be checked before a report. JPEG and
// GIF go through Qt's reader where the tool is built with the window layer.

#include <cstdio>

#include "commands.h"
#include "core/picture/picture_image.h"
#ifdef QV70_CLI_GRAPH
#include <QLoggingCategory>

#include "gui/draw/qt_picture.h"
#endif

namespace qv70::cli {

namespace {

const PlatformPictureDecoder* PlatformDecoder() {
#ifdef QV70_CLI_GRAPH
  // The refusal names the file and the reason; Qt's own warnings about the
  // same data would only come first on standard error.
  QLoggingCategory::setFilterRules("qt.gui.imageio*=false");
  static const QtPictureDecoder decoder;
  return &decoder;
#else
  return nullptr;
#endif
}

}  // namespace

int RunPicture(Arguments args) {
  if (args.empty() || args.size() > 2 || HasLeftoverOption(args)) return kExitUsage;
  PictureImage image;
  if (Result loaded = image.LoadFile(args[0], PlatformDecoder()); !loaded) return Refuse(loaded.message);
  if (args.size() == 2) {
    if (Result saved = image.SaveFile(args[1]); !saved) return Refuse(saved.message);
  }
  std::printf("picture\t%d\t%d\t%d\t%u\n", image.Width(), image.Height(), image.BitsPerPixel(),
              static_cast<unsigned>(image.Header().compression));
  return kExitOk;
}

}  // namespace qv70::cli
