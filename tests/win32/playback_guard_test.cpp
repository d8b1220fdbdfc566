// The platform's player, given the document's guarded handle, draws sound files exactly as it
// draws them unguarded. (That it survives damaged files, the hostile-file window test shows.)
//
// The files are played into a memory surface (a DIB section) with the same two platform calls
// the canvas makes: the whole metafile at once, and record by record through the enumeration,
// stopping after a chosen record as the canvas does when it is stepped.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "document/metafile_document.h"
#include "document/playback_copy.h"
#include "document/record_guard.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr uint32_t kGround = 0x00FFFFE1;

// A 32-bit memory surface and the pixels it holds.
class Surface {
  public:
    Surface() {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Surface() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool ok() const { return dc_ != nullptr && bitmap_ != nullptr && bits_ != nullptr; }

    void PlayWhole(HENHMETAFILE metafile) {
        Clear();
        PlayEnhMetaFile(dc_, metafile, &kPicture);
    }

    // Plays records 0 to `last` one by one, as the canvas does for a current record `last`.
    void PlayUpTo(HENHMETAFILE metafile, int last) {
        Clear();
        Stepping stepping{last, 0};
        EnumEnhMetaFile(dc_, metafile, PlayUntil, &stepping, &kPicture);
    }

    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        const uint32_t* pixels = static_cast<const uint32_t*>(bits_);
        return std::vector<uint32_t>(pixels, pixels + kWidth * kHeight);
    }

  private:
    struct Stepping {
        int last;
        int played;
    };

    static int CALLBACK PlayUntil(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record,
                                  int handles, LPARAM data) {
        Stepping* stepping = reinterpret_cast<Stepping*>(data);
        PlayEnhMetaFileRecord(dc, table, record, handles);
        return stepping->played++ < stepping->last ? 1 : 0;
    }

    void Clear() {
        GdiFlush();
        std::fill_n(static_cast<uint32_t*>(bits_), kWidth * kHeight, kGround);
    }

    static constexpr RECT kPicture = {8, 6, kWidth - 8, kHeight - 6};
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

// Plays the document's metafile whole and record by record: through every record, and
// stopping after a few records on the way.
void PlayWholeAndStepped(const MetafileDocument& document, Surface& surface) {
    const HENHMETAFILE metafile = static_cast<HENHMETAFILE>(document.Metafile());
    const int last = document.Store().count() - 1;
    surface.PlayWhole(metafile);
    for (int stop : {0, 1, last / 4, last / 2, last - 1, last, last + 1}) {
        surface.PlayUpTo(metafile, stop < 0 ? 0 : stop);
    }
}

// The good corpus plays whole and stepped too, and every file from which the guard takes no
// record looks the same as when the platform plays the file itself.
TEST(PlaybackGuard, GoodCorpusPlaysAsItDoesWithoutTheGuard) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    Surface surface;
    ASSERT_TRUE(surface.ok());
    int compared = 0;
    for (const std::string& path : ListEmfFiles(corpus + "/good")) {
        SCOPED_TRACE(path);
        MetafileDocument document;
        ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
        PlayWholeAndStepped(document, surface);
        PlaybackCopy copy;
        ASSERT_EQ(BuildPlaybackCopy(document.Store(), &copy), 1);
        // An end-of-file record added where the header's nRecords stopped the store short
        // changes nothing the player draws.
        if (!std::all_of(copy.replacements.begin(), copy.replacements.end(),
                         [](const PlaybackReplacement& r) {
                             return r.mend == PlaybackMend::kAddedEndOfFile;
                         })) {
            continue;
        }
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        const HENHMETAFILE unguarded =
            SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
        ASSERT_NE(unguarded, nullptr);
        surface.PlayWhole(unguarded);
        const std::vector<uint32_t> expected = surface.Pixels();
        surface.PlayWhole(static_cast<HENHMETAFILE>(document.Metafile()));
        EXPECT_TRUE(surface.Pixels() == expected);
        DeleteEnhMetaFile(unguarded);
        ++compared;
    }
    std::printf("good corpus: %d files compared pixel for pixel\n", compared);
    EXPECT_GT(compared, 150);
}

