// picture: a logo file decoded as the report settings load it, and written
// again as BMP, so that a picture can be checked before a report.

#include <cstdio>

#include "commands.h"
#include "core/picture/picture_image.h"

namespace qv70::cli {

int RunPicture(Arguments args) {
  if (args.empty() || args.size() > 2 || HasLeftoverOption(args)) return kExitUsage;
  PictureImage image;
  if (Result loaded = image.LoadFile(args[0]); !loaded) return Refuse(loaded.message);
  if (args.size() == 2) {
    if (Result saved = image.SaveFile(args[1]); !saved) return Refuse(saved.message);
  }
  std::printf("picture\t%d\t%d\t%d\t%u\n", image.Width(), image.Height(), image.BitsPerPixel(),
              static_cast<unsigned>(image.Header().compression));
  return kExitOk;
}

}  // namespace qv70::cli
