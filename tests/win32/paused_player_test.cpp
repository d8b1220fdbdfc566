// The paused player draws pixel for pixel what a playback from the start draws: after steps
// forward and back, a jump, a zoom, a filter change and a new ground, over corpus files and the
// quadrant picture.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "app/app_globals.h"
#include "canvas/canvas_view.h"
#include "canvas/dib_surface_win.h"
#include "canvas/paused_player_win.h"
#include "document/record_filter.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"
#include "tests/win32/canvas_test_support.h"

namespace {

std::vector<uint32_t> Drawn(const Player& player, const RECT& picture, const RecordFilter& filter,
                            int32_t current) {
    DibSurface surface(320, 240);
    surface.Fill(g_canvas_view.background_color);
    player.play(surface.dc(), picture, g_document, &filter, current);
    return std::vector<uint32_t>(surface.Flushed(), surface.Flushed() + surface.count());
}

// Whether the two players agree at each of `currents` in turn; the first record where they do
// not, or -1.
int32_t FirstDisagreement(const RECT& picture, const RecordFilter& filter,
                          const std::vector<int32_t>& currents) {
    for (const int32_t current : currents) {
        if (Drawn(kPausedPlayer, picture, filter, current) !=
            Drawn(kGdiPlayer, picture, filter, current)) {
            return current;
        }
    }
    return -1;
}

TEST(PausedPlayerCorpus, DrawsWhatAPlaybackFromTheStartDraws) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    std::vector<std::string> files = {WriteQuadrantPicture()};
    const std::vector<std::string> good = ListEmfFiles(corpus + "/good");
    for (size_t i = 0; i < good.size(); i += 6) {
        files.push_back(good[i]);
    }
    for (const std::string& path : files) {
        ASSERT_NE(0, g_document.LoadFile(ToU16(path).c_str())) << path;
        const int32_t count = g_document.Store().count();
        RecordFilter filter;
        filter.Reset(count);
        const int32_t last = count - 1, mid = count / 2;
        const RECT picture = {20, 10, 300, 230};
        // Forward one by one from the start, on to the middle, back in short steps, to the end
        // and back to the start.
        std::vector<int32_t> steps = {0,       1,       2,        3,    mid,      mid + 1,
                                      mid - 1, mid - 3, mid - 20, last, last - 1, 0};
        for (int32_t& s : steps) {
            s = s < 0 ? 0 : s > last ? last : s;
        }
        EXPECT_EQ(-1, FirstDisagreement(picture, filter, steps)) << path;
        // Zoomed and moved, partly outside the surface.
        const RECT zoomed = {-150, -60, 500, 400};
        EXPECT_EQ(-1, FirstDisagreement(zoomed, filter, {mid, mid + 2, mid})) << path;
        // A record switched off, the current one among them.
        filter.Set(mid, true);
        EXPECT_EQ(-1, FirstDisagreement(zoomed, filter, {mid, mid + 1, last})) << path;
        // Another ground.
        const uint32_t ground = g_canvas_view.background_color;
        g_canvas_view.background_color = 0x00302010;
        EXPECT_EQ(-1, FirstDisagreement(zoomed, filter, {mid + 1})) << path;
        g_canvas_view.background_color = ground;
    }
    EndPausedPlayback();
}

}  // namespace
