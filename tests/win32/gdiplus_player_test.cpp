// The GDI+ player, on files the platform's own GDI+ records: an EMF+-only file GDI leaves empty,
// a dual file whose fallback draws elsewhere, EMF+ records stepped one at a time, what GDI+
// refuses, and both pictures side by side in the canvas.
#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <wtypes.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "app/app_globals.h"
#include "app/filter_list.h"
#include "canvas/canvas_view.h"
#include "canvas/dib_surface_win.h"
#include "canvas/gdiplus_player_win.h"
#include "canvas/paused_gdiplus_player_win.h"
#include "canvas/player_win.h"
#include "canvas/record_drawing_win.h"
#include "document/record_filter.h"
#include "emfplus/emfplus_steps.h"
#include "emfplus/emfplus_walk.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"
#include "tests/support/emfplus_builder.h"
#include "tests/win32/canvas_test_support.h"

namespace gp = Gdiplus::DllExports;

namespace {

constexpr uint32_t kWhite = 0x00FFFFFF;

// A metafile of a 100 x 100 pixel frame recorded through GDI+ with `draw`, as file bytes.
std::vector<uint8_t> Record(Gdiplus::EmfType type,
                            const std::function<void(Gdiplus::GpGraphics*)>& draw) {
    EXPECT_TRUE(StartGdiPlus());
    HDC screen = GetDC(nullptr);
    const Gdiplus::RectF frame(0, 0, 100, 100);
    Gdiplus::GpMetafile* metafile = nullptr;
    EXPECT_EQ(Gdiplus::Ok,
              gp::GdipRecordMetafile(screen, type, &frame, Gdiplus::MetafileFrameUnitPixel, L"test",
                                     &metafile));
    ReleaseDC(nullptr, screen);
    Gdiplus::GpGraphics* graphics = nullptr;
    EXPECT_EQ(Gdiplus::Ok, gp::GdipGetImageGraphicsContext(metafile, &graphics));
    draw(graphics);
    gp::GdipDeleteGraphics(graphics);
    HENHMETAFILE handle = nullptr;
    EXPECT_EQ(Gdiplus::Ok, gp::GdipGetHemfFromMetafile(metafile, &handle));
    std::vector<uint8_t> bytes(GetEnhMetaFileBits(handle, 0, nullptr));
    GetEnhMetaFileBits(handle, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(handle);
    gp::GdipDisposeImage(metafile);
    return bytes;
}

void FillRect(Gdiplus::GpGraphics* graphics, Gdiplus::ARGB color, int x, int y, int w, int h) {
    Gdiplus::GpSolidFill* brush = nullptr;
    gp::GdipCreateSolidFill(color, &brush);
    gp::GdipFillRectangleI(graphics, brush, x, y, w, h);
    gp::GdipDeleteBrush(brush);
}

// Red at (10, 10) 30 x 30, then a blue path at (60, 60) 30 x 30.
void RedThenBlue(Gdiplus::GpGraphics* graphics) {
    FillRect(graphics, 0xFFFF0000, 10, 10, 30, 30);
    Gdiplus::GpPath* path = nullptr;
    gp::GdipCreatePath(Gdiplus::FillModeAlternate, &path);
    gp::GdipAddPathRectangleI(path, 60, 60, 30, 30);
    Gdiplus::GpSolidFill* brush = nullptr;
    gp::GdipCreateSolidFill(0xFF0000FF, &brush);
    gp::GdipFillPath(graphics, brush, path);
    gp::GdipDeleteBrush(brush);
    gp::GdipDeletePath(path);
}

uint32_t U32At(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, &bytes[at], 4);
    return value;
}

// The records of a metafile's bytes, and the bytes again with the header's counts set.
std::vector<std::vector<uint8_t>> Split(const std::vector<uint8_t>& bytes) {
    std::vector<std::vector<uint8_t>> records;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        const uint32_t size = U32At(bytes, at + 4);
        records.emplace_back(bytes.begin() + at, bytes.begin() + at + size);
        at += size;
    }
    return records;
}

