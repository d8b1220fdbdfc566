// The GDI+ player. GDI+ is handed the guarded copy of the document, with its EMF+ records
// guarded too, and enumerates it: the callback learns each GDI record and each EMF+ record in
// file order (never the comments that carry EMF+ records), finds which record of the document
// it stands for, and plays it through GdipPlayMetafileRecord when the playback plays that
// record, counting what GDI+ refuses.
#include "canvas/gdiplus_player_win.h"

#include <windows.h>
// GDI+'s flat API, as MinGW-w64 declares it for C++; it needs the COM types the lean Windows
// header leaves out.
#include <objidl.h>
#include <wtypes.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "document/curve_box.h"
#include "document/metafile_document.h"
#include "document/playback_copy.h"
#include "emfplus/emfplus_steps.h"
#include "emfplus/emfplus_walk.h"

namespace gp = Gdiplus::DllExports;

namespace {

// The largest curve a GDI record may draw, as its box's width plus height in logical units:
// GDI+ hands GDI records to the platform's rasteriser, whose memory grows with a curve's size.
constexpr double kLargestCurve = 1 << 22;
// How far ahead of the last record matched the enumeration's next record is looked for.
constexpr size_t kMatchWindow = 4096;

// One record the enumeration hands on: a GDI record (place -1) or an EMF+ record of a comment.
struct Step {
    int32_t record;
    int32_t place;
    uint32_t type;
};

// The document as GDI+ plays it, made once per load.
struct GdiPlusCopy {
    const MetafileDocument* document = nullptr;
    uint32_t serial = 0;
    Gdiplus::GpMetafile* metafile = nullptr;
    std::vector<Step> steps;

    void Free() {
        if (metafile != nullptr) {
            gp::GdipDisposeImage(metafile);
        }
        metafile = nullptr;
        steps.clear();
        steps.shrink_to_fit();
        document = nullptr;
        serial = 0;
    }
};

GdiPlusCopy g_copy;
std::vector<RefusedRecords> g_refusals;

// The steps of `bytes`, a whole metafile: each record, or each EMF+ record of a comment that
// carries them.
std::vector<Step> StepsOf(const std::vector<uint8_t>& bytes) {
    std::vector<Step> steps;
    size_t offset = 0;
    for (int32_t record = 0; offset + 8 <= bytes.size(); ++record) {
        uint32_t type = 0, size = 0;
        std::memcpy(&type, &bytes[offset], 4);
        std::memcpy(&size, &bytes[offset + 4], 4);
        if (size < 8 || size > bytes.size() - offset) {
            break;
        }
        const RecordView view{bytes.data() + offset, size};
        if (ClassifyComment(view) == CommentKind::kEmfPlus) {
            EmfPlusWalker walker(view);
            EmfPlusRecordRef plus;
            for (int32_t place = 0; walker.Next(&plus); ++place) {
                steps.push_back(Step{record, place, plus.type});
            }
        } else {
            steps.push_back(Step{record, -1, type});
        }
        offset += size;
    }
    return steps;
}

// The copy of `document` that GDI+ plays, made when the document changed.
bool PrepareCopy(const MetafileDocument& document) {
    if (g_copy.document == &document && g_copy.serial == document.Serial() &&
        g_copy.metafile != nullptr) {
        return true;
    }
    g_copy.Free();
    if (!StartGdiPlus() || !document.IsLoaded()) {
        return false;
    }
    PlaybackCopy copy;
    if (BuildPlaybackCopy(document.Store(), &copy) == 0) {
        return false;
    }
    HENHMETAFILE handle =
        SetEnhMetaFileBits(static_cast<UINT>(copy.bytes.size()), copy.bytes.data());
    if (handle == nullptr) {
        return false;
    }
    if (gp::GdipCreateMetafileFromEmf(handle, TRUE, &g_copy.metafile) != Gdiplus::Ok) {
        DeleteEnhMetaFile(handle);
        g_copy.metafile = nullptr;
        return false;
    }
    g_copy.steps = StepsOf(copy.bytes);
    g_copy.document = &document;
    g_copy.serial = document.Serial();
    return true;
}

// Whether a GDI record handed on as `type` with `data` draws a curve too large to be played.
bool CurveTooLarge(uint32_t type, UINT size, const BYTE* data) {
    uint8_t record[64];
    if (data == nullptr || size > sizeof(record) - 8) {
        return false;
    }
    const uint32_t whole = size + 8;
    std::memcpy(record, &type, 4);
    std::memcpy(record + 4, &whole, 4);
    std::memcpy(record + 8, data, size);
    CurveBox box;
    return CurveBoxOf(RecordView{record, whole}, &box) &&
           std::abs(box.right - box.left) + std::abs(box.bottom - box.top) > kLargestCurve;
}

// One enumeration: where it stands in the steps, and what it plays.
struct Enumeration {
    const MetafileDocument* document;
    const RecordFilter* filter;
    int32_t current;
    int32_t place;
    size_t next = 0;
    int32_t record = 0;
    int32_t record_place = -1;
    std::unordered_map<uint32_t, uint32_t> refused;