// Records the player would survive unguarded but the guard replaces: a comment whose size
// runs past the record and types the format does not define. Their replacements draw nothing,
// so the picture is the same either way, whole and stepped.
TEST(PlaybackGuard, ReplacedRecordsChangeNoPixels) {
    RecordBuilder pen(38, 28);
    pen.U32(8, 1).U32(16, 3).U32(24, 0x0000C0);
    const std::vector<uint8_t> bytes = EmfBuilder()
                                           .Handles(2)
                                           .Add(pen)
                                           .Add(RecordBuilder(37, 12).U32(8, 1))
                                           .Add(RecordBuilder(69, 16))
                                           .Add(RecordBuilder(42, 24).I32(16, 60).I32(20, 40))
                                           .Add(RecordBuilder(70, 16).U32(8, 200))
                                           .Add(RecordBuilder(107, 12))
                                           .Add(RecordBuilder(43, 24).I32(8, 20).I32(16, 90))
                                           .Build();
    const std::string path = WriteTempFile("harmless.emf", bytes);
    MetafileDocument document;
    ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
    PlaybackCopy copy;
    ASSERT_EQ(BuildPlaybackCopy(document.Store(), &copy), 1);
    ASSERT_EQ(copy.replacements.size(), 3u);
    const HENHMETAFILE unguarded =
        SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
    const HENHMETAFILE guarded = static_cast<HENHMETAFILE>(document.Metafile());
    Surface surface;
    ASSERT_TRUE(surface.ok());
    surface.PlayWhole(unguarded);
    const std::vector<uint32_t> whole = surface.Pixels();
    EXPECT_GT(std::count_if(whole.begin(), whole.end(), [](uint32_t p) { return p != kGround; }),
              100);
    surface.PlayWhole(guarded);
    EXPECT_TRUE(surface.Pixels() == whole);
    for (int stop = 0; stop < document.Store().count(); ++stop) {
        surface.PlayUpTo(unguarded, stop);
        const std::vector<uint32_t> stepped = surface.Pixels();
        surface.PlayUpTo(guarded, stop);
        EXPECT_TRUE(surface.Pixels() == stepped) << stop;
    }
    DeleteEnhMetaFile(unguarded);
}

