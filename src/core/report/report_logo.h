#pragma once

#include <string>

namespace qv70 {

class PictureImage;
class PlatformPictureDecoder;

// The picture shipped beside the program, used when the chosen one fails.
inline constexpr const char* kFallbackLogoName = "Logo_ZAVEL.bmp";

enum class LogoSource { Chosen, Fallback, None };

// The report's logo as Finish loads it: the picture at `picturePath` when it
// names a file that decodes, else the fallback of `programDirectory`, else
// none, and then `logo` is left empty so no earlier picture is printed.
LogoSource LoadReportLogo(PictureImage& logo, const std::string& picturePath, const std::string& programDirectory,
                          const PlatformPictureDecoder* platform = nullptr);

}  // namespace qv70
