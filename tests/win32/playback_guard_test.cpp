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

// Loads `path` as the window program does and plays it whole and record by record: through
// every record, and stopping after a few records on the way. Returns 0 when the file does not
// load, else the number of records stored.
int LoadAndPlay(const std::string& path, Surface& surface) {
    MetafileDocument document;
    if (document.LoadFile(ToU16(path).c_str()) == 0) {
        return 0;
    }
    const HENHMETAFILE metafile = static_cast<HENHMETAFILE>(document.Metafile());
    const int last = document.Store().count() - 1;
    surface.PlayWhole(metafile);
    for (int stop : {0, 1, last / 4, last / 2, last - 1, last, last + 1}) {
        surface.PlayUpTo(metafile, stop < 0 ? 0 : stop);
    }
    return last + 1;
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
        ASSERT_NE(LoadAndPlay(path, surface), 0);
        MetafileDocument document;
        ASSERT_EQ(document.LoadFile(ToU16(path).c_str()), 1);
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
// trailing variable arrays.
TEST(RecordStructures, MatchThePlatformsRecordStructures) {
    const struct {
        uint32_t type;
        size_t bytes;
    } kStructures[] = {
        {EMR_HEADER, offsetof(ENHMETAHEADER, cbPixelFormat)},
        {EMR_POLYBEZIER, offsetof(EMRPOLYBEZIER, aptl)},
        {EMR_POLYGON, offsetof(EMRPOLYGON, aptl)},
        {EMR_POLYLINE, offsetof(EMRPOLYLINE, aptl)},
        {EMR_POLYBEZIERTO, offsetof(EMRPOLYBEZIERTO, aptl)},
        {EMR_POLYLINETO, offsetof(EMRPOLYLINETO, aptl)},
        {EMR_POLYPOLYLINE, offsetof(EMRPOLYPOLYLINE, aPolyCounts)},
        {EMR_POLYPOLYGON, offsetof(EMRPOLYPOLYGON, aPolyCounts)},
        {EMR_SETWINDOWEXTEX, sizeof(EMRSETWINDOWEXTEX)},
        {EMR_SETWINDOWORGEX, sizeof(EMRSETWINDOWORGEX)},
        {EMR_SETVIEWPORTEXTEX, sizeof(EMRSETVIEWPORTEXTEX)},
        {EMR_SETVIEWPORTORGEX, sizeof(EMRSETVIEWPORTORGEX)},
        {EMR_SETBRUSHORGEX, sizeof(EMRSETBRUSHORGEX)},
        {EMR_EOF, sizeof(EMREOF)},
        {EMR_SETPIXELV, sizeof(EMRSETPIXELV)},
        {EMR_SETMAPPERFLAGS, sizeof(EMRSETMAPPERFLAGS)},
        {EMR_SETMAPMODE, sizeof(EMRSETMAPMODE)},
        {EMR_SETBKMODE, sizeof(EMRSETBKMODE)},
        {EMR_SETPOLYFILLMODE, sizeof(EMRSETPOLYFILLMODE)},
        {EMR_SETROP2, sizeof(EMRSETROP2)},
        {EMR_SETSTRETCHBLTMODE, sizeof(EMRSETSTRETCHBLTMODE)},
        {EMR_SETTEXTALIGN, sizeof(EMRSETTEXTALIGN)},
        {EMR_SETCOLORADJUSTMENT, sizeof(EMRSETCOLORADJUSTMENT)},
        {EMR_SETTEXTCOLOR, sizeof(EMRSETTEXTCOLOR)},
        {EMR_SETBKCOLOR, sizeof(EMRSETBKCOLOR)},
        {EMR_OFFSETCLIPRGN, sizeof(EMROFFSETCLIPRGN)},
        {EMR_MOVETOEX, sizeof(EMRMOVETOEX)},
        {EMR_SETMETARGN, sizeof(EMRSETMETARGN)},
        {EMR_EXCLUDECLIPRECT, sizeof(EMREXCLUDECLIPRECT)},
        {EMR_INTERSECTCLIPRECT, sizeof(EMRINTERSECTCLIPRECT)},
        {EMR_SCALEVIEWPORTEXTEX, sizeof(EMRSCALEVIEWPORTEXTEX)},
        {EMR_SCALEWINDOWEXTEX, sizeof(EMRSCALEWINDOWEXTEX)},
        {EMR_SAVEDC, sizeof(EMRSAVEDC)},
        {EMR_RESTOREDC, sizeof(EMRRESTOREDC)},
        {EMR_SETWORLDTRANSFORM, sizeof(EMRSETWORLDTRANSFORM)},
        {EMR_MODIFYWORLDTRANSFORM, sizeof(EMRMODIFYWORLDTRANSFORM)},
        {EMR_SELECTOBJECT, sizeof(EMRSELECTOBJECT)},
        {EMR_CREATEPEN, sizeof(EMRCREATEPEN)},
        {EMR_CREATEBRUSHINDIRECT, sizeof(EMRCREATEBRUSHINDIRECT)},
        {EMR_DELETEOBJECT, sizeof(EMRDELETEOBJECT)},
        {EMR_ANGLEARC, sizeof(EMRANGLEARC)},
        {EMR_ELLIPSE, sizeof(EMRELLIPSE)},
        {EMR_RECTANGLE, sizeof(EMRRECTANGLE)},
        {EMR_ROUNDRECT, sizeof(EMRROUNDRECT)},
        {EMR_ARC, sizeof(EMRARC)},
        {EMR_CHORD, sizeof(EMRCHORD)},
        {EMR_PIE, sizeof(EMRPIE)},
        {EMR_SELECTPALETTE, sizeof(EMRSELECTPALETTE)},
        {EMR_CREATEPALETTE, offsetof(EMRCREATEPALETTE, lgpl.palPalEntry)},
        {EMR_SETPALETTEENTRIES, offsetof(EMRSETPALETTEENTRIES, aPalEntries)},
        {EMR_RESIZEPALETTE, sizeof(EMRRESIZEPALETTE)},
        {EMR_REALIZEPALETTE, sizeof(EMRREALIZEPALETTE)},
        {EMR_EXTFLOODFILL, sizeof(EMREXTFLOODFILL)},
        {EMR_LINETO, sizeof(EMRLINETO)},
        {EMR_ARCTO, sizeof(EMRARCTO)},
        {EMR_POLYDRAW, offsetof(EMRPOLYDRAW, aptl)},
        {EMR_SETARCDIRECTION, sizeof(EMRSETARCDIRECTION)},
        {EMR_SETMITERLIMIT, sizeof(EMRSETMITERLIMIT)},
        {EMR_BEGINPATH, sizeof(EMRBEGINPATH)},
        {EMR_ENDPATH, sizeof(EMRENDPATH)},
        {EMR_CLOSEFIGURE, sizeof(EMRCLOSEFIGURE)},
        {EMR_FILLPATH, sizeof(EMRFILLPATH)},
        {EMR_STROKEANDFILLPATH, sizeof(EMRSTROKEANDFILLPATH)},
        {EMR_STROKEPATH, sizeof(EMRSTROKEPATH)},
        {EMR_FLATTENPATH, sizeof(EMRFLATTENPATH)},
        {EMR_WIDENPATH, sizeof(EMRWIDENPATH)},
        {EMR_SELECTCLIPPATH, sizeof(EMRSELECTCLIPPATH)},
        {EMR_ABORTPATH, sizeof(EMRABORTPATH)},
        {EMR_GDICOMMENT, offsetof(EMRGDICOMMENT, Data)},
        {EMR_FILLRGN, offsetof(EMRFILLRGN, RgnData)},
        {EMR_FRAMERGN, offsetof(EMRFRAMERGN, RgnData)},
        {EMR_INVERTRGN, offsetof(EMRINVERTRGN, RgnData)},
        {EMR_PAINTRGN, offsetof(EMRPAINTRGN, RgnData)},
        {EMR_EXTSELECTCLIPRGN, offsetof(EMREXTSELECTCLIPRGN, RgnData)},
        {EMR_BITBLT, sizeof(EMRBITBLT)},
        {EMR_STRETCHBLT, sizeof(EMRSTRETCHBLT)},
        {EMR_MASKBLT, sizeof(EMRMASKBLT)},
        {EMR_PLGBLT, sizeof(EMRPLGBLT)},
        {EMR_SETDIBITSTODEVICE, sizeof(EMRSETDIBITSTODEVICE)},
        {EMR_STRETCHDIBITS, sizeof(EMRSTRETCHDIBITS)},
        {EMR_EXTCREATEFONTINDIRECTW, offsetof(EMREXTCREATEFONTINDIRECTW, elfw) + sizeof(LOGFONTW)},
        {EMR_EXTTEXTOUTA, sizeof(EMREXTTEXTOUTA)},
        {EMR_EXTTEXTOUTW, sizeof(EMREXTTEXTOUTW)},
        {EMR_POLYBEZIER16, offsetof(EMRPOLYBEZIER16, apts)},
        {EMR_POLYGON16, offsetof(EMRPOLYGON16, apts)},
        {EMR_POLYLINE16, offsetof(EMRPOLYLINE16, apts)},
        {EMR_POLYBEZIERTO16, offsetof(EMRPOLYBEZIERTO16, apts)},
        {EMR_POLYLINETO16, offsetof(EMRPOLYLINETO16, apts)},
        {EMR_POLYPOLYLINE16, offsetof(EMRPOLYPOLYLINE16, aPolyCounts)},
        {EMR_POLYPOLYGON16, offsetof(EMRPOLYPOLYGON16, aPolyCounts)},
        {EMR_POLYDRAW16, offsetof(EMRPOLYDRAW16, apts)},
        {EMR_CREATEMONOBRUSH, sizeof(EMRCREATEMONOBRUSH)},
        {EMR_CREATEDIBPATTERNBRUSHPT, sizeof(EMRCREATEDIBPATTERNBRUSHPT)},
        // The record holds the 32-bit form of the pen, whose hatch field has 4 bytes.
        {EMR_EXTCREATEPEN,
         offsetof(EMREXTCREATEPEN, cbBits) + 4 + offsetof(EXTLOGPEN32, elpStyleEntry)},
        {EMR_POLYTEXTOUTA, offsetof(EMRPOLYTEXTOUTA, aemrtext)},
        {EMR_POLYTEXTOUTW, offsetof(EMRPOLYTEXTOUTW, aemrtext)},
        {EMR_SETICMMODE, sizeof(EMRSETICMMODE)},
        {EMR_CREATECOLORSPACE, sizeof(EMRCREATECOLORSPACE)},
        {EMR_SETCOLORSPACE, sizeof(EMRSETCOLORSPACE)},
        {EMR_DELETECOLORSPACE, sizeof(EMRDELETECOLORSPACE)},
        {EMR_GLSRECORD, offsetof(EMRGLSRECORD, Data)},
        {EMR_GLSBOUNDEDRECORD, offsetof(EMRGLSBOUNDEDRECORD, Data)},
        {EMR_PIXELFORMAT, sizeof(EMRPIXELFORMAT)},
        {105, offsetof(EMRDRAWESCAPE, EscData)},
        {106, offsetof(EMREXTESCAPE, EscData)},
        {110, offsetof(EMRNAMEDESCAPE, EscData)},
        {EMR_COLORCORRECTPALETTE, sizeof(EMRCOLORCORRECTPALETTE)},
        {EMR_SETICMPROFILEA, offsetof(EMRSETICMPROFILEA, Data)},
        {EMR_SETICMPROFILEW, offsetof(EMRSETICMPROFILEW, Data)},
        {EMR_ALPHABLEND, sizeof(EMRALPHABLEND)},
        {EMR_SETLAYOUT, sizeof(EMRSETLAYOUT)},
        {EMR_TRANSPARENTBLT, sizeof(EMRTRANSPARENTBLT)},
        {EMR_GRADIENTFILL, offsetof(EMRGRADIENTFILL, Ver)},
        {EMR_COLORMATCHTOTARGETW, offsetof(EMRCOLORMATCHTOTARGET, Data)},
        {EMR_CREATECOLORSPACEW, offsetof(EMRCREATECOLORSPACEW, Data)},
    };
    for (const auto& structure : kStructures) {
        EXPECT_EQ(RecordStructureBytes(structure.type), structure.bytes) << structure.type;
    }
}

}  // namespace
