#include "core/view/page_layout.h"

namespace qv70 {

ViewLayout LayoutView(int cx, int cy) {
  ViewLayout layout;
  layout.tabControl = {0, 0, cx, cy};
  layout.page = {2, 22, 2 + (cx - 6), 22 + (cy - 28)};
  layout.reportChart = {10, 25, cx - 10, cy / 3};
  return layout;
}

ManualPageLayout LayoutManualPage(int w, int h, bool stepGraph) {
  ManualPageLayout layout;
  if (stepGraph) {
    const int e = h * 3 / 5;
    const int d = e - 60;
    layout.groupTabs = {0, 0, w, d};
    layout.tablePanel = {4, 25, w - 14, e - 74};
    layout.dataSelect = {0, d, w, d + 60};
    layout.stepGraph = {0, e, w, h + 2};
  } else {
    const int d = h - 60;
    layout.groupTabs = {0, 0, w, d};
    layout.tablePanel = {4, 25, w - 14, h - 74};
    layout.dataSelect = {0, d, w, h};
    layout.stepGraph = {0, h + 1, w, h + 2};
  }
  return layout;
}

LoggingPageLayout LayoutLoggingPage(int w, int h, bool loggingGraph) {
  LoggingPageLayout layout;
  if (loggingGraph) {
    const int e = h * 3 / 5;
    layout.setTabs = {0, 0, w - 200, e};
    layout.tablePanel = {4, 25, w - 214, e - 14};
    layout.header = {w - 200, 0, w, e};
    layout.loggingGraph = {0, e, w, h + 2};
  } else {
    layout.setTabs = {0, 0, w - 200, h + 2};
    layout.tablePanel = {4, 25, w - 214, h - 12};
    layout.header = {w - 200, 0, w, h + 2};
    layout.loggingGraph = {0, h, w, h};
  }
  return layout;
}

ManualPageLayout LayoutStepGraphSwitch(int viewWidth, int viewHeight, bool ticked) {
  const int W = viewWidth;
  const int H = viewHeight;
  const int e = H * 3 / 5;
  ManualPageLayout layout;
  if (ticked) {
    layout.groupTabs = {0, 0, W - 5, e - 78};
    layout.tablePanel = {4, 25, W - 18, e - 90};
    layout.dataSelect = {0, e - 78, W - 5, e - 18};
    layout.stepGraph = {0, e - 18, W - 5, H - 26};
  } else {
    layout.groupTabs = {0, 0, W - 5, H - 85};
    layout.tablePanel = {4, 25, W - 18, H - 95};
    layout.dataSelect = {0, H - 85, W - 5, H - 28};
    layout.stepGraph = {0, H - 1, W - 5, H};
  }
  return layout;
}

LoggingPageLayout LayoutLoggingGraphSwitch(int viewWidth, int viewHeight, bool ticked) {
  const int W = viewWidth;
  const int H = viewHeight;
  const int e = H * 3 / 5;
  LoggingPageLayout layout;
  if (ticked) {
    layout.setTabs = {0, 0, W - 206, e - 18};
    layout.tablePanel = {4, 25, W - 220, e - 32};
    layout.header = {W - 206, 0, W - 6, e - 18};
    layout.loggingGraph = {0, e - 18, W - 6, H - 26};
  } else {
    layout.setTabs = {0, 0, W - 206, H - 26};
    layout.tablePanel = {4, 25, W - 220, H - 40};
    layout.header = {W - 206, 0, W - 6, H - 26};
    layout.loggingGraph = {0, H, W, H};
  }
  return layout;
}

DataSelectLayout LayoutDataSelect(int w, int h) {
  return {{0, 0, w, h}, {w - 140, 20, w - 20, h - 10}};
}

GraphPanelLayout LayoutGraphPanel(int w, int h) {
  return {{0, 0, w, h}, {10, 10, w - 10, h - 10}};
}

}  // namespace qv70
