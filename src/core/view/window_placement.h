#pragma once

#include <vector>

#include "core/files/config_settings.h"

namespace qv70 {

// The main window's smallest size, its frame included.
constexpr int kMinWindowWidth = 800;
constexpr int kMinWindowHeight = 600;

// Where the main window's frame goes at start. `stored` is the rectangle read
// from WNDRECT, whatever integers the file held; `screens` is the available
// area of each screen (without panels), the primary screen first.
//
// The stored rectangle is kept, grown to the smallest size, when the screens
// cover it. One they do not cover is moved onto the screen it overlaps most
// (the primary one when it overlaps none) and shrunk to that screen's size
// where it is larger, so no edited or stale value can ask for a window the
// desktop cannot show. Without any screen the default rectangle is used.
WindowRect PlaceMainWindow(const WindowRect& stored, const std::vector<WindowRect>& screens);

}  // namespace qv70
