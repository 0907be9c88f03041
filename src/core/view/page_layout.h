#pragma once

namespace qv70 {

// A rectangle as left, top, right, bottom in its parent's client coordinates.
struct LayoutRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const LayoutRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// The main view resized to cx x cy: the main tab control, each page inside it
// and the hidden report chart.
struct ViewLayout {
  LayoutRect tabControl;
  LayoutRect page;
  LayoutRect reportChart;
};
ViewLayout LayoutView(int cx, int cy);

// The Manual Data page resized to w x h, with or without the step graph.
struct ManualPageLayout {
  LayoutRect groupTabs;
  LayoutRect tablePanel;  // inside the group tabs
  LayoutRect dataSelect;
  LayoutRect stepGraph;
};
ManualPageLayout LayoutManualPage(int w, int h, bool stepGraph);

// The Logging Data page resized to w x h, with or without the logging graph.
struct LoggingPageLayout {
  LayoutRect setTabs;
  LayoutRect tablePanel;  // inside the set tabs
  LayoutRect header;
  LayoutRect loggingGraph;
};
LoggingPageLayout LayoutLoggingPage(int w, int h, bool loggingGraph);

// The "Step Graph" and "Logging Graph" switches place the page's children
// from the view's client size W x H.
ManualPageLayout LayoutStepGraphSwitch(int viewWidth, int viewHeight, bool ticked);
LoggingPageLayout LayoutLoggingGraphSwitch(int viewWidth, int viewHeight, bool ticked);

// The Data Select bar (w x h): its group box and its "Step Graph" check box.
struct DataSelectLayout {
  LayoutRect groupBox;
  LayoutRect stepGraphCheck;
};
DataSelectLayout LayoutDataSelect(int w, int h);

// A graph panel (w x h): its group box and its chart.
struct GraphPanelLayout {
  LayoutRect groupBox;
  LayoutRect chart;
};
GraphPanelLayout LayoutGraphPanel(int w, int h);

}  // namespace qv70