std::vector<uint8_t> Join(const std::vector<std::vector<uint8_t>>& records, uint16_t handles) {
    std::vector<uint8_t> bytes;
    for (const auto& record : records) {
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    const uint32_t size = static_cast<uint32_t>(bytes.size());
    const uint32_t count = static_cast<uint32_t>(records.size());
    std::memcpy(&bytes[48], &size, 4);
    std::memcpy(&bytes[52], &count, 4);
    std::memcpy(&bytes[56], &handles, 2);
    return bytes;
}

bool IsEmfPlusComment(const std::vector<uint8_t>& record) {
    return U32At(record, 0) == 70 && record.size() >= 16 && U32At(record, 12) == kEmfPlusIdentifier;
}

// The EMF+ records of every run of EMF+ comments moved into the run's first comment.
std::vector<uint8_t> MergeEmfPlusComments(const std::vector<uint8_t>& bytes) {
    std::vector<std::vector<uint8_t>> merged;
    for (const auto& record : Split(bytes)) {
        if (IsEmfPlusComment(record) && !merged.empty() && IsEmfPlusComment(merged.back())) {
            std::vector<uint8_t>& into = merged.back();
            const uint32_t data = U32At(into, 8) + U32At(record, 8) - 4;
            into.insert(into.end(), record.begin() + 16, record.end());
            const uint32_t size = static_cast<uint32_t>(into.size());
            std::memcpy(&into[4], &size, 4);
            std::memcpy(&into[8], &data, 4);
        } else {
            merged.push_back(record);
        }
    }
    return Join(merged, static_cast<uint16_t>(U32At(bytes, 56)));
}

// The picture of the loaded document up to `current` (and `place`) as `player` draws it into a
// 100 x 100 picture at the origin of a white 120 x 120 surface.
std::vector<uint32_t> Drawn(const Player& player, int32_t current, int32_t place = -1) {
    DibSurface surface(120, 120);
    surface.Fill(RGB(255, 255, 255));
    PlayUpTo(player, surface.dc(), RECT{0, 0, 100, 100}, g_document, ListedRecordFilter(), current,
             place);
    return std::vector<uint32_t>(surface.Flushed(), surface.Flushed() + surface.count());
}

int Count(const std::vector<uint32_t>& pixels, uint32_t color) {
    int n = 0;
    for (uint32_t pixel : pixels) {
        n += (pixel & 0xFFFFFF) == color ? 1 : 0;
    }
    return n;
}

uint32_t At(const std::vector<uint32_t>& pixels, int x, int y) {
    return pixels[size_t(y) * 120 + size_t(x)] & 0xFFFFFF;
}

int32_t Last() {
    return g_document.Store().count() - 1;
}

TEST(GdiPlusPlayer, DrawsAnEmfPlusOnlyFileWhereGdiDrawsNothing) {
    CanvasHost host(400, 300);
    ASSERT_NE(nullptr, host.AddFilterList());
    ASSERT_TRUE(host.Open(
        WriteTempFile("emfplus-only.emf", Record(Gdiplus::EmfTypeEmfPlusOnly, RedThenBlue))));
    const std::vector<uint32_t> plus = Drawn(kGdiPlusPlayer, Last());
    EXPECT_EQ(0xFF0000u, At(plus, 25, 25));
    EXPECT_EQ(0x0000FFu, At(plus, 75, 75));
    EXPECT_EQ(kWhite, At(plus, 50, 50));
    EXPECT_NEAR(900, Count(plus, 0xFF0000), 130);
    EXPECT_NEAR(900, Count(plus, 0x0000FF), 130);
    EXPECT_EQ(120 * 120, Count(Drawn(kGdiPlayer, Last()), kWhite));
    EXPECT_TRUE(LastGdiPlusRefusals().empty());
}

// The EMF+ records merged into one comment: each sub-step adds one of them, and stepping goes
// through them in order, over the comments that carry none.
TEST(GdiPlusPlayer, SubStepsStopAtTheEmfPlusRecordAskedFor) {
    CanvasHost host(400, 300);
    ASSERT_NE(nullptr, host.AddFilterList());
    ASSERT_TRUE(host.Open(
        WriteTempFile("emfplus-merged.emf",
                      MergeEmfPlusComments(Record(Gdiplus::EmfTypeEmfPlusOnly, RedThenBlue)))));
    int32_t comment = -1;
    for (int32_t i = 0; i < g_document.Store().count() && comment < 0; ++i) {
        comment = EmfPlusRecordCount(g_document, i) > 2 ? i : -1;
    }
    ASSERT_GE(comment, 0);
    const int32_t count = EmfPlusRecordCount(g_document, comment);
    // The places at which red, then blue, first show.
    int32_t red = -1, blue = -1;
    for (int32_t place = 0; place < count; ++place) {
        const std::vector<uint32_t> pixels = Drawn(kGdiPlusPlayer, comment, place);
        if (red < 0 && At(pixels, 25, 25) == 0xFF0000) {
            red = place;
        }
        if (blue < 0 && At(pixels, 75, 75) == 0x0000FF) {
            blue = place;
            EXPECT_EQ(0xFF0000u, At(pixels, 25, 25));
        }
    }
    ASSERT_GE(red, 0);
    EXPECT_GT(blue, red);
    EXPECT_EQ(kWhite, At(Drawn(kGdiPlusPlayer, comment, red - 1), 25, 25));
    EXPECT_EQ(Drawn(kGdiPlusPlayer, comment), Drawn(kGdiPlusPlayer, comment, count - 1));

    PlaybackPlace to;
    ASSERT_TRUE(StepEmfPlusRecord(g_document, ListedRecordFilter(), {comment, red}, true, &to));
    EXPECT_EQ(comment, to.record);
    EXPECT_EQ(red + 1, to.place);
    // Every EMF+ record is in the one comment: none comes before its first.
    EXPECT_FALSE(StepEmfPlusRecord(g_document, ListedRecordFilter(), {comment, 0}, false, &to));
    ASSERT_TRUE(StepEmfPlusRecord(g_document, ListedRecordFilter(), {0, -1}, true, &to));
    EXPECT_EQ(comment, to.record);
    EXPECT_EQ(0, to.place);
    // Back from the whole comment is its last record but one; a switched-off comment plays none
    // of its EMF+ records and is stepped over.
    ASSERT_TRUE(StepEmfPlusRecord(g_document, ListedRecordFilter(), {comment, -1}, false, &to));
    EXPECT_EQ(count - 2, to.place);
    g_record_filter.Set(comment, true);
    EXPECT_EQ(120 * 120, Count(Drawn(kGdiPlusPlayer, Last()), kWhite));
    EXPECT_FALSE(StepEmfPlusRecord(g_document, ListedRecordFilter(), {0, -1}, true, &to) &&
                 to.record == comment);
    g_record_filter.Set(comment, false);
}

// A dual file: its EMF+ records draw red on the left, its GDI fallback blue on the right; GDI+
// draws only the first, GDI only the second, and the two pictures differ in both.
TEST(GdiPlusPlayer, DrawsADualFilesEmfPlusLayerAndGdiItsFallback) {
    std::vector<std::vector<uint8_t>> records =
        Split(Record(Gdiplus::EmfTypeEmfPlusDual, [](Gdiplus::GpGraphics* graphics) {
            FillRect(graphics, 0xFFFF0000, 10, 10, 30, 30);
        }));
    const auto record = [](const RecordBuilder& r) { return r.bytes(); };
    const std::vector<std::vector<uint8_t>> fallback = {
        record(RecordBuilder(37, 12).U32(8, 0x80000008)),  // the null pen
        record(RecordBuilder(39, 24).U32(8, 1).U32(12, BS_SOLID).U32(16, kBlue)),
        record(RecordBuilder(37, 12).U32(8, 1)),
        record(RecordBuilder(43, 24).I32(8, 60).I32(12, 60).I32(16, 90).I32(20, 90)),
    };
    records.insert(records.end() - 1, fallback.begin(), fallback.end());
    CanvasHost host(400, 300);
    ASSERT_NE(nullptr, host.AddFilterList());
    ASSERT_TRUE(host.Open(WriteTempFile("emfplus-dual.emf", Join(records, 2))));
    const std::vector<uint32_t> gdi = Drawn(kGdiPlayer, Last());
    const std::vector<uint32_t> plus = Drawn(kGdiPlusPlayer, Last());
    EXPECT_EQ(0xFF0000u, At(plus, 25, 25));
    EXPECT_EQ(kWhite, At(plus, 75, 75));
    EXPECT_EQ(kWhite, At(gdi, 25, 25));
    EXPECT_EQ(0x0000FFu, At(gdi, 75, 75));

    DibSurface surface(120, 120);
    surface.Fill(RGB(255, 255, 255));
    const int64_t differ = PlayShowingWherePlayersDiffer(
        surface.dc(), RECT{0, 0, 100, 100}, RECT{0, 0, 120, 120}, kGdiPlayer, kGdiPlusPlayer,
        g_document, ListedRecordFilter(), Last(), -1);
    int64_t expected = 0;
    for (size_t i = 0; i < gdi.size(); ++i) {
        expected += (i % 120) < 100 && (i / 120) < 100 && gdi[i] != plus[i] ? 1 : 0;
    }
    EXPECT_EQ(expected, differ);
    EXPECT_GT(differ, 1500);
}

// GDI+ may leave record types undrawn (Wine's does not implement ResetClip and SetTSClip);
// each it refuses is counted by type, and a type it draws is never among them.
TEST(GdiPlusPlayer, CountsTheRecordsGdiPlusRefuses) {
    std::vector<std::vector<uint8_t>> records =
        Split(Record(Gdiplus::EmfTypeEmfPlusOnly, [](Gdiplus::GpGraphics* graphics) {
            FillRect(graphics, 0xFFFF0000, 10, 10, 30, 30);
        }));
    constexpr uint16_t kResetClip = 0x4031, kSetTsClip = 0x403A;
    records.insert(
        records.end() - 1,
        PlusComment({Plus(kResetClip, 0), Plus(kSetTsClip, 0), Plus(kResetClip, 0)}).bytes());
    CanvasHost host(400, 300);
    ASSERT_NE(nullptr, host.AddFilterList());
    ASSERT_TRUE(host.Open(WriteTempFile("emfplus-refused.emf", Join(records, 1))));
    EXPECT_EQ(0xFF0000u, At(Drawn(kGdiPlusPlayer, Last()), 25, 25));
    const std::vector<RefusedRecords>& refused = LastGdiPlusRefusals();
    ASSERT_EQ(2u, refused.size());
    EXPECT_EQ(kResetClip, refused[0].type);
    EXPECT_EQ(2u, refused[0].count);
    EXPECT_EQ(kSetTsClip, refused[1].type);
    EXPECT_EQ(1u, refused[1].count);
    // Played up to the record before, none of them.
    EXPECT_EQ(0xFF0000u, At(Drawn(kGdiPlusPlayer, Last() - 2), 25, 25));
    EXPECT_TRUE(LastGdiPlusRefusals().empty());
}

// Both: GDI's picture in the left half, GDI+'s at the same place in the right half; the
// differences take the left picture's place.
TEST(GdiPlusPlayer, TheCanvasShowsBothPicturesSideBySide) {
    CanvasHost host(400, 200);
    ASSERT_NE(nullptr, host.AddFilterList());
    ASSERT_TRUE(host.Open(
        WriteTempFile("emfplus-both.emf", Record(Gdiplus::EmfTypeEmfPlusOnly, RedThenBlue))));
    SendMessageW(host.canvas(), WM_COMMAND, IDM_RENDERBOTH, 0);
    host.PaintNow();
    EXPECT_EQ(Renderer::kBoth, g_canvas_view.renderer);
    const CanvasRect p = g_canvas_view.picture;
    // The picture fits one half.
    EXPECT_LE(p.right, 200);
    const int w = p.right - p.left, h = p.bottom - p.top;
    const RECT left = {p.left, p.top, p.right, p.bottom};
    const RECT right = {p.left + 200, p.top, p.right + 200, p.bottom};
    {
        ClientPixels pixels(host.canvas());
        EXPECT_EQ(0, pixels.Count(left, AsPixel(kRed)));
        EXPECT_GT(pixels.Count(right, AsPixel(kRed)), w * h / 20);
    }
    SendMessageW(host.canvas(), WM_COMMAND, IDM_SHOWDIFFERENCES, 0);
    host.PaintNow();
    {
        // The button panel lies over the red square: the blue one's quarter is counted.
        ClientPixels pixels(host.canvas());
        const RECT quarter = {p.left + w / 2, p.top + h / 2, p.right, p.bottom};
        EXPECT_GT(pixels.Count(quarter, 0xFF0080), w * h / 20);
        EXPECT_GT(pixels.Count(right, AsPixel(kRed)), w * h / 20);
    }
    SendMessageW(host.canvas(), WM_COMMAND, IDM_RENDERGDI, 0);
    EXPECT_FALSE(g_canvas_view.show_differences);
}

// The paused GDI+ player draws pixel for pixel what a GDI+ playback from the start draws, over
// the corpus files that carry EMF+ records: stepping by records and by EMF+ records, forward and
// back, jumping, zoomed, and with the current record switched off.
TEST(GdiPlusPlayerCorpus, PausedDrawsWhatAPlaybackFromTheStartDraws) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    int files = 0;
    for (const std::string& path : ListEmfFiles(corpus + "/good")) {
        ASSERT_NE(0, g_document.LoadFile(ToU16(path).c_str())) << path;
        const int32_t count = g_document.Store().count();
        PlaybackPlace first;
        if (!StepEmfPlusRecord(g_document, nullptr, {0, -1}, true, &first)) {
            continue;
        }
        ++files;
        RecordFilter filter;
        filter.Reset(count);
        std::vector<PlaybackPlace> places = {{0, -1}, first};
        for (int i = 0; i < 6 && StepEmfPlusRecord(g_document, &filter, places.back(), true,
                                                   &places.emplace_back());
             ++i) {
        }
        places.pop_back();
        const int32_t last = count - 1, mid = count / 2;
        for (const int32_t record : {mid, mid + 1, mid - 1, mid - 5, last, last - 1, 1}) {
            places.push_back({std::clamp(record, 0, last), -1});
        }
        places.push_back(places[3]);
        const auto drawn = [&](const Player& player, const RECT& picture, PlaybackPlace at) {
            DibSurface surface(320, 240);
            surface.Fill(g_canvas_view.background_color);
            PlayUpTo(player, surface.dc(), picture, g_document, &filter, at.record, at.place);
            return std::vector<uint32_t>(surface.Flushed(), surface.Flushed() + surface.count());
        };
        const auto agree = [&](const RECT& picture) {
            for (const PlaybackPlace& at : places) {
                if (drawn(kPausedGdiPlusPlayer, picture, at) !=
                    drawn(kGdiPlusPlayer, picture, at)) {
                    ADD_FAILURE() << path << " at " << at.record << "." << at.place;
                    return;
                }
            }
        };
        agree(RECT{20, 10, 300, 230});
        places = {{mid, -1}, {mid + 1, -1}, {mid, -1}};
        agree(RECT{-150, -60, 500, 400});
        filter.Set(mid, true);
        agree(RECT{-150, -60, 500, 400});
    }
    EXPECT_GT(files, 0);
    EndGdiPlusPlayback();
}

}  // namespace