    // Moves to the step the enumeration hands on as `type`: the next step of that type.
    void Match(uint32_t type) {
        const std::vector<Step>& steps = g_copy.steps;
        const size_t end = std::min(steps.size(), next + kMatchWindow);
        for (size_t i = next; i < end; ++i) {
            if (steps[i].type == type) {
                record = steps[i].record;
                record_place = steps[i].place;
                next = i + 1;
                return;
            }
        }
    }

    bool Plays(int32_t index) const { return PlaysInGdiPlus(*document, filter, index); }
};

BOOL CALLBACK OnRecord(Gdiplus::EmfPlusRecordType type, UINT flags, UINT size, const BYTE* data,
                       void* self) {
    Enumeration& e = *static_cast<Enumeration*>(self);
    e.Match(static_cast<uint32_t>(type));
    if (e.record > e.current ||
        (e.record == e.current && e.place >= 0 && e.record_place > e.place)) {
        return FALSE;
    }
    if (!e.Plays(e.record) ||
        (e.record_place < 0 && CurveTooLarge(static_cast<uint32_t>(type), size, data))) {
        return TRUE;
    }
    if (gp::GdipPlayMetafileRecord(g_copy.metafile, type, flags, size, data) != Gdiplus::Ok) {
        ++e.refused[static_cast<uint32_t>(type)];
    }
    return TRUE;
}

void PlayPlace(HDC surface, const RECT& picture, const MetafileDocument& document,
               const RecordFilter* filter, int32_t current, int32_t place) {
    g_refusals.clear();
    if (current < 0 || !PrepareCopy(document)) {
        return;
    }
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(surface, &graphics) != Gdiplus::Ok) {
        return;
    }
    gp::GdipSetPageUnit(graphics, Gdiplus::UnitPixel);
    Enumeration enumeration{&document, filter, current, place, 0, 0, -1, {}};
    const Gdiplus::Rect destination(picture.left, picture.top, picture.right - picture.left,
                                    picture.bottom - picture.top);
    gp::GdipEnumerateMetafileDestRectI(graphics, g_copy.metafile, destination, OnRecord,
                                       &enumeration, nullptr);
    gp::GdipDeleteGraphics(graphics);
    for (const auto& [type, count] : enumeration.refused) {
        g_refusals.push_back(RefusedRecords{type, count});
    }
    std::sort(g_refusals.begin(), g_refusals.end(),
              [](const RefusedRecords& a, const RefusedRecords& b) {
                  return a.count != b.count ? a.count > b.count : a.type < b.type;
              });
}

void Play(HDC surface, const RECT& picture, const MetafileDocument& document,
          const RecordFilter* filter, int32_t current) {
    PlayPlace(surface, picture, document, filter, current, -1);
}

}  // namespace

bool StartGdiPlus() {
    static int started = -1;
    if (started < 0) {
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartupInput input;
        started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok ? 1 : 0;
    }
    return started == 1;
}

const std::vector<RefusedRecords>& LastGdiPlusRefusals() {
    return g_refusals;
}

void EndGdiPlusPlayback() {
    g_copy.Free();
    g_refusals.clear();
}

const Player kGdiPlusPlayer = {Play, nullptr, PlayPlace};
