// The canvas's painting: which records a paint plays, the picture and its border on screen,
// and the see-through button panel.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <vector>

#include "app/app_globals.h"
#include "app/filter_list.h"
#include "canvas/canvas_control_win.h"
#include "state/state_tracker.h"
#include "tests/support/emf_builder.h"
#include "tests/win32/canvas_test_support.h"

namespace {

using Played = std::vector<int32_t>;

uint32_t Ground() {
    return AsPixel(GetSysColor(COLOR_BTNFACE));
}

uint32_t Background() {
    return AsPixel(g_canvas_view.background_color);
}

// In a 600 x 400 canvas the square test picture is fitted to (100, 0, 500, 400): its red
// square covers (100, 0)-(300, 200), its blue square (300, 200)-(500, 400).
class CanvasPaint : public testing::Test {
  protected:
    void SetUp() override {
        list_ = host_.AddFilterList();
        ASSERT_NE(nullptr, list_);
        ASSERT_TRUE(host_.Open(WriteQuadrantPicture()));
        host_.PaintNow();
        log_.Clear();
    }

    Played PaintAt(int32_t index) {
        SendMessageW(host_.canvas(), CVM_SETINDEX, static_cast<WPARAM>(index), 0);
        log_.Clear();
        host_.PaintNow();
        return log_.played();
    }

