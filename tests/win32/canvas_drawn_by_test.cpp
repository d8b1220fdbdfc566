// Which record drew a point: three overlapping rectangles in three colours, asked about at
// points each covers last, outside them all, before the current record reaches the last, and
// with the last switched off.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/app_globals.h"
#include "app/filter_list.h"
#include "canvas/canvas_control_win.h"
#include "canvas/dib_surface_win.h"
#include "canvas/paused_player_win.h"
#include "canvas/player_win.h"
#include "canvas/point_origin_win.h"
#include "canvas/record_drawing_win.h"
#include "tests/support/emf_builder.h"
#include "tests/win32/canvas_test_support.h"

namespace {

// Logical (x, y) lands at (100 + 4x, 4y) of the 600 x 400 canvas.
std::string WriteThreeRectangles() {
    const auto select = [](uint32_t object) { return RecordBuilder(37, 12).U32(8, object); };
    const auto brush = [](uint32_t handle, COLORREF color) {
        return RecordBuilder(39, 24).U32(8, handle).U32(12, BS_SOLID).U32(16, color);
    };
    const auto rectangle = [](int32_t l, int32_t t, int32_t r, int32_t b) {
        return RecordBuilder(43, 24).I32(8, l).I32(12, t).I32(16, r).I32(20, b);
    };
    EmfBuilder picture;
    picture.Handles(4)
        .Add(select(0x80000008))  // 1: the stock null pen
        .Add(brush(1, kRed))
        .Add(select(1))
        .Add(rectangle(0, 0, 60, 60))  // 4
        .Add(brush(2, kBlue))
        .Add(select(2))
        .Add(rectangle(30, 30, 90, 90))  // 7
        .Add(brush(3, RGB(0, 160, 0)))
        .Add(select(3))
        .Add(rectangle(50, 10, 80, 40));  // 10, then the end at 11
    return WriteTempFile("three-rectangles.emf", picture.Build());
}

TEST(CanvasDrawnBy, FindsTheLastRecordThatChangedThePoint) {
    CanvasHost host(600, 400);
    ASSERT_NE(nullptr, host.AddFilterList());
    ASSERT_TRUE(host.Open(WriteThreeRectangles()));
    host.PaintNow();
    const CanvasRect& p = g_canvas_view.picture;
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    ASSERT_EQ(100, picture.left);
    const auto drawn_by = [&](int32_t x, int32_t y, int32_t current) {
        return FindRecordThatDrew(g_document, ListedRecordFilter(), current, picture,
                                  g_canvas_view.background_color, POINT{100 + 4 * x, 4 * y}, 1);
    };
    EXPECT_EQ(4, drawn_by(10, 10, 11));
    EXPECT_EQ(7, drawn_by(40, 45, 11));
    EXPECT_EQ(10, drawn_by(70, 35, 11));
    EXPECT_EQ(kDrawnByNone, drawn_by(95, 5, 11));
    // Without a filter list the last record is the whole metafile played at once.
    EXPECT_EQ(10, FindRecordThatDrew(g_document, nullptr, 11, picture,
                                     g_canvas_view.background_color, POINT{380, 140}, 1));
    // Before the last rectangle is played, and with it switched off.
    EXPECT_EQ(7, drawn_by(70, 35, 9));
    g_record_filter.Set(10, true);
    EXPECT_EQ(7, drawn_by(70, 35, 11));
    g_record_filter.Set(10, false);

    // What record 10 drew: as many pixels as differ between the playbacks up to 9 and to 10.
    const RECT client = {0, 0, 600, 400};
    const auto played = [&](int32_t current) {
        DibSurface surface(600, 400);
        kGdiPlayer.play(surface.dc(), picture, g_document, ListedRecordFilter(), current);
        return std::vector<uint32_t>(surface.Flushed(), surface.Flushed() + surface.count());
    };
    const std::vector<uint32_t> before = played(9), after = played(10);
    int64_t differ = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        differ += before[i] != after[i] ? 1 : 0;
    }
    DibSurface shown(600, 400);
    const auto drew = [&](int32_t current, const Player& player = kGdiPlayer) {
        return PlayShowingWhatRecordDrew(shown.dc(), picture, client, player, g_document,
                                         ListedRecordFilter(), current, -1);
    };
    EXPECT_EQ(120 * 120, differ);
    EXPECT_EQ(differ, drew(10));
    EXPECT_EQ(differ, drew(10, kPausedPlayer));
    EndPausedPlayback();
    EXPECT_EQ(0, drew(9));
    g_record_filter.Set(10, true);
    EXPECT_EQ(kRecordNotPlayed, drew(10));
    g_record_filter.Set(10, false);

    // The double-click makes the record current and tells the parent.
    SendMessageW(host.canvas(), CVM_SETINDEX, 11, 0);
    const LPARAM at = MAKELPARAM(100 + 4 * 10, 4 * 10);
    SendMessageW(host.canvas(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    EXPECT_EQ(4, host.Index());
    ASSERT_FALSE(host.notified_indexes().empty());
    EXPECT_EQ(4, host.notified_indexes().back());
}

}  // namespace
