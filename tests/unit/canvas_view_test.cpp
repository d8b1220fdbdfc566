// The canvas's arithmetic: fit, zoom and its bound, the record scroll steps, the panel's hit
// tests, the pan, and the buttons' enabled states. The canvas fuzz check, which the input sweep
// runs over generated inputs, holds every step of it (zoom, pan, panel drag, scroll codes)
// against a model of its own.
#include <gtest/gtest.h>

#include <climits>

#include "canvas/canvas_view.h"
#include "canvas/state_overlay.h"
#include "tests/support/emf_builder.h"

namespace {

struct Rect {
    int32_t left, top, right, bottom;
    bool operator==(const Rect&) const = default;
};

Rect Of(const CanvasRect& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

std::ostream& operator<<(std::ostream& out, const Rect& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

Rect Fitted(CanvasRect frame, int32_t width, int32_t height) {
    CanvasView view;
    FitPicture(view, frame, width, height);
    return Of(view.picture);
}

Rect Zoomed(CanvasRect picture, bool zoom_in) {
    CanvasView view;
    view.picture = picture;
    ZoomPicture(view, 800, 600, zoom_in);
    EXPECT_EQ(0, view.fit_mode);
    return Of(view.picture);
}

// The frame's proportions kept, centred across the other axis whatever the frame's place; the
// binding side spanning the whole extent; an empty picture at the centre for a degenerate
// frame or client. A mirrored frame binds on its larger side in size, so the other side fits
// as well, and stays mirrored as the larger ratio makes it.
TEST(CanvasFit, KeepsProportionsInsideTheClientArea) {
    const struct {
        CanvasRect frame;
        int32_t width, height;
        Rect fitted;
    } cases[] = {
        {{0, 0, 21000, 29700}, 800, 600, {188, 0, 612, 600}},
        {{0, 0, 29700, 21000}, 800, 600, {0, 17, 800, 582}},
        {{-5000, 300, 16000, 30000}, 800, 600, {188, 0, 612, 600}},
        {{0, 0, 1000, 500}, 390, 600, {0, 202, 390, 397}},  // 1000 / (1000 / 390) is 389.99...
        {{0, 0, 2645, 2645}, 600, 400, {100, 0, 500, 400}},
        {{10, 10, 10, 10}, 800, 600, {400, 300, 400, 300}},
        {{0, 0, 21000, 29700}, 0, 0, {0, 0, 0, 0}},
        {{0, 0, 21000, 29700}, 800, 0, {400, 0, 400, 0}},
        {{0, 0, -300, -600}, 800, 600, {250, 0, 550, 600}},
        {{0, 0, -600, 300}, 800, 600, {800, 100, 0, 500}},
        {{0, 0, -300, 300}, 800, 600, {700, 0, 100, 600}},
        {{0, 0, -500, 0}, 800, 600, {0, 300, 800, 300}},
        {{0, 0, 500, 0}, 800, 600, {0, 300, 800, 300}}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.fitted, Fitted(c.frame, c.width, c.height)) << Of(c.frame);
    }
}

TEST(CanvasFit, ReadsTheFrameFromTheHeader) {
    const std::vector<uint8_t> file = EmfBuilder().Frame(-10, 20, 21000, 29700).Build();
    CanvasRect frame{};
    ASSERT_TRUE(ReadPictureFrame(RecordView{file.data(), 108}, &frame));
    EXPECT_EQ((Rect{-10, 20, 21000, 29700}), Of(frame));
    EXPECT_FALSE(ReadPictureFrame(RecordView{file.data(), 39}, &frame));
}

TEST(CanvasZoom, ScalesAboutTheClientCentreWithTruncation) {
    EXPECT_EQ((Rect{146, -60, 654, 660}), Zoomed({188, 0, 612, 600}, true));
    EXPECT_EQ((Rect{224, 50, 577, 550}), Zoomed({188, 0, 612, 600}, false));
    const Rect in = Zoomed({188, 0, 612, 600}, true);
    EXPECT_EQ((Rect{189, 0, 612, 600}), Zoomed({in.left, in.top, in.right, in.bottom}, false));
}

TEST(CanvasZoom, ZoomInStopsAtTheCoordinateLimitAndZoomOutStillWorks) {
    CanvasView view;
    FitPicture(view, {0, 0, 21000, 29700}, 800, 600);
    for (int i = 0; i < 1000; ++i) {
        ZoomPicture(view, 800, 600, true);
    }
    const Rect largest = Of(view.picture);
    for (int32_t v : {largest.left, largest.top, largest.right, largest.bottom}) {
        EXPECT_LE(v, kPictureCoordinateLimit);
        EXPECT_GE(v, -kPictureCoordinateLimit);
    }
    // Far beyond the fitted 600 pixels: the bound is not reached early.
    EXPECT_GT(largest.bottom - largest.top, kPictureCoordinateLimit / 2);
    ZoomPicture(view, 800, 600, true);
    EXPECT_EQ(largest, Of(view.picture));
    ZoomPicture(view, 800, 600, false);
    EXPECT_LT(view.picture.bottom - view.picture.top, largest.bottom - largest.top);
}

// The point under the pointer keeps its place in the picture, in and out, and the bound holds.
TEST(CanvasZoom, AboutThePointerKeepsThePointUnderIt) {
    CanvasView view;
    view.picture = CanvasRect{100, 0, 700, 600};
    ZoomPictureAt(view, 200, 150, true);
    EXPECT_EQ((Rect{80, -30, 800, 690}), Of(view.picture));
    ZoomPictureAt(view, 200, 150, false);
    EXPECT_EQ((Rect{100, 0, 700, 600}), Of(view.picture));
    view.picture = CanvasRect{-kPictureCoordinateLimit + 10, 0, 100, 100};
    ZoomPictureAt(view, 90, 50, true);
    EXPECT_EQ(-kPictureCoordinateLimit + 10, view.picture.left);
}

// A frame of 4 by 3 inches at 96 and 144 DPI, centred; a frame too large for the bound changes
// nothing.
TEST(CanvasActualSize, ShowsTheFramesInchesAtTheScreensDpi) {
    CanvasView view;
    EXPECT_TRUE(ShowActualSize(view, {0, 0, 4 * 2540, 3 * 2540}, 96, 800, 600));
    EXPECT_EQ((Rect{208, 156, 592, 444}), Of(view.picture));
    EXPECT_EQ(0, view.fit_mode);
    EXPECT_TRUE(ShowActualSize(view, {500, 500, 500 + 4 * 2540, 500 + 3 * 2540}, 144, 800, 600));
    EXPECT_EQ((Rect{112, 84, 688, 516}), Of(view.picture));
    EXPECT_FALSE(ShowActualSize(view, {INT32_MIN, 0, INT32_MAX, 2540}, 96, 800, 600));
    EXPECT_EQ((Rect{112, 84, 688, 516}), Of(view.picture));
}

RecordScrollBar Bar(int32_t records, int32_t position) {
    return RecordScrollBar{0, LastRecordIndex(records), position};
}

TEST(CanvasOverlay, MapsTheDevicesUnitsThroughTheFrameAndReadsOnlyRealBounds) {
    // 10 pixels a millimetre; the frame (10, 20)-(30, 60) mm is (100, 200)-(300, 600) pixels,
    // shown at half size from (50, 50).
    GraphicsState state;
    state.device = SizeL{1000, 2000};
    state.millimeters = SizeL{100, 200};
    const CanvasRect frame{1000, 2000, 3000, 6000}, picture{50, 50, 150, 250};
    EXPECT_EQ((Rect{50, 50, 100, 75}),
              Of(DeviceToPicture(state, frame, picture, {100, 200, 200, 250})));
    // A mirrored frame gives a rectangle the right way round.
    EXPECT_EQ((Rect{100, 50, 150, 250}),
              Of(DeviceToPicture(state, CanvasRect{3000, 2000, 1000, 6000}, picture,
                                 {100, 200, 200, 600})));

    RectL b;
    EXPECT_TRUE(RecordBounds(RecordBuilder(87, 36).I32(8, 1).I32(16, 1).I32(20, 4).view(), &b));
    EXPECT_EQ(4, b.bottom);
    // Ellipse's rectangle is no bounds; the empty bounds, a record cut short.
    EXPECT_FALSE(RecordBounds(RecordBuilder(42, 24).I32(16, 9).view(), &b));
    EXPECT_FALSE(RecordBounds(RecordBuilder(87, 36).I32(16, -1).I32(20, -1).view(), &b));
    EXPECT_FALSE(RecordBounds(RecordBuilder(87, 20).view(), &b));
}

TEST(CanvasRecordScroll, PageStepIsATwentiethOfTheRecordsAndAtLeastOne) {
    const int32_t records[] = {2, 19, 20, 39, 40, 45, 100, 1000};
    const int32_t steps[] = {1, 1, 1, 1, 2, 2, 5, 50};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(steps[i], RecordPageStep(Bar(records[i], 0))) << records[i];
    }
    // A page step near the largest index.
    EXPECT_EQ(INT_MAX - 1, ScrollRecordPosition(Bar(INT_MAX, INT_MAX - 1), kScrollPageRight, 0));
}

TEST(CanvasRecordScroll, LastIndexNeverOverflows) {
    EXPECT_EQ(1, LastRecordIndex(2));
    EXPECT_EQ(-1, LastRecordIndex(0));
    EXPECT_EQ(-1, LastRecordIndex(INT_MIN));
    EXPECT_TRUE(ReachesLastRecord(8, 9));
    EXPECT_FALSE(ReachesLastRecord(7, 9));
    EXPECT_TRUE(ReachesLastRecord(0, INT_MIN));
}

TEST(CanvasPanel, HitTestsExcludeRightAndBottomEdges) {
    CanvasView view;
    const int32_t x = view.panel_origin.x;
    const int32_t y = view.panel_origin.y;
    EXPECT_EQ(kHitGripBar, HitTestPanel(view, x, y));
    EXPECT_EQ(kHitGripBar, HitTestPanel(view, x + 83, y + 9));
    EXPECT_EQ(0, HitTestPanel(view, x, y + 10));
    EXPECT_EQ(0, HitTestPanel(view, x + 40, y + 27));
    EXPECT_EQ(1, HitTestPanel(view, x + 40, y + 28));
    EXPECT_EQ(4, HitTestPanel(view, x + 40, y + 99));
    EXPECT_EQ(5, HitTestPanel(view, x + 40, y + 117));
    EXPECT_EQ(kHitOutsidePanel, HitTestPanel(view, x + 40, y + 118));
    EXPECT_EQ(kHitOutsidePanel, HitTestPanel(view, x + 84, y + 50));
    EXPECT_EQ(kHitOutsidePanel, HitTestPanel(view, x - 1, y + 50));
}

// At 144 DPI every size is half as large again; the buttons still tile the panel.
TEST(CanvasPanel, ScalesWithTheScreensDpi) {
    CanvasView view;
    view.panel_dpi = 144;
    view.panel_origin = CanvasPoint{0, 0};
    EXPECT_EQ(kHitGripBar, HitTestPanel(view, 125, 14));
    EXPECT_EQ(0, HitTestPanel(view, 0, 15));
    EXPECT_EQ(4, HitTestPanel(view, 0, 149));
    EXPECT_EQ(5, HitTestPanel(view, 0, 176));
    EXPECT_EQ(kHitOutsidePanel, HitTestPanel(view, 126, 0));
    EXPECT_EQ(kHitOutsidePanel, HitTestPanel(view, 0, 177));
    view.drag_anchor = CanvasPoint{0, 0};
    MovePanel(view, 300, 300, 1000, 1000);
    EXPECT_EQ(299 - 126, view.panel_origin.x);
    EXPECT_EQ(299 - 177, view.panel_origin.y);
}

TEST(CanvasPan, FollowsThePointerOneToOneUpToTheLimit) {
    CanvasView view;
    view.picture = {100, 0, 500, 400};
    view.drag_anchor = {300, 300};
    PanPicture(view, 250, 330);
    EXPECT_EQ((Rect{50, 30, 450, 430}), Of(view.picture));
    EXPECT_EQ(250, view.drag_anchor.x);
    EXPECT_EQ(330, view.drag_anchor.y);
    view.picture = {kPictureCoordinateLimit - 500, 0, kPictureCoordinateLimit - 100, 400};
    PanPicture(view, 30000, 330);
    EXPECT_EQ(kPictureCoordinateLimit, view.picture.right);
    EXPECT_EQ(kPictureCoordinateLimit - 400, view.picture.left);
    PanPicture(view, 29000, 330);
    EXPECT_EQ(kPictureCoordinateLimit - 1000, view.picture.right);
}

TEST(CanvasButtons, FollowTheDocumentAndReportWhetherAnythingChanged) {
    CanvasView view;
    EXPECT_EQ(1, IsCommandEnabled(view, kCommandOpen));
    EXPECT_EQ(1, IsCommandEnabled(view, kCommandBackground));
    EXPECT_EQ(0, IsCommandEnabled(view, kCommandZoomIn));
    EXPECT_EQ(0, IsCommandEnabled(view, 111));
    EXPECT_EQ(0, UpdateButtonStates(view, 0));
    EXPECT_EQ(1, UpdateButtonStates(view, 1));
    for (int32_t command : {kCommandFit, kCommandZoomIn, kCommandZoomOut}) {
        EXPECT_EQ(1, IsCommandEnabled(view, command));
    }
    EXPECT_EQ(0, UpdateButtonStates(view, 1));
    EXPECT_EQ(1, UpdateButtonStates(view, 0));
    EXPECT_EQ(0, IsCommandEnabled(view, kCommandFit));
    EXPECT_EQ(1, IsCommandEnabled(view, kCommandOpen));
}

}  // namespace