    CanvasHost host_{600, 400};
    PlaybackLog log_;
    HWND list_ = nullptr;
};

TEST_F(CanvasPaint, WholeMetafileIsPlayedAtOnceOnlyAtTheLastRecordWithNothingFiltered) {
    EXPECT_EQ(Played{-1}, PaintAt(8));
    const ClientPixels pixels(host_.canvas());
    EXPECT_EQ(AsPixel(kRed), pixels.At(200, 100));
    EXPECT_EQ(AsPixel(kBlue), pixels.At(400, 300));
    EXPECT_EQ(Background(), pixels.At(400, 100));
    EXPECT_EQ(Background(), pixels.At(200, 300));

    g_record_filter.Set(1, true);  // switches record 1 off
    EXPECT_EQ((Played{0, 2, 3, 4, 5, 6, 7, 8}), PaintAt(8));
}

TEST_F(CanvasPaint, PlaybackStopsAfterTheCurrentRecord) {
    EXPECT_EQ((Played{0, 1, 2, 3, 4, 5}), PaintAt(5));
    const ClientPixels pixels(host_.canvas());
    EXPECT_EQ(AsPixel(kRed), pixels.At(200, 100));
    EXPECT_EQ(Background(), pixels.At(400, 300));
    // The first record shows the background alone.
    EXPECT_EQ(Played{0}, PaintAt(0));
    const RECT right_of_panel = {100, 0, 500, 400};
    EXPECT_EQ(400 * 400, ClientPixels(host_.canvas()).Count(right_of_panel, Background()));
}

TEST_F(CanvasPaint, DisabledCurrentRecordPlaysTheNextEnabledOneAndStops) {
    g_record_filter.Set(5, true);  // switches record 5 off
    EXPECT_EQ((Played{0, 1, 2, 3, 4, 6}), PaintAt(5));
    // Without the blue brush, the second square is drawn with the red one still selected.
    EXPECT_EQ((Played{0, 1, 2, 3, 4, 6, 7, 8}), PaintAt(8));
    const ClientPixels pixels(host_.canvas());
    EXPECT_EQ(AsPixel(kRed), pixels.At(400, 300));
}

TEST_F(CanvasPaint, BackgroundBordersThePictureByOnePixel) {
    host_.IdleRefresh();
    SendMessageW(host_.canvas(), WM_COMMAND, kCommandZoomOut, 0);
    host_.PaintNow();
    ASSERT_EQ((std::vector<int32_t>{134, 34, 467, 367}), Picture());
    const ClientPixels pixels(host_.canvas());
    // Each a pixel of the border and its outer neighbour.
    for (const auto [x, y, dx, dy] :
         {std::array{133, 200, -1, 0}, std::array{467, 200, 1, 0}, std::array{300, 33, 0, -1},
          std::array{200, 367, 0, 1}, std::array{467, 33, 1, -1}}) {
        EXPECT_EQ(Background(), pixels.At(x, y)) << x << ", " << y;
        EXPECT_EQ(Ground(), pixels.At(x + dx, y + dy)) << x << ", " << y;
    }
}

// Device units are logical units here, four pixels each: the clip (0, 0)-(50, 50) covers
// (100, 0)-(300, 200) of the canvas, the line's bounds (300, 200)-(400, 300).
TEST(CanvasOverlay, DimsWhatTheClipHidesAndDashesTheRecordsBounds) {
    CanvasHost host(600, 400);
    EmfBuilder picture;
    picture.Add(RecordBuilder(30, 24).I32(16, 50).I32(20, 50))
        .Add(RecordBuilder(87, 36).I32(8, 50).I32(12, 50).I32(16, 74).I32(20, 74));
    ASSERT_TRUE(host.Open(WriteTempFile("overlay.emf", picture.Build())));
    StateTracker tracker;
    tracker.Reset(g_document, nullptr);
    SendMessageW(host.canvas(), CVM_SETSTATETRACKER, reinterpret_cast<WPARAM>(&tracker), 0);
    SendMessageW(host.canvas(), CVM_SETINDEX, 2, 0);
    const auto paint = [&] {
        InvalidateRect(host.canvas(), nullptr, FALSE);
        host.PaintNow();
        return ClientPixels(host.canvas());
    };
    EXPECT_EQ(Background(), paint().At(400, 100));

    SendMessageW(host.canvas(), WM_COMMAND, kCommandShowOverlay, 0);
    const ClientPixels shown = paint();
    const uint32_t ground = Background();
    const uint32_t dimmed = shown.At(400, 100);
    EXPECT_LT(dimmed & 0xFF, ground & 0xFF);
    EXPECT_EQ(dimmed, shown.At(200, 300));
    EXPECT_EQ(ground, shown.At(200, 100));
    const RECT top_edge = {300, 200, 400, 201};
    EXPECT_GT(shown.Count(top_edge, 0), 20);
    EXPECT_GT(shown.Count(top_edge, AsPixel(RGB(255, 255, 255))), 20);

    SendMessageW(host.canvas(), WM_COMMAND, kCommandShowOverlay, 0);
    EXPECT_EQ(Background(), paint().At(400, 100));
    SendMessageW(host.canvas(), CVM_SETSTATETRACKER, 0, 0);
}

TEST(CanvasPanelDrawing, IsDrawnSeeThroughOverThePicture) {
    CanvasHost host(400, 400);
    ASSERT_TRUE(host.Open(WriteQuadrantPicture()));
    host.PaintNow();
    const ClientPixels pixels(host.canvas());
    // The panel stands at (10, 10) over the red square: tinted buttons, the grip bar, the
    // outlines of grip bar and buttons (the panel's frame is 85 x 119 pixels), and beyond them
    // the picture untouched.
    const uint32_t red = AsPixel(kRed);
    const uint32_t tint = AsPixel(kRed & 0x00FFE6E6);  // the buttons AND every pixel under them
    const uint32_t grip = AsPixel(GetSysColor(COLOR_ACTIVECAPTION));
    const uint32_t expected[][3] = {{13, 23, tint}, {90, 76, tint}, {50, 15, grip}, {10, 10, 0},
                                    {94, 60, 0},    {50, 110, 0},   {50, 20, 0},    {50, 38, 0},
                                    {50, 128, 0},   {95, 60, red},  {50, 129, red}};
    for (const auto& [x, y, color] : expected) {
        EXPECT_EQ(color, pixels.At(static_cast<int>(x), static_cast<int>(y))) << x << ", " << y;
    }
}

}  // namespace
