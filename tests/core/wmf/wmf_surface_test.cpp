// The metafile recorder, read back by an independent walker: what each
// drawing call records, how objects come and go in the reader's table, and
// the header's figures against the records.
#include "core/wmf/wmf_surface.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/draw/fake_font_metrics.h"
#include "support/wmf_walk.h"

namespace qv70 {
namespace {

using test::WalkWmf;
using test::WmfWalk;

constexpr Size kPage{680, 880};
const Font kText = Font::Points("Arial", 115);

// The records a drawing adds after the picture's opening (mapping mode,
// window, text alignment), up to the end record.
std::vector<std::string> Drawn(const WmfWalk& walk) {
  return std::vector<std::string>(walk.lines.begin() + 4, walk.lines.end());
}

WmfWalk Record(const std::function<void(WmfSurface&)>& draw) {
  WmfSurface surface(kFakeMetrics, kPage);
  draw(surface);
  return WalkWmf(surface.Finish());
}

struct DrawingRow {
  const char* name;
  std::function<void(WmfSurface&)> draw;
  std::vector<std::string> records;
};

void PrintTo(const DrawingRow& row, std::ostream* os) { *os << row.name; }

class RecordsTest : public testing::TestWithParam<DrawingRow> {};

TEST_P(RecordsTest, RecordsTheDrawing) {
  const WmfWalk walk = Record(GetParam().draw);
  ASSERT_TRUE(walk.ok()) << walk.error;
  EXPECT_EQ(Drawn(walk), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RecordsTest,
    testing::Values(DrawingRow{"line_with_the_default_pen",
                               [](WmfSurface& s) {
                                 s.DrawLine({25, 25}, {655, 25});
                               },
                               {"create-pen 0 solid 1 #000000", "select 0", "move-to 25 25", "line-to 655 25",
                                "delete 0"}},
                    DrawingRow{"two_lines_share_one_pen",
                               [](WmfSurface& s) {
                                 s.SelectPen(Pen::Solid(2, kBlack));
                                 s.DrawLine({0, 0}, {5, 0});
                                 s.SelectPen(Pen::Solid(2, kBlack));
                                 s.DrawLine({0, 1}, {5, 1});
                               },
                               {"create-pen 0 solid 2 #000000", "select 0", "move-to 0 0", "line-to 5 0",
                                "move-to 0 1", "line-to 5 1", "delete 0"}},
                    DrawingRow{"a_new_pen_replaces_the_old_whose_slot_comes_free",
                               [](WmfSurface& s) {
                                 s.SelectPen(Pen::Solid(2, kBlack));
                                 s.DrawLine({0, 0}, {5, 0});
                                 s.SelectPen(Pen::Solid(1, kBlack));
                                 s.DrawLine({0, 1}, {5, 1});
                                 s.SelectPen(Pen::Solid(1, Color::Rgb(255, 0, 0)));
                                 s.DrawLine({0, 2}, {5, 2});
                               },
                               {"create-pen 0 solid 2 #000000", "select 0", "move-to 0 0", "line-to 5 0",
                                "create-pen 1 solid 1 #000000", "select 1", "delete 0", "move-to 0 1",
                                "line-to 5 1", "create-pen 0 solid 1 #ff0000", "select 0", "delete 1",
                                "move-to 0 2", "line-to 5 2", "delete 0"}},
                    DrawingRow{"dotted_line_in_dashes_of_a_solid_pen",
                               [](WmfSurface& s) {
                                 s.SelectPen(Pen::Dotted(kBlack));
                                 s.DrawLine({0, 4}, {10, 4});
                               },
                               {"create-pen 0 solid 1 #000000", "select 0", "move-to 0 4", "line-to 3 4",
                                "move-to 6 4", "line-to 9 4", "delete 0"}},
                    DrawingRow{"null_pen_draws_no_line",
                               [](WmfSurface& s) {
                                 s.SelectPen(Pen{PenStyle::Null, 1, kBlack});
                                 s.DrawLine({0, 0}, {10, 0});
                                 s.DrawPolyline({{0, 0}, {1, 1}});
                               },
                               {}},
                    DrawingRow{"polyline_in_one_record",
                               [](WmfSurface& s) {
                                 s.DrawPolyline({{25, 25}, {655, 25}, {655, 830}});
                               },
                               {"create-pen 0 solid 1 #000000", "select 0", "polyline 25,25 655,25 655,830",
                                "delete 0"}}));

INSTANTIATE_TEST_SUITE_P(
    Shapes, RecordsTest,
    testing::Values(DrawingRow{"rectangle_with_pen_and_brush",
                               [](WmfSurface& s) {
                                 s.SelectBrush(Brush::Solid(Color::Rgb(0, 0, 255)));
                                 s.DrawRectangle({38, 596, 642, 812});
                               },
                               {"create-pen 0 solid 1 #000000", "select 0", "create-brush 1 solid #0000ff",
                                "select 1", "rectangle 38 596 642 812", "delete 0", "delete 1"}},
                    DrawingRow{"ellipse_and_polygon_with_a_null_brush",
                               [](WmfSurface& s) {
                                 s.SelectBrush(Brush::Null());
                                 s.DrawEllipse({10, 10, 16, 16});
                                 s.DrawPolygon({{0, 0}, {4, 0}, {2, 3}});
                               },
                               {"create-pen 0 solid 1 #000000", "select 0", "create-brush 1 null", "select 1",
                                "ellipse 10 10 16 16", "polygon 0,0 4,0 2,3", "delete 0", "delete 1"}},
                    DrawingRow{"fill_is_a_pattern_copy_with_a_brush_of_its_colour",
                               [](WmfSurface& s) {
                                 s.FillRect({0, 0, 680, 880}, kWhite);
                               },
                               {"create-brush 0 solid #ffffff", "select 0", "fill 0 0 680 880", "delete 0"}},
                    DrawingRow{"empty_shapes_record_nothing",
                               [](WmfSurface& s) {
                                 s.DrawRectangle({5, 5, 5, 9});
                                 s.DrawEllipse({5, 5, 9, 4});
                                 s.FillRect({0, 0, 0, 0}, kWhite);
                                 s.DrawPolygon({});
                               },
                               {}}));

INSTANTIATE_TEST_SUITE_P(
    Text, RecordsTest,
    testing::Values(
        DrawingRow{"text_at_its_cell_corner_in_arial_of_15_units_em",
                   [](WmfSurface& s) {
                     s.SelectFont(kText);
                     s.DrawTextAt({30, 40}, "QV70");
                   },
                   {"create-font 0 Arial -15 0 0 400 0", "select 0", "text-color #000000", "bk-mode opaque",
                    "bk-color #ffffff", "text 30 40 \"QV70\"", "delete 0"}},
        DrawingRow{"left_placed_text_centred_and_clipped_to_its_rectangle",
                   [](WmfSurface& s) {
                     s.SelectFont(kText);
                     s.SetBackgroundMode(BackgroundMode::Transparent);
                     // Cells 17 high: (18 - 17) / 2 below the top.
                     s.DrawText({50, 236, 175, 254}, "Date:", TextPlacement::Left);
                   },
                   {"create-font 0 Arial -15 0 0 400 0", "select 0", "text-color #000000",
                    "bk-mode transparent", "text 50 236 clip 50 236 175 254 \"Date:\"", "delete 0"}},
        DrawingRow{"wrapped_text_one_record_per_line",
                   [](WmfSurface& s) {
                     s.SelectFont(kText);
                     s.SetBackgroundMode(BackgroundMode::Transparent);
                     // 8 units a character: "alpha beta" (80) fits in 90, "gamma" goes below.
                     s.DrawText({0, 0, 90, 60}, "alpha beta gamma\n\nend", TextPlacement::Wrap);
                   },
                   {"create-font 0 Arial -15 0 0 400 0", "select 0", "text-color #000000",
                    "bk-mode transparent", "text 0 0 clip 0 0 90 60 \"alpha beta\"",
                    "text 0 17 clip 0 0 90 60 \"gamma\"", "text 0 51 clip 0 0 90 60 \"end\"", "delete 0"}},
        DrawingRow{
            "chinese_in_code_page_936_with_its_charset_and_emoji_as_question_mark",
            [](WmfSurface& s) {
              s.SelectFont(kText);
              s.DrawTextAt({0, 0}, "\xe7\xbb\x9d\xe7\xbc\x98 \xf0\x9f\x98\x80");
              s.DrawTextAt({0, 20}, "OK");
            },
            {"create-font 0 Arial -15 0 0 400 134", "select 0", "text-color #000000", "bk-mode opaque",
             "bk-color #ffffff", "text 0 0 \"\xbe\xf8\xd4\xb5 ?\"", "create-font 1 Arial -15 0 0 400 0",
             "select 1", "delete 0", "text 0 20 \"OK\"", "delete 1"}},
        DrawingRow{"rotated_cell_font_of_the_chart",
                   [](WmfSurface& s) {
                     Font font = Font::Cell("Microsoft Sans Serif", 16, 6).Rotated(900);
                     font.weight = kBoldWeight;
                     s.SelectFont(font);
                     s.SetTextColor(Color::Rgb(0, 0, 128));
                     s.SetBackgroundMode(BackgroundMode::Transparent);
                     s.DrawTextAt({12, 300}, "M");
                   },
                   {"create-font 0 Microsoft Sans Serif 16 6 900 700 0", "select 0", "text-color #000080",
                    "bk-mode transparent", "text 12 300 \"M\"", "delete 0"}},
        DrawingRow{"empty_text_records_nothing",
                   [](WmfSurface& s) {
                     s.DrawTextAt({0, 0}, "");
                     s.DrawText({0, 0, 100, 20}, "", TextPlacement::Centre);
                   },
                   {}}));

INSTANTIATE_TEST_SUITE_P(
    Clipping, RecordsTest,
    testing::Values(DrawingRow{"clip_saved_and_restored_around_the_drawing",
                               [](WmfSurface& s) {
                                 s.SetClip(Rect{30, 560, 650, 800});
                                 s.DrawLine({0, 600}, {700, 600});
                                 s.SetClip(std::nullopt);
                                 s.DrawLine({0, 0}, {10, 0});
                               },
                               {"save-dc", "clip 30 560 650 800", "create-pen 0 solid 1 #000000", "select 0",
                                "move-to 0 600", "line-to 700 600", "restore-dc", "select 0", "move-to 0 0",
                                "line-to 10 0", "delete 0"}},
                    DrawingRow{"pen_of_the_saved_state_lives_until_the_restore",
                               [](WmfSurface& s) {
                                 s.DrawLine({0, 0}, {10, 0});
                                 s.SetClip(Rect{0, 0, 100, 100});
                                 s.SelectPen(Pen::Solid(2, kBlack));
                                 s.DrawLine({0, 1}, {10, 1});
                                 s.SetClip(Rect{0, 0, 50, 50});
                                 s.DrawLine({0, 2}, {10, 2});
                                 s.SetClip(std::nullopt);
                                 s.DrawLine({0, 3}, {10, 3});
                               },
                               {"create-pen 0 solid 1 #000000",
                                "select 0",
                                "move-to 0 0",
                                "line-to 10 0",
                                "save-dc",
                                "clip 0 0 100 100",
                                "create-pen 1 solid 2 #000000",
                                "select 1",
                                "move-to 0 1",
                                "line-to 10 1",
                                "restore-dc",
                                "save-dc",
                                "clip 0 0 50 50",
                                "select 1",
                                "move-to 0 2",
                                "line-to 10 2",
                                "restore-dc",
                                "select 1",
                                "delete 0",
                                "move-to 0 3",
                                "line-to 10 3",
                                "delete 1"}},
                    DrawingRow{"clip_open_at_the_end_is_restored_before_the_deletes",
                               [](WmfSurface& s) {
                                 s.SetClip(Rect{0, 0, 10, 10});
                                 s.FillRect({0, 0, 20, 20}, kBlack);
                               },
                               {"save-dc", "clip 0 0 10 10", "create-brush 0 solid #000000", "select 0",
                                "fill 0 0 20 20", "restore-dc", "delete 0"}}));

INSTANTIATE_TEST_SUITE_P(
    Mapping, RecordsTest,
    testing::Values(DrawingRow{"logical_units_mapped_onto_the_page",
                               [](WmfSurface& s) {
                                 s.SetMapping(UnitMapping{{0, 0}, {2, 2}, {10, 0}, {1, 1}});
                                 s.SelectPen(Pen::Solid(4, kBlack));
                                 s.DrawLine({100, 50}, {200, 50});
                               },
                               {"create-pen 0 solid 2 #000000", "select 0", "move-to 60 25", "line-to 110 25",
                                "delete 0"}},
                    DrawingRow{"coordinates_beyond_16_bits_held_at_the_edge",
                               [](WmfSurface& s) {
                                 s.DrawLine({-40000, 0}, {40000, 0});
                               },
                               {"create-pen 0 solid 1 #000000", "select 0", "move-to -32768 0",
                                "line-to 32767 0", "delete 0"}}));

TEST(WmfSurface, OpensWithTheAnisotropicPageWindow) {
  const WmfWalk walk = Record([](WmfSurface&) {});
  ASSERT_TRUE(walk.ok()) << walk.error;
  EXPECT_EQ(walk.lines,
            (std::vector<std::string>{"map-mode 8", "window-org 0 0", "window-ext 880 680", "text-align 0"}));
  EXPECT_EQ(walk.sizeWords, 9u + 4 + 5 + 5 + 4 + 3);
  EXPECT_EQ(walk.objects, 0);
  EXPECT_EQ(walk.maxRecordWords, 5u);
}

// A 3 x 2 bitmap of distinct pixels, top row first, rows padded to 12 bytes.
TEST(WmfSurface, StretchesTheBitmapWithItsRowsBottomFirst) {
  std::vector<std::uint8_t> pixels(24, 0);
  for (std::size_t i = 0; i < 9; ++i) pixels[i] = static_cast<std::uint8_t>(1 + i);         // top row
  for (std::size_t i = 0; i < 9; ++i) pixels[12 + i] = static_cast<std::uint8_t>(101 + i);  // bottom row
  WmfSurface surface(kFakeMetrics, kPage);
  surface.StretchBitmap({60, 48, 160, 148}, BitmapView{3, 2, pixels.data(), 12});
  const std::vector<std::uint8_t> bytes = surface.Finish();
  const WmfWalk walk = WalkWmf(bytes);
  ASSERT_TRUE(walk.ok()) << walk.error;
  EXPECT_EQ(Drawn(walk), std::vector<std::string>{"bitmap 60 48 100 100 from 3x2"});
  EXPECT_EQ(walk.maxRecordWords, 14u + 20 + 12);
  // The rows follow the record's 28 bytes and the 40-byte header.
  const std::size_t rows = 18 + 2 * (4 + 5 + 5 + 4) + 28 + 40;
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + rows, bytes.begin() + rows + 24),
            (std::vector<std::uint8_t>{101, 102, 103, 104, 105, 106, 107, 108, 109, 0, 0, 0,  //
                                       1,   2,   3,   4,   5,   6,   7,   8,   9,   0, 0, 0}));
}

// Everything a report page and its graph draw, in one picture: the header's
// figures must match the records, and every object must be gone at the end.
TEST(WmfSurface, HeaderFiguresMatchAMixedDrawing) {
  std::vector<std::uint8_t> pixels(330 * 3 * 4, 200);
  WmfSurface surface(kFakeMetrics, kPage);
  surface.FillRect({0, 0, 680, 880}, kWhite);
  surface.SelectPen(Pen::Solid(2, kBlack));
  surface.SelectFont(kText);
  surface.DrawPolyline({{25, 25}, {655, 25}, {655, 830}, {25, 830}, {25, 25}});
  surface.SelectPen(Pen::Solid(1, kBlack));
  surface.StretchBitmap({28, 63, 193, 133}, BitmapView{330, 4, pixels.data(), 330 * 3});
  surface.SetClip(Rect{30, 560, 650, 800});
  surface.SelectPen(Pen::Dotted(Color::Rgb(128, 128, 128)));
  surface.DrawLine({30, 600}, {650, 600});
  surface.SelectBrush(Brush::Solid(Color::Rgb(255, 0, 0)));
  surface.DrawEllipse({100, 700, 106, 706});
  surface.SelectFont(kText.Rotated(900));
  surface.DrawTextAt({35, 700}, "Resistance");
  surface.SetClip(std::nullopt);
  surface.SelectFont(kText);
  surface.DrawText({25, 848, 655, 880}, "ZAVEL Corporation", TextPlacement::Right);
  const std::vector<std::uint8_t> bytes = surface.Finish();

  const WmfWalk walk = WalkWmf(bytes);
  ASSERT_TRUE(walk.ok()) << walk.error;
  EXPECT_EQ(walk.sizeWords * 2, bytes.size());
  // The white brush and the thick pen held by the clip's saved state, the
  // clip's dotted pen, red brush and rotated font beside them.
  EXPECT_EQ(walk.objects, 5);
  EXPECT_EQ(walk.maxRecordWords, 14u + 20 + (330 * 3 + 2) * 4 / 2);
  EXPECT_EQ(walk.texts, (std::vector<std::string>{"Resistance", "ZAVEL Corporation"}));
}

TEST(WmfSurface, RecordsNothingAfterFinish) {
  WmfSurface surface(kFakeMetrics, kPage);
  surface.DrawLine({0, 0}, {1, 1});
  EXPECT_FALSE(surface.Finish().empty());
  surface.DrawLine({0, 0}, {1, 1});
  surface.DrawTextAt({0, 0}, "late");
  EXPECT_TRUE(surface.Finish().empty());
}

}  // namespace
}  // namespace qv70