// The guard's structure lengths are those of the platform's record structures, without their
// trailing variable arrays: each entry a type and its structure's size, whole or up to that array.
#define WHOLE(name) \
    { EMR_##name, sizeof(EMR##name) }
#define UPTO(name, field) \
    { EMR_##name, offsetof(EMR##name, field) }
TEST(RecordStructures, MatchThePlatformsRecordStructures) {
    const struct {
        uint32_t type;
        size_t bytes;
    } kStructures[] = {
        {EMR_HEADER, offsetof(ENHMETAHEADER, cbPixelFormat)},
        {EMR_EXTCREATEFONTINDIRECTW, offsetof(EMREXTCREATEFONTINDIRECTW, elfw) + sizeof(LOGFONTW)},
        // The record holds the 32-bit form of the pen, whose hatch field has 4 bytes.
        {EMR_EXTCREATEPEN,
         offsetof(EMREXTCREATEPEN, cbBits) + 4 + offsetof(EXTLOGPEN32, elpStyleEntry)},
        {105, offsetof(EMRDRAWESCAPE, EscData)},
        {106, offsetof(EMREXTESCAPE, EscData)},
        {110, offsetof(EMRNAMEDESCAPE, EscData)},
        {EMR_COLORMATCHTOTARGETW, offsetof(EMRCOLORMATCHTOTARGET, Data)},
        // clang-format off
        UPTO(POLYBEZIER, aptl), UPTO(POLYGON, aptl), UPTO(POLYLINE, aptl), UPTO(POLYBEZIERTO, aptl),
        UPTO(POLYLINETO, aptl), UPTO(POLYPOLYLINE, aPolyCounts), UPTO(POLYPOLYGON, aPolyCounts),
        WHOLE(SETWINDOWEXTEX), WHOLE(SETWINDOWORGEX), WHOLE(SETVIEWPORTEXTEX),
        WHOLE(SETVIEWPORTORGEX), WHOLE(SETBRUSHORGEX), WHOLE(EOF), WHOLE(SETPIXELV),
        WHOLE(SETMAPPERFLAGS), WHOLE(SETMAPMODE), WHOLE(SETBKMODE), WHOLE(SETPOLYFILLMODE),
        WHOLE(SETROP2), WHOLE(SETSTRETCHBLTMODE), WHOLE(SETTEXTALIGN), WHOLE(SETCOLORADJUSTMENT),
        WHOLE(SETTEXTCOLOR), WHOLE(SETBKCOLOR), WHOLE(OFFSETCLIPRGN), WHOLE(MOVETOEX),
        WHOLE(SETMETARGN), WHOLE(EXCLUDECLIPRECT), WHOLE(INTERSECTCLIPRECT),
        WHOLE(SCALEVIEWPORTEXTEX), WHOLE(SCALEWINDOWEXTEX), WHOLE(SAVEDC), WHOLE(RESTOREDC),
        WHOLE(SETWORLDTRANSFORM), WHOLE(MODIFYWORLDTRANSFORM), WHOLE(SELECTOBJECT),
        WHOLE(CREATEPEN), WHOLE(CREATEBRUSHINDIRECT), WHOLE(DELETEOBJECT), WHOLE(ANGLEARC),
        WHOLE(ELLIPSE), WHOLE(RECTANGLE), WHOLE(ROUNDRECT), WHOLE(ARC), WHOLE(CHORD), WHOLE(PIE),
        WHOLE(SELECTPALETTE), UPTO(CREATEPALETTE, lgpl.palPalEntry),
        UPTO(SETPALETTEENTRIES, aPalEntries), WHOLE(RESIZEPALETTE), WHOLE(REALIZEPALETTE),
        WHOLE(EXTFLOODFILL), WHOLE(LINETO), WHOLE(ARCTO), UPTO(POLYDRAW, aptl),
        WHOLE(SETARCDIRECTION), WHOLE(SETMITERLIMIT), WHOLE(BEGINPATH), WHOLE(ENDPATH),
        WHOLE(CLOSEFIGURE), WHOLE(FILLPATH), WHOLE(STROKEANDFILLPATH), WHOLE(STROKEPATH),
        WHOLE(FLATTENPATH), WHOLE(WIDENPATH), WHOLE(SELECTCLIPPATH), WHOLE(ABORTPATH),
        UPTO(GDICOMMENT, Data), UPTO(FILLRGN, RgnData), UPTO(FRAMERGN, RgnData),
        UPTO(INVERTRGN, RgnData), UPTO(PAINTRGN, RgnData), UPTO(EXTSELECTCLIPRGN, RgnData),
        WHOLE(BITBLT), WHOLE(STRETCHBLT), WHOLE(MASKBLT), WHOLE(PLGBLT), WHOLE(SETDIBITSTODEVICE),
        WHOLE(STRETCHDIBITS), WHOLE(EXTTEXTOUTA), WHOLE(EXTTEXTOUTW), UPTO(POLYBEZIER16, apts),
        UPTO(POLYGON16, apts), UPTO(POLYLINE16, apts), UPTO(POLYBEZIERTO16, apts),
        UPTO(POLYLINETO16, apts), UPTO(POLYPOLYLINE16, aPolyCounts),
        UPTO(POLYPOLYGON16, aPolyCounts), UPTO(POLYDRAW16, apts), WHOLE(CREATEMONOBRUSH),
        WHOLE(CREATEDIBPATTERNBRUSHPT), UPTO(POLYTEXTOUTA, aemrtext), UPTO(POLYTEXTOUTW, aemrtext),
        WHOLE(SETICMMODE), WHOLE(CREATECOLORSPACE), WHOLE(SETCOLORSPACE), WHOLE(DELETECOLORSPACE),
        UPTO(GLSRECORD, Data), UPTO(GLSBOUNDEDRECORD, Data), WHOLE(PIXELFORMAT),
        WHOLE(COLORCORRECTPALETTE), UPTO(SETICMPROFILEA, Data), UPTO(SETICMPROFILEW, Data),
        WHOLE(ALPHABLEND), WHOLE(SETLAYOUT), WHOLE(TRANSPARENTBLT), UPTO(GRADIENTFILL, Ver),
        UPTO(CREATECOLORSPACEW, Data),
        // clang-format on
    };
#undef WHOLE
#undef UPTO
    for (const auto& structure : kStructures) {
        EXPECT_EQ(RecordStructureBytes(structure.type), structure.bytes) << structure.type;
    }
}

}  // namespace
