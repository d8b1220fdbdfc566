// The GDI+ player. GDI+ enumerates the document's GDI+ copy: the callback learns each GDI record
// and each EMF+ record in file order (never the comments that carry EMF+ records), finds which
// record of the document it stands for, and plays it through GdipPlayMetafileRecord when the
// playback plays that record, counting what GDI+ refuses. The canvas shows it through the
// paused GDI+ player, which keeps the enumeration between paints.
#include "canvas/gdiplus_player_win.h"

#include <windows.h>
// GDI+'s flat API needs the COM types the lean Windows header leaves out.
#include <objidl.h>
#include <wtypes.h>

#include <gdiplus.h>

#include <algorithm>

#include "canvas/gdiplus_copy_win.h"
#include "canvas/paused_gdiplus_player_win.h"
#include "emfplus/emfplus_steps.h"

namespace gp = Gdiplus::DllExports;

namespace {

// The largest curve a GDI record may draw on the surface, as its box's width plus height in
// pixels, as the platform's player has it.
constexpr double kLargestCurve = 1 << 22;

std::vector<RefusedRecords> g_refusals;

// One enumeration from the start up to a target.
struct Enumeration {
    const MetafileDocument& document;
    const RecordFilter* filter;
    const GdiPlusCopy& copy;
    uint64_t target;
    double scale;
    GdiPlusStepMatcher matcher;
    RefusalCounts refused;
};

BOOL CALLBACK OnRecord(Gdiplus::EmfPlusRecordType type, UINT flags, UINT size, const BYTE* data,
                       void* self) {
    Enumeration& e = *static_cast<Enumeration*>(self);
    e.matcher.Match(static_cast<uint32_t>(type));
    if (StepPosition(e.matcher.record(), e.matcher.place()) > e.target) {
        return FALSE;
    }
    if (PlaysInGdiPlus(e.document, e.filter, e.matcher.record())) {
        PlayGdiPlusRecord(e.copy, static_cast<uint32_t>(type), flags, size, data,
                          e.matcher.curve() * e.scale, e.refused);
    }
    return TRUE;
}

}  // namespace

void PlayGdiPlusRecord(const GdiPlusCopy& copy, uint32_t type, uint32_t flags, uint32_t size,
                       const uint8_t* data, double curve, RefusalCounts& refused) {
    if (curve > kLargestCurve) {
        return;
    }
    if (gp::GdipPlayMetafileRecord(static_cast<Gdiplus::GpMetafile*>(copy.metafile),
                                   static_cast<Gdiplus::EmfPlusRecordType>(type), flags, size,
                                   data) != Gdiplus::Ok) {
        ++refused[type];
    }
}

void PublishGdiPlusRefusals(const RefusalCounts& refused) {
    g_refusals.clear();
    for (const auto& [type, count] : refused) {
        g_refusals.push_back(RefusedRecords{type, count});
    }
    std::sort(g_refusals.begin(), g_refusals.end(),
              [](const RefusedRecords& a, const RefusedRecords& b) {
                  return a.count != b.count ? a.count > b.count : a.type < b.type;
              });
}

namespace {

// The enumeration from the start.
void PlayFromStart(HDC surface, const RECT& picture, const MetafileDocument& document,
                   const RecordFilter* filter, int32_t current, int32_t place) {
    g_refusals.clear();
    const std::shared_ptr<const GdiPlusCopy> copy =
        current >= 0 ? GdiPlusCopyOf(document) : nullptr;
    Gdiplus::GpGraphics* graphics = nullptr;
    if (copy == nullptr || gp::GdipCreateFromHDC(surface, &graphics) != Gdiplus::Ok) {
        return;
    }
    gp::GdipSetPageUnit(graphics, Gdiplus::UnitPixel);
    Enumeration enumeration{
        document,
        filter,
        *copy,
        TargetPosition(current, place),
        DestinationScale(*copy, picture.right - picture.left, picture.bottom - picture.top),
        GdiPlusStepMatcher(*copy),
        {}};
    const Gdiplus::Rect destination(picture.left, picture.top, picture.right - picture.left,
                                    picture.bottom - picture.top);
    gp::GdipEnumerateMetafileDestRectI(graphics, static_cast<Gdiplus::GpMetafile*>(copy->metafile),
                                       destination, OnRecord, &enumeration, nullptr);
    gp::GdipDeleteGraphics(graphics);
    PublishGdiPlusRefusals(enumeration.refused);
}

void PlayPlace(HDC surface, const RECT& picture, const MetafileDocument& document,
               const RecordFilter* filter, int32_t current, int32_t place) {
    PlayFromStart(surface, picture, document, filter, current, place);
}

void Play(HDC surface, const RECT& picture, const MetafileDocument& document,
          const RecordFilter* filter, int32_t current) {
    PlayFromStart(surface, picture, document, filter, current, -1);
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
    EndPausedGdiPlusPlayback();
    ForgetGdiPlusCopy();
    g_refusals.clear();
}

const Player kGdiPlusPlayer = {Play, nullptr, PlayPlace};
