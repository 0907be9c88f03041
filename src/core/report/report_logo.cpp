#include "core/report/report_logo.h"

#include "core/picture/picture_image.h"
#include "core/platform/environment.h"

namespace qv70 {

LogoSource LoadReportLogo(PictureImage& logo, const std::string& picturePath, const std::string& programDirectory,
                          const PlatformPictureDecoder* platform) {
  if (!picturePath.empty() && FileExists(picturePath) && logo.LoadFile(picturePath, platform).ok) {
    return LogoSource::Chosen;
  }
  const std::string fallback = JoinPath(programDirectory, kFallbackLogoName);
  if (FileExists(fallback) && logo.LoadFile(fallback, platform).ok) return LogoSource::Fallback;
  logo = PictureImage();
  return LogoSource::None;
}

}  // namespace qv70
