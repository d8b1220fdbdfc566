// The platform's metafile player: the whole metafile at once where it is wanted whole, else
// record by record through the enumeration, up to the current record.
#include "canvas/player_win.h"

#include <cmath>

#include "document/curve_box.h"
#include "document/metafile_document.h"
#include "document/played_records.h"

// The largest curve played, as its box's width plus height on the device. The platform's
// rasteriser allocates points in proportion to that sum (Wine's takes 24 bytes a pixel), so a
// hostile box of 2^31 units would cost gigabytes; this one costs at most about 100 MB, and a
// curve beyond it is 40 metres across on a screen of 96 DPI.
constexpr double kLargestCurve = 1 << 22;

// Whether the curve `record` draws, if it draws one, stays within kLargestCurve on `surface`
// with the transform in force there now: the world transform the enumeration keeps, then the
// surface's own window-to-viewport scale.
bool CurveFits(HDC surface, const ENHMETARECORD* record) {
    CurveBox box;
    if (!CurveBoxOf(RecordView{reinterpret_cast<const uint8_t*>(record), record->nSize}, &box)) {
        return true;
    }
    XFORM world = {1, 0, 0, 1, 0, 0};
    GetWorldTransform(surface, &world);
    SIZE window = {1, 1};
    SIZE viewport = {1, 1};
    GetWindowExtEx(surface, &window);
    GetViewportExtEx(surface, &viewport);
    const double sx = window.cx != 0 ? std::fabs(static_cast<double>(viewport.cx) / window.cx) : 1;
    const double sy = window.cy != 0 ? std::fabs(static_cast<double>(viewport.cy) / window.cy) : 1;
    const double w = std::fabs(box.right - box.left);
    const double h = std::fabs(box.bottom - box.top);
    const double device_w = sx * (std::fabs(world.eM11 * w) + std::fabs(world.eM21 * h));
    const double device_h = sy * (std::fabs(world.eM12 * w) + std::fabs(world.eM22 * h));
    return device_w + device_h <= kLargestCurve;
}

namespace {

// One enumeration's state: the records reached so far are counted here, not in the process.
struct Enumeration {
    const MetafileDocument* document;
    const RecordFilter* filter;
    int32_t current;
    bool every_record;
    PlaybackWatch* watch;
    int32_t reached;
};

int CALLBACK PlayRecord(HDC surface, HANDLETABLE* handles, const ENHMETARECORD* record,
                        int handle_count, LPARAM data) {
    Enumeration& e = *reinterpret_cast<Enumeration*>(data);
    const PlaybackStep step =
        e.every_record ? (e.reached < e.current ? PlaybackStep::kPlay : PlaybackStep::kPlayAndStop)
                       : PlaybackStepAt(*e.document, e.filter, e.current, e.reached);
    if (step != PlaybackStep::kSkip) {
        if (CurveFits(surface, record)) {
            PlayEnhMetaFileRecord(surface, handles, record, static_cast<UINT>(handle_count));
        }
        if (e.watch != nullptr) {
            e.watch->After(e.reached);
        }
        if (step == PlaybackStep::kPlayAndStop) {
            return 0;
        }
    }
    ++e.reached;
    return 1;
}

void Play(HDC surface, const RECT& picture, const MetafileDocument& document,
          const RecordFilter* filter, int32_t current) {
    // A whole playback cannot look at its records: one that holds curves is enumerated, so that
    // each curve is measured before it is drawn.
    if (PlaysWholeMetafile(document, filter, current) && !HoldsCurves(document.Store())) {
        PlayEnhMetaFile(surface, static_cast<HENHMETAFILE>(document.Metafile()), &picture);
        return;
    }
    PlayRecordByRecord(surface, picture, document, filter, current, false, nullptr);
}

}  // namespace

void PlayRecordByRecord(HDC surface, const RECT& picture, const MetafileDocument& document,
                        const RecordFilter* filter, int32_t current, bool every_record,
                        PlaybackWatch* watch) {
    Enumeration enumeration{&document, filter, current, every_record, watch, 0};
    EnumEnhMetaFile(surface, static_cast<HENHMETAFILE>(document.Metafile()), PlayRecord,
                    &enumeration, &picture);
}

const Player kGdiPlayer = {Play};
