// Where the main window starts: the stored rectangle when the screens show
// it, else one that fits, whatever WNDRECT holds.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

#include "core/view/window_placement.h"

namespace qv70 {

std::ostream& operator<<(std::ostream& out, const WindowRect& r) {
  return out << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

namespace {

// A 1920 x 1080 screen with a 40-pixel panel at the bottom.
const std::vector<WindowRect> kOneScreen = {{0, 0, 1920, 1040}};
// The primary 1920 x 1040 and, to its right, a 1280 x 1024 screen.
const std::vector<WindowRect> kTwoScreens = {{0, 0, 1920, 1040}, {1920, 0, 3200, 1024}};

TEST(PlaceMainWindow, KeepsWhatTheScreensShowAndFitsTheRest) {
  const struct {
    const char* name;
    WindowRect stored;
    std::vector<WindowRect> screens;
    WindowRect placed;
  } rows[] = {
      {"defaults", {0, 0, 800, 600}, kOneScreen, {0, 0, 800, 600}},
      {"inside the screen", {100, 50, 1000, 750}, kOneScreen, {100, 50, 1000, 750}},
      {"exactly the screen", {0, 0, 1920, 1040}, kOneScreen, {0, 0, 1920, 1040}},
      {"below the smallest size", {20, 30, 20, 30}, kOneScreen, {20, 30, 820, 630}},
      {"huge bottom", {0, 0, 800, 2000000000}, kOneScreen, {0, 0, 800, 1040}},
      {"huge negative left", {-2000000000, 0, 800, 600}, kOneScreen, {0, 0, 1920, 600}},
      {"whole int range", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, kOneScreen, {0, 0, 1920, 1040}},
      {"larger than the screen", {10, 10, 2500, 1500}, kOneScreen, {0, 0, 1920, 1040}},
      {"partly off to the right", {1500, 100, 2300, 700}, kOneScreen, {1120, 100, 1920, 700}},
      {"partly off above", {300, -200, 1100, 400}, kOneScreen, {300, 0, 1100, 600}},
      {"off-screen to the right", {5000, 100, 5900, 800}, kOneScreen, {1020, 100, 1920, 800}},
      {"off-screen above and left", {-3000, -3000, -2000, -2000}, kOneScreen, {0, 0, 1000, 1000}},
      {"on the second screen", {2000, 100, 3000, 900}, kTwoScreens, {2000, 100, 3000, 900}},
      {"across both screens", {1500, 100, 2500, 900}, kTwoScreens, {1500, 100, 2500, 900}},
      {"across, below the shorter screen", {1500, 400, 2500, 1040}, kTwoScreens, {1920, 384, 2920, 1024}},
      {"mostly on the second, too tall", {2000, 0, 2900, 1040}, kTwoScreens, {2000, 0, 2900, 1024}},
      {"maximised on the second", {1920, 0, 3200, 1024}, kTwoScreens, {1920, 0, 3200, 1024}},
      {"screen below the smallest size", {0, 0, 800, 600}, {{0, 0, 640, 480}}, {0, 0, 800, 600}},
      {"no screens", {5000, 5000, 9000, 9000}, {}, {0, 0, 800, 600}},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PlaceMainWindow(row.stored, row.screens), row.placed) << row.name;
  }
}

TEST(PlaceMainWindow, APlacedWindowIsPlacedAgainUnchanged) {
  const WindowRect stored[] = {{-2000000000, 5, 7, 2000000000}, {4000, 0, 4900, 700}, {0, 0, 0, 0}};
  for (const WindowRect& rect : stored) {
    const WindowRect once = PlaceMainWindow(rect, kTwoScreens);
    EXPECT_EQ(PlaceMainWindow(once, kTwoScreens), once) << rect;
  }
}

}  // namespace
}  // namespace qv70
