#include "core/report/report_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/chart/chart_ctrl.h"
#include "core/data/values.h"
#include "core/draw/surface.h"
#include "core/rtf/text_codec.h"

namespace qv70 {

namespace {

constexpr std::size_t kPaperCount = 4;
template <typename T>
using PerPaper = std::array<T, kPaperCount>;

std::size_t PaperIndex(PaperSize paper) {
  const auto index = static_cast<std::size_t>(paper);
  return index < kPaperCount ? index : 0;
}

// ---- Pens and fonts -------------------------------------------------------

constexpr const char* kFace = "Arial";
const Pen kThickPen = Pen::Solid(2, kBlack);
const Pen kThinPen = Pen::Solid(1, kBlack);

Font BaseFont() { return Font::Points(kFace, 140); }
Font B5TextFont() { return Font::Points(kFace, 110); }
Font LogoTextFont() { return Font::Points(kFace, 230); }
Font CommentFont(PaperSize paper) { return Font::Points(kFace, paper == PaperSize::B5 ? 85 : 90); }

// ---- Tables ---------------------------------------------------------------

// A text that is not on a paper at all.
constexpr Rect kNowhere{};

enum class TextFont { Current, Author, Comment };

// One text of a page table: a fixed label, or the page text of that name.
// Every table gives its rectangles in paper order: A4, B5, Letter, Legal.
struct PageItem {
  const char* label;  // null for a page text
  const char* name;   // the page text; null for a label
  PerPaper<Rect> rects;
  PerPaper<TextPlacement> placements;
  TextFont font;
};

constexpr PerPaper<TextPlacement> Everywhere(TextPlacement placement) {
  return {placement, placement, placement, placement};
}

constexpr PageItem Label(const char* text, Rect a4, Rect b5, Rect letter, Rect legal) {
  return {text, nullptr, {a4, b5, letter, legal}, Everywhere(TextPlacement::Left), TextFont::Current};
}

constexpr PageItem Value(const char* name, Rect a4, Rect b5, Rect letter, Rect legal,
                         PerPaper<TextPlacement> placements = Everywhere(TextPlacement::Left),
                         TextFont font = TextFont::Current) {
  return {nullptr, name, {a4, b5, letter, legal}, placements, font};
}

struct Items {
  const PageItem* first = nullptr;
  const PageItem* last = nullptr;
  const PageItem* begin() const { return first; }
  const PageItem* end() const { return last; }
};

template <std::size_t N>
constexpr Items AllOf(const PageItem (&items)[N]) {
  return {items, items + N};
}

constexpr PageItem kFrameLabels[] = {
    Label("Data Name", {258, 42, 358, 78}, {258, 42, 358, 78}, {258, 42, 358, 78}, {258, 42, 358, 78}),
    Label("Date", {258, 82, 358, 118}, {258, 82, 358, 118}, {258, 82, 358, 118}, {258, 82, 358, 118}),
    Label("Author", {484, 82, 578, 118}, {428, 82, 518, 118}, {492, 82, 578, 118}, {492, 82, 578, 118}),
    Label("Comment", {258, 122, 358, 158}, {258, 122, 358, 158}, {258, 122, 358, 158}, {258, 122, 358, 158}),
    Label("QV70 S/N", {258, 212, 358, 248}, {258, 212, 358, 248}, {258, 212, 358, 248}, {258, 212, 358, 248}),
    Label("Date:", {100, 280, 250, 300}, {50, 280, 200, 300}, {100, 280, 250, 300}, {100, 340, 250, 360}),
    Label("Time:", {100, 300, 250, 320}, {50, 300, 200, 320}, {100, 300, 250, 320}, {100, 360, 250, 380}),
    Label("Test Method:", {100, 340, 250, 360}, {50, 340, 200, 360}, {100, 340, 250, 360},
          {100, 440, 250, 460}),
    Label("Temperature:", {100, 380, 250, 420}, {50, 380, 200, 420}, {100, 380, 250, 420},
          {100, 480, 250, 520}),
    Label("Humidity:", {100, 410, 250, 435}, {50, 410, 200, 435}, {100, 410, 250, 435}, {100, 510, 250, 535}),
    Label("Set Voltage:", {100, 495, 250, 520}, {50, 495, 200, 520}, {100, 495, 250, 520},
          {100, 595, 250, 620}),
    Label("Output Voltage:", {100, 520, 250, 545}, {50, 520, 200, 545}, {100, 520, 250, 545},
          {100, 620, 250, 645}),
    Label("Resistance:", {100, 545, 250, 565}, {50, 545, 200, 565}, {100, 545, 250, 565},
          {100, 645, 250, 665}),
    Label("Leak Current:", {100, 570, 250, 590}, {50, 570, 200, 590}, {100, 570, 250, 590},
          {100, 670, 250, 690}),
};

constexpr PageItem kFooter = {
    "ZAVEL Corporation",
    nullptr,
    {Rect{40, 1040, 730, 1060}, Rect{40, 890, 620, 920}, Rect{40, 970, 745, 1000}, Rect{40, 1240, 745, 1260}},
    {TextPlacement::Right, TextPlacement::TopRight, TextPlacement::TopRight, TextPlacement::Right},
    TextFont::Current};

constexpr PerPaper<Rect> kCompanyTextRects = {
    {{45, 60, 245, 205}, {45, 45, 245, 205}, {45, 60, 245, 205}, {45, 45, 245, 205}}};

// The row of the interval, test time or step interval, whichever the kind has.
constexpr const char* kIntervalRow = "interval";

constexpr PerPaper<TextPlacement> kTestMethodPlacements = {TextPlacement::TopLeft, TextPlacement::Left,
                                                           TextPlacement::TopLeft, TextPlacement::TopLeft};

constexpr PageItem kCommonTexts[] = {
    Value("title", {41, 211, 249, 249}, {41, 211, 249, 249}, {41, 211, 249, 249}, {41, 211, 249, 249},
          Everywhere(TextPlacement::Centre)),
    Value("data-name", {368, 42, 726, 78}, {344, 42, 618, 78}, {368, 42, 726, 78}, {368, 42, 726, 78}),
    Value("date", {368, 82, 470, 118}, {342, 82, 420, 118}, {368, 82, 470, 118}, {368, 82, 470, 118}),
    Value("author", {552, 82, 725, 118}, {482, 82, 610, 118}, {568, 82, 728, 118}, {568, 82, 728, 118},
          Everywhere(TextPlacement::Left), TextFont::Author),
    Value("comment", {368, 130, 728, 208}, {340, 122, 618, 208}, {368, 130, 728, 208}, {368, 130, 728, 208},
          Everywhere(TextPlacement::Wrap), TextFont::Comment),
    Value("serial", {368, 212, 728, 248}, {344, 212, 728, 248}, {368, 212, 728, 248}, {368, 212, 728, 248}),
    Value("record-date", {250, 280, 550, 300}, {155, 280, 500, 300}, {250, 280, 550, 300},
          {250, 340, 550, 360}),
    Value("record-time", {250, 300, 550, 320}, {155, 300, 500, 320}, {250, 300, 550, 320},
          {250, 360, 550, 380}),
    Value("test-method", {250, 340, 550, 370}, {155, 340, 500, 360}, {250, 340, 550, 370},
          {250, 440, 550, 470}, kTestMethodPlacements),
    Value("temperature", {250, 380, 550, 420}, {155, 380, 500, 420}, {250, 380, 550, 420},
          {250, 480, 550, 520}),
    Value("humidity", {250, 410, 550, 430}, {155, 410, 500, 430}, {250, 410, 550, 430}, {250, 510, 550, 530}),
    Value(kIntervalRow, {250, 470, 550, 490}, {155, 470, 500, 490}, {250, 470, 550, 490},
          {250, 570, 550, 590}),
    Value("set-voltage", {250, 495, 550, 515}, {155, 495, 500, 515}, {250, 495, 550, 515},
          {250, 595, 550, 615}),
    Value("output-voltage", {250, 520, 550, 540}, {155, 520, 500, 540}, {250, 520, 550, 540},
          {250, 620, 550, 640}),
    Value("resistance", {250, 545, 550, 565}, {155, 545, 500, 565}, {250, 545, 550, 565},
          {250, 645, 550, 665}),
    Value("leak-current", {250, 570, 550, 590}, {155, 570, 500, 590}, {250, 570, 550, 590},
          {250, 670, 550, 690}),
};

// Where a kind moves a common text on one paper; the placement stays.
struct Deviation {
  PageKind kind;
  PaperSize paper;
  const char* name;
  Rect rect;
};

constexpr Deviation kDeviations[] = {
    {PageKind::TC, PaperSize::A4, "comment", {368, 122, 728, 208}},
    {PageKind::TC, PaperSize::B5, "comment", {340, 130, 618, 208}},
    {PageKind::TC, PaperSize::A4, "test-time", {250, 470, 450, 490}},
    {PageKind::Logging, PaperSize::B5, "comment", {340, 122, 618, 210}},
    {PageKind::Step, PaperSize::A4, "record-date", {230, 280, 550, 300}},
    {PageKind::Step, PaperSize::A4, "record-time", {230, 300, 550, 320}},
    {PageKind::Step, PaperSize::A4, "test-method", {230, 340, 550, 370}},
    {PageKind::Step, PaperSize::A4, "temperature", {230, 380, 550, 420}},
    {PageKind::Step, PaperSize::A4, "humidity", {230, 410, 550, 430}},
    {PageKind::Step, PaperSize::A4, "step-interval", {230, 470, 550, 490}},
    {PageKind::Step, PaperSize::A4, "set-voltage", {230, 495, 550, 520}},
    {PageKind::Step, PaperSize::A4, "output-voltage", {230, 520, 550, 540}},
    {PageKind::Step, PaperSize::A4, "resistance", {230, 545, 550, 565}},
    {PageKind::Step, PaperSize::A4, "leak-current", {230, 570, 550, 590}},
    {PageKind::Step, PaperSize::B5, "record-date", {165, 280, 500, 310}},
    {PageKind::Step, PaperSize::B5, "record-time", {165, 300, 500, 330}},
    {PageKind::Step, PaperSize::B5, "test-method", {165, 340, 500, 370}},
    {PageKind::Step, PaperSize::B5, "temperature", {165, 380, 500, 430}},
    {PageKind::Step, PaperSize::B5, "humidity", {165, 410, 500, 440}},
    {PageKind::Step, PaperSize::B5, "step-interval", {165, 470, 500, 490}},
    {PageKind::Step, PaperSize::B5, "set-voltage", {165, 495, 500, 520}},
    {PageKind::Step, PaperSize::B5, "output-voltage", {165, 520, 500, 545}},
    {PageKind::Step, PaperSize::B5, "resistance", {165, 545, 500, 565}},
    {PageKind::Step, PaperSize::B5, "leak-current", {165, 570, 500, 590}},
    {PageKind::Step, PaperSize::Letter, "test-method", {230, 340, 550, 370}},
    {PageKind::Step, PaperSize::Legal, "test-method", {230, 440, 550, 470}},
};

// Each kind's table starts with its first label, which is drawn before the
// common texts.
constexpr PageItem kLoggingItems[] = {
    Label("Time Interval:", {100, 470, 250, 490}, {50, 470, 180, 490}, {100, 470, 250, 490},
          {100, 570, 250, 590}),
    Label("Data Number:", {100, 610, 250, 630}, {50, 610, 180, 630}, {100, 610, 250, 630},
          {100, 710, 250, 730}),
    Value("data-number", {250, 610, 550, 630}, {155, 610, 500, 630}, {250, 610, 550, 630}, kNowhere),
};

constexpr PageItem kNormalItems[] = {
    Label("Test Time:", {100, 470, 250, 490}, {50, 470, 180, 490}, {100, 470, 250, 490},
          {100, 570, 250, 590}),
    Label("DAR Value[1min/15s]:", {80, 690, 280, 720}, {60, 620, 220, 650}, {80, 630, 280, 660},
          {80, 790, 280, 820}),
    Value("dar15", {280, 690, 400, 720}, {220, 620, 340, 650}, {280, 630, 400, 660}, {280, 790, 400, 820}),
    Label("Resistance[1min]:", {340, 690, 510, 720}, {320, 620, 450, 650}, {340, 630, 510, 660},
          {340, 790, 510, 820}),
    Value("resistance-1min-a", {510, 690, 680, 720}, {460, 620, 660, 650}, {510, 630, 680, 660},
          {510, 790, 680, 820}),
    Label("Resistance[15s]:", {340, 720, 510, 740}, {320, 650, 450, 670}, {340, 660, 510, 680},
          {340, 820, 510, 840}),
    Value("resistance-15s", {510, 720, 680, 740}, {460, 650, 660, 670}, {510, 660, 680, 680},
          {510, 820, 680, 840}),
    Label("DAR Value[1min/30s]:", {80, 770, 280, 790}, {60, 690, 220, 710}, {80, 710, 280, 730},
          {80, 910, 280, 930}),
    Value("dar30", {280, 770, 400, 790}, {220, 690, 340, 710}, {280, 710, 400, 730}, {280, 910, 400, 930}),
    Label("Resistance[1min]:", {340, 770, 510, 790}, {320, 690, 450, 710}, {340, 710, 510, 730},
          {340, 910, 510, 930}),
    Value("resistance-1min-b", {510, 770, 680, 790}, {460, 690, 660, 710}, {510, 710, 680, 730},
          {510, 910, 680, 930}),
    Label("Resistance[30s]:", {340, 795, 510, 815}, {320, 715, 450, 735}, {340, 735, 510, 755},
          {340, 935, 510, 955}),
    Value("resistance-30s", {510, 795, 680, 815}, {460, 715, 660, 735}, {510, 735, 680, 755},
          {510, 935, 680, 955}),
    Label("PI Value[t2/t1]:", {80, 840, 280, 860}, {60, 750, 220, 770}, {80, 780, 280, 800},
          {80, 1000, 280, 1020}),
    Value("pi", {280, 840, 400, 860}, {220, 750, 340, 770}, {280, 780, 400, 800}, {280, 1000, 400, 1020}),
    Label("t2:", {380, 840, 510, 860}, {320, 750, 450, 770}, {340, 780, 510, 800}, {340, 1000, 510, 1020}),
    Value("t2", {510, 840, 720, 860}, {460, 750, 660, 770}, {510, 780, 720, 800}, {510, 1000, 680, 1020}),
    Label("t1:", {380, 865, 510, 885}, {320, 775, 450, 795}, {340, 805, 510, 825}, {340, 1025, 510, 1045}),
    Value("t1", {510, 865, 720, 885}, {460, 775, 660, 795}, {510, 805, 720, 825}, {510, 1025, 680, 1045}),
    Label("Resistance[t2]:", {340, 890, 510, 910}, {320, 800, 450, 820}, {340, 830, 510, 850},
          {340, 1050, 510, 1070}),
    Value("resistance-t2", {510, 890, 680, 910}, {460, 800, 660, 820}, {510, 830, 680, 850},
          {510, 1050, 680, 1070}),
    Label("Resistance[t1]:", {340, 915, 510, 935}, {320, 825, 450, 845}, {340, 855, 510, 875},
          {340, 1075, 510, 1095}),
    Value("resistance-t1", {510, 915, 680, 935}, {460, 825, 660, 845}, {510, 855, 680, 875},
          {510, 1075, 680, 1095}),
};

constexpr PageItem kTcItems[] = {
    Label("Test Time:", {100, 470, 250, 490}, {50, 470, 250, 490}, {100, 470, 250, 490},
          {100, 570, 250, 590}),
    Label("Table No.:", {140, 680, 300, 720}, {140, 640, 300, 680}, {140, 680, 300, 720},
          {140, 780, 300, 820}),
    Value("table-no", {310, 680, 630, 720}, {310, 640, 630, 680}, {310, 680, 630, 720}, {310, 780, 630, 820}),
    Label("Ref. Temperature:", {140, 740, 300, 780}, {140, 700, 300, 740}, {140, 740, 300, 780},
          {140, 840, 300, 880}),
    Value("ref-temperature", {310, 740, 630, 780}, {310, 700, 630, 740}, {310, 740, 630, 780},
          {310, 840, 630, 880}),
    Label("TC Resistance:", {140, 805, 300, 835}, {140, 765, 300, 795}, {140, 805, 300, 835},
          {140, 905, 300, 935}),
    Value("tc-resistance", {310, 805, 630, 835}, {310, 765, 630, 795}, {310, 805, 630, 835},
          {310, 905, 630, 935}),
};

constexpr PageItem kStepItems[] = {
    Label("Step Interval:", {100, 470, 250, 490}, {50, 470, 180, 490}, {100, 470, 250, 490},
          {100, 570, 250, 590}),
    Label("Step1 Output Voltage:", {410, 340, 630, 365}, {350, 340, 500, 365}, {410, 340, 630, 365},
          {410, 440, 630, 465}),
    Value("step1-voltage", {630, 340, 750, 360}, {500, 340, 660, 360}, {630, 340, 750, 360},
          {630, 440, 750, 460}),
    Label("Resistance:", {410, 365, 560, 385}, {350, 365, 470, 385}, {410, 365, 510, 385},
          {410, 465, 550, 485}),
    Value("step1-resistance", {550, 365, 700, 385}, {470, 365, 630, 385}, {550, 365, 700, 385},
          {550, 465, 700, 485}),
    Label("Step2 Output Voltage:", {410, 395, 630, 420}, {350, 395, 500, 420}, {410, 395, 630, 420},
          {410, 495, 630, 520}),
    Value("step2-voltage", {630, 395, 750, 415}, {500, 395, 660, 415}, {630, 395, 750, 415},
          {630, 495, 720, 515}),
    Label("Resistance:", {410, 420, 560, 440}, {350, 420, 470, 440}, {410, 420, 510, 440},
          {410, 520, 550, 540}),
    Value("step2-resistance", {550, 420, 700, 440}, {470, 420, 630, 440}, {550, 420, 700, 440},
          {550, 520, 700, 540}),
    Label("Step3 Output Voltage:", {410, 450, 630, 475}, {350, 450, 500, 475}, {410, 450, 630, 475},
          {410, 550, 630, 575}),
    Value("step3-voltage", {630, 450, 750, 470}, {500, 450, 660, 470}, {630, 450, 750, 470},
          {630, 550, 750, 570}),
    Label("Resistance:", {410, 475, 560, 495}, {350, 475, 470, 495}, {410, 475, 510, 495},
          {410, 575, 550, 595}),
    Value("step3-resistance", {550, 475, 700, 495}, {470, 475, 630, 495}, {550, 475, 700, 495},
          {550, 575, 700, 595}),
    Label("Step4 Output Voltage:", {410, 505, 630, 530}, {350, 505, 500, 530}, {410, 505, 600, 530},
          {410, 605, 630, 630}),
    Value("step4-voltage", {630, 505, 750, 525}, {500, 505, 660, 525}, {630, 505, 750, 525},
          {630, 605, 750, 625}),
    Label("Resistance:", {410, 530, 560, 550}, {350, 530, 470, 550}, {410, 530, 510, 550},
          {410, 630, 550, 650}),
    Value("step4-resistance", {550, 530, 700, 550}, {470, 530, 630, 550}, {550, 530, 700, 550},
          {550, 630, 700, 650}),
    Label("Step5 Output Voltage:", {410, 555, 630, 580}, {350, 555, 500, 580}, {410, 555, 630, 580},
          {410, 655, 630, 680}),
    Value("step5-voltage", {630, 560, 750, 575}, {500, 555, 660, 575}, {630, 555, 750, 575},
          {630, 655, 750, 675}),
    Label("Resistance:", {410, 580, 560, 600}, {350, 580, 470, 600}, {410, 580, 510, 600},
          {410, 680, 550, 700}),
    Value("step5-resistance", {550, 580, 700, 600}, {470, 580, 630, 600}, {550, 580, 700, 600},
          {550, 680, 700, 700}),
};

// The header block: outer box, header separator and header grid.
struct FrameShape {
  int right;
  int bottom;
  int valueColumn;  // the vertical between the header labels and their values
  int authorLeft;   // the short verticals around the "Author" label
  int authorRight;
};

constexpr PerPaper<FrameShape> kFrames = {{
    {730, 1000, 360, 478, 548},
    {620, 860, 338, 424, 476},
    {745, 940, 360, 480, 560},
    {745, 1200, 360, 480, 560},
}};

constexpr int kFrameEdge = 40;
constexpr int kLogoColumn = 250;
constexpr int kHeaderBottom = 250;
constexpr int kHeaderRows[] = {80, 120, 210};

// The Normal Test page's box.
constexpr PerPaper<Rect> kNormalBoxes = {
    {{60, 670, 710, 960}, {50, 600, 610, 850}, {60, 610, 725, 900}, {60, 770, 725, 1160}}};

// The TC Test page's three-row table.
struct RuledRows {
  std::array<int, 4> ys;
  int left;
  int right;
};

constexpr PerPaper<RuledRows> kTcTables = {{
    {{670, 730, 790, 850}, 100, 600},
    {{630, 690, 750, 810}, 100, 560},
    {{670, 730, 790, 850}, 100, 600},
    {{770, 830, 890, 950}, 100, 600},
}};

constexpr PerPaper<Rect> kGraphRects = {
    {{60, 670, 710, 980}, {45, 635, 615, 850}, {60, 650, 710, 930}, {60, 800, 710, 1100}}};

constexpr PerPaper<Rect> kPageNumberRects = {
    {{40, 1020, 730, 1040}, {40, 860, 620, 900}, {40, 950, 730, 970}, {40, 1200, 730, 1240}}};
constexpr PerPaper<Rect> kNormalPageNumberRects = {
    {{40, 1020, 730, 1040}, {40, 860, 620, 900}, {40, 950, 745, 970}, {40, 1220, 730, 1240}}};

constexpr PerPaper<int> kAuthorWidthLimits = {173, 128, 160, 160};

// The logo's box: its top-left corner and size.
constexpr int kLogoLeft = 45;
constexpr int kLogoTop = 45;
constexpr int kLogoWidth = 200;
constexpr int kLogoHeight = 160;

// What a kind draws besides the common texts.
struct KindLayout {
  Items items;
  bool itemsFirst;  // the whole table before the common texts (the step block)
  bool graph;
  const char* intervalName;
};

KindLayout LayoutOf(PageKind kind) {
  switch (kind) {
    case PageKind::Logging: return {AllOf(kLoggingItems), false, true, "interval"};
    case PageKind::Normal: return {AllOf(kNormalItems), false, false, "test-time"};
    case PageKind::TC: return {AllOf(kTcItems), false, false, "test-time"};
    case PageKind::Step: return {AllOf(kStepItems), true, true, "step-interval"};
  }
  return {AllOf(kLoggingItems), false, true, "interval"};
}

// ---- Drawing --------------------------------------------------------------

struct Line {
  Point from;
  Point to;
};

void DrawLines(Surface& surface, const std::vector<Line>& lines) {
  for (const Line& line : lines) surface.DrawLine(line.from, line.to);
}

// Corner to corner round the box, ending where it began.
void AppendBox(std::vector<Line>& lines, Rect box) {
  const Point corners[] = {
      {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
  for (std::size_t i = 0; i < 4; ++i) lines.push_back({corners[i], corners[(i + 1) % 4]});
}

std::vector<Line> ThickFrameLines(const FrameShape& frame) {
  std::vector<Line> lines;
  AppendBox(lines, {kFrameEdge, kFrameEdge, frame.right, frame.bottom});
  lines.push_back({{kFrameEdge, kHeaderBottom}, {frame.right, kHeaderBottom}});
  return lines;
}

std::vector<Line> ThinFrameLines(const FrameShape& frame) {
  std::vector<Line> lines;
  lines.push_back({{kLogoColumn, kFrameEdge}, {kLogoColumn, kHeaderBottom}});
  lines.push_back({{frame.valueColumn, kFrameEdge}, {frame.valueColumn, kHeaderBottom}});
  for (int y : kHeaderRows) lines.push_back({{kLogoColumn, y}, {frame.right, y}});
  for (int x : {frame.authorLeft, frame.authorRight})
    lines.push_back({{x, kHeaderRows[0]}, {x, kHeaderRows[1]}});
  return lines;
}

std::vector<Line> KindLines(PageKind kind, std::size_t paper) {
  std::vector<Line> lines;
  if (kind == PageKind::Normal) AppendBox(lines, kNormalBoxes[paper]);
  if (kind == PageKind::TC) {
    const RuledRows& table = kTcTables[paper];
    for (int y : table.ys) lines.push_back({{table.left, y}, {table.right, y}});
    for (int x : {table.left, table.right}) lines.push_back({{x, table.ys.front()}, {x, table.ys.back()}});
  }
  return lines;
}

void DrawInFont(Surface& surface, const Font& font, Rect rect, std::string_view text,
                TextPlacement placement) {
  const Font previous = surface.SelectFont(font);
  surface.DrawText(rect, text, placement);
  surface.SelectFont(previous);
}

void DrawLabel(Surface& surface, const PageItem& label, std::size_t paper) {
  surface.DrawText(label.rects[paper], label.label, label.placements[paper]);
}

void DrawFooter(Surface& surface, std::size_t paper) {
  const Rect rect = kFooter.rects[paper];
  const TextPlacement placement = kFooter.placements[paper];
  if (surface.CurrentFont() == BaseFont())
    surface.DrawText(rect, kFooter.label, placement);
  else
    DrawInFont(surface, BaseFont(), rect, kFooter.label, placement);
}

void DrawLogo(Surface& surface, const ReportSettings& settings, const BitmapView& logo) {
  if (!settings.logoOn) return;
  if (settings.logoKind == LogoKind::Text) {
    DrawInFont(surface, LogoTextFont(), kCompanyTextRects[PaperIndex(settings.paperSize)],
               settings.companyName, TextPlacement::WrapCentred);
  } else if (!logo.IsEmpty()) {
    surface.StretchBitmap(LogoDestination(logo.width, logo.height), logo);
  }
}

Rect DeviatedRect(PageKind kind, PaperSize paper, std::string_view name, Rect rect) {
  for (const Deviation& deviation : kDeviations)
    if (deviation.kind == kind && deviation.paper == paper && name == deviation.name) return deviation.rect;
  return rect;
}

void DrawPageText(Surface& surface, const PageItem& item, std::string_view name, Rect rect,
                  const ReportPage& page, PaperSize paper) {
  const std::string& text = page.Text(name);
  const TextPlacement placement = item.placements[PaperIndex(paper)];
  switch (item.font) {
    case TextFont::Current: surface.DrawText(rect, text, placement); break;
    case TextFont::Author:
      DrawInFont(surface, ReportAuthorFont(surface, text, paper), rect, text, placement);
      break;
    case TextFont::Comment: DrawInFont(surface, CommentFont(paper), rect, text, placement); break;
  }
}

void DrawCommonTexts(Surface& surface, const ReportPage& page, PaperSize paper, const KindLayout& layout) {
  const PageKind kind = page.source.kind;
  for (const PageItem& item : kCommonTexts) {
    const std::string_view name =
        item.name == std::string_view(kIntervalRow) ? layout.intervalName : item.name;
    const Rect rect = DeviatedRect(kind, paper, name, item.rects[PaperIndex(paper)]);
    DrawPageText(surface, item, name, rect, page, paper);
  }
}

void DrawKindItems(Surface& surface, const PageItem* first, const PageItem* last, const ReportPage& page,
                   PaperSize paper) {
  const std::size_t index = PaperIndex(paper);
  for (const PageItem* item = first; item != last; ++item) {
    if (item->rects[index] == kNowhere) continue;
    if (item->label)
      DrawLabel(surface, *item, index);
    else
      DrawPageText(surface, *item, item->name, item->rects[index], page, paper);
  }
}

void DrawPageNumber(Surface& surface, const ReportPage& page, std::size_t paper) {
  if (!page.NumberPrinted()) return;
  const Rect rect =
      page.source.kind == PageKind::Normal ? kNormalPageNumberRects[paper] : kPageNumberRects[paper];
  surface.DrawText(rect, FormatText("%d", page.pageNumber), TextPlacement::Centre);
}

void DrawPageContent(Surface& surface, const ReportPage& page, PaperSize paper, const GraphPainter& graph) {
  const KindLayout layout = LayoutOf(page.source.kind);
  const std::size_t index = PaperIndex(paper);
  // The kind's first label, or its whole step block, comes before the common texts.
  const PageItem* split = layout.itemsFirst ? layout.items.end() : layout.items.begin() + 1;
  DrawKindItems(surface, layout.items.begin(), split, page, paper);
  DrawLines(surface, KindLines(page.source.kind, index));
  DrawCommonTexts(surface, page, paper, layout);
  DrawKindItems(surface, split, layout.items.end(), page, paper);
  if (layout.graph && graph) graph(surface, kGraphRects[index]);
  DrawPageNumber(surface, page, index);
}

// ---- Describing a recorded page ---------------------------------------------

std::string Integer(double number) { return std::to_string(std::llround(number)); }

std::string Integers(const std::vector<double>& numbers, std::size_t first, std::size_t count) {
  std::string text;
  for (std::size_t i = first; i < first + count && i < numbers.size(); ++i) {
    if (!text.empty()) text += ' ';
    text += Integer(numbers[i]);
  }
  return text;
}

std::string RectText(Rect r) {
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
         std::to_string(r.bottom);
}

// One record per line: line ends and tabs inside a text are written escaped.
std::string EscapedText(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

// Tenths of a point as points, without trailing zeros: 140 "14", 85 "8.5".
std::string PointsText(int pointTenths) {
  std::string text = std::to_string(pointTenths / 10);
  if (pointTenths % 10 != 0) text += "." + std::to_string(std::abs(pointTenths % 10));
  return text;
}

double NumberAt(const SurfaceRecord& record, std::size_t index) {
  return index < record.numbers.size() ? record.numbers[index] : 0;
}

Font RecordedFont(const SurfaceRecord& record) {
  Font font;
  font.face = record.text;
  font.pointTenths = static_cast<int>(std::llround(NumberAt(record, 0)));
  font.cellHeight = static_cast<int>(std::llround(NumberAt(record, 1)));
  font.charWidth = static_cast<int>(std::llround(NumberAt(record, 2)));
  font.weight = static_cast<int>(std::llround(NumberAt(record, 3)));
  font.escapement = static_cast<int>(std::llround(NumberAt(record, 4)));
  return font;
}

std::string FontLine(const Font& font) {
  if (font.cellHeight > 0)
    return "font " + font.face + " cell " + std::to_string(font.cellHeight) + " width " +
           std::to_string(font.charWidth);
  return "font " + font.face + " " + PointsText(font.pointTenths);
}

// Fonts selected so far, the surface's first font at the bottom. Selecting a
// font already on the stack returns to it; any other font goes on top.
class FontStack {
 public:
  std::string Select(const Font& font) {
    for (std::size_t i = fonts_.size() - 1; i-- > 0;) {
      if (fonts_[i] == font) {
        fonts_.resize(i + 1);
        return "restore-font";
      }
    }
    fonts_.push_back(font);
    return FontLine(font);
  }

 private:
  std::vector<Font> fonts_{Font{}};
};

std::optional<std::string> DescribeRecord(const SurfaceRecord& record, FontStack& fonts) {
  switch (record.op) {
    case SurfaceOp::Pen: return "pen " + Integers(record.numbers, 0, 1);
    case SurfaceOp::Font: return fonts.Select(RecordedFont(record));
    case SurfaceOp::Line: return "line " + Integers(record.numbers, 0, 4);
    case SurfaceOp::Text:
      return "text " + Integers(record.numbers, 0, 4) + " " + record.word + " " + EscapedText(record.text);
    case SurfaceOp::Bitmap: {
      const double left = NumberAt(record, 0);
      const double top = NumberAt(record, 1);
      return "picture " + Integer(left) + " " + Integer(top) + " " + Integer(NumberAt(record, 2) - left) +
             " " + Integer(NumberAt(record, 3) - top);
    }
    default: return std::nullopt;
  }
}

}  // namespace

UnitMapping PageUnitMapping(Size devicePixelsPerInch) {
  UnitMapping mapping;
  mapping.windowExtent = {kPageUnitsPerInch, kPageUnitsPerInch};
  mapping.viewportExtent = devicePixelsPerInch;
  return mapping;
}

Size PaperSizeInUnits(PaperSize paper) {
  // Tenths of a millimetre, so the inch sizes are exact too.
  constexpr PerPaper<Size> kTenthsOfMillimetre = {{{2100, 2970}, {1820, 2570}, {2159, 2794}, {2159, 3556}}};
  const Size tenths = kTenthsOfMillimetre[PaperIndex(paper)];
  auto units = [](int t) { return static_cast<int>(std::lround(t * kPageUnitsPerInch / 254.0)); };
  return {units(tenths.width), units(tenths.height)};
}

Rect ReportGraphRect(PaperSize paper) { return kGraphRects[PaperIndex(paper)]; }

Rect LogoDestination(int width, int height) {
  // s = max(W / 200, H / 160), compared and divided in integers so that the
  // side that sets s comes out at exactly the box's size.
  const std::int64_t w = width;
  const std::int64_t h = height;
  const bool widthSetsScale = w * kLogoHeight >= h * kLogoWidth;
  int drawnWidth = width;
  int drawnHeight = height;
  int x = 0;
  int y = 0;
  if (width <= kLogoWidth)
    x = (kLogoWidth - width) / 2;
  else
    drawnWidth = widthSetsScale ? kLogoWidth : static_cast<int>(w * kLogoHeight / h);
  if (height <= kLogoHeight)
    y = (kLogoHeight - height) / 2;
  else
    drawnHeight = widthSetsScale ? static_cast<int>(h * kLogoWidth / w) : kLogoHeight;
  const int left = kLogoLeft + x;
  const int top = kLogoTop + y;
  return {left, top, left + drawnWidth, top + drawnHeight};
}

Font ReportAuthorFont(const Surface& surface, std::string_view author, PaperSize paper) {
  const int limit = kAuthorWidthLimits[PaperIndex(paper)];
  if (surface.TextExtent(author).width <= limit)
    return Font::Cell(kFace, paper == PaperSize::B5 ? 16 : 20, 0);
  const int characters = static_cast<int>(std::max<std::size_t>(1, CharacterCount(author)));
  // A width of 0 would mean the face's own, the widest of all.
  return Font::Cell(kFace, 16, std::max(1, limit / characters / 2));
}

void DrawPageFrame(Surface& surface, const ReportSettings& settings, const BitmapView& logo) {
  const std::size_t paper = PaperIndex(settings.paperSize);
  const FrameShape& frame = kFrames[paper];
  surface.SelectPen(kThickPen);
  DrawLines(surface, ThickFrameLines(frame));
  surface.SelectPen(kThinPen);
  DrawLines(surface, ThinFrameLines(frame));
  if (settings.paperSize == PaperSize::B5) surface.SelectFont(B5TextFont());
  DrawLogo(surface, settings, logo);
  for (const PageItem& label : kFrameLabels) DrawLabel(surface, label, paper);
  DrawFooter(surface, paper);
}

void DrawReportPage(Surface& surface, const std::optional<ReportPage>& page, const ReportSettings& settings,
                    const ReportArt& art) {
  const Pen previousPen = surface.CurrentPen();
  const Font previousFont = surface.SelectFont(BaseFont());
  DrawPageFrame(surface, settings, art.logo);
  if (page) DrawPageContent(surface, *page, settings.paperSize, art.graph);
  surface.SelectPen(previousPen);
  surface.SelectFont(previousFont);
}

void DrawReportPageAt(Surface& surface, int pageIndex, const ReportSettings& settings,
                      const RecordTables& tables, ChartCtrl& chart, const BitmapView& logo) {
  const std::optional<ReportPage> page = BuildPage(pageIndex, settings, tables, chart);
  const ReportArt art{logo, [&chart](Surface& target, Rect rect) { chart.DrawInto(target, rect); }};
  DrawReportPage(surface, page, settings, art);
}

std::vector<std::string> DescribePageDrawing(const std::vector<SurfaceRecord>& records,
                                             const std::vector<GraphMark>& graphs) {
  std::vector<GraphMark> marks = graphs;
  std::stable_sort(marks.begin(), marks.end(),
                   [](const GraphMark& a, const GraphMark& b) { return a.recordIndex < b.recordIndex; });
  std::vector<std::string> lines;
  FontStack fonts;
  auto mark = marks.begin();
  for (std::size_t i = 0; i < records.size(); ++i) {
    for (; mark != marks.end() && mark->recordIndex <= i; ++mark)
      lines.push_back("graph " + RectText(mark->rect));
    if (std::optional<std::string> line = DescribeRecord(records[i], fonts))
      lines.push_back(std::move(*line));
  }
  for (; mark != marks.end(); ++mark) lines.push_back("graph " + RectText(mark->rect));
  return lines;
}

}  // namespace qv70
