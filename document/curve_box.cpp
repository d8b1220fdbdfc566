// The box in which a record of the curved family draws its curve.
#include "document/curve_box.h"

#include "document/record_types.h"

namespace {

bool IsBoxedCurve(uint32_t type) {
    switch (type) {
        case kEmrEllipse:
        case kEmrRoundRect:
        case kEmrArc:
        case kEmrChord:
        case kEmrPie:
        case kEmrArcTo:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool CurveBoxOf(RecordView record, CurveBox* box) {
    const uint32_t type = RecordType(record);
    RecordReader reader(record);
    if (type == kEmrAngleArc) {
        if (!reader.Has(8, 12)) {
            return false;
        }
        const double x = reader.I32(8);
        const double y = reader.I32(12);
        const double radius = reader.U32(16);
        *box = CurveBox{x - radius, y - radius, x + radius, y + radius};
        return true;
    }
    if (!IsBoxedCurve(type) || !reader.Has(8, 16)) {
        return false;
    }
    *box = CurveBox{static_cast<double>(reader.I32(8)), static_cast<double>(reader.I32(12)),
                    static_cast<double>(reader.I32(16)), static_cast<double>(reader.I32(20))};
    return true;
}

bool HoldsCurves(const RecordStore& store) {
    for (int32_t index = 0; index < store.count(); ++index) {
        const uint32_t type = RecordType(store.RecordAt(index));
        if (type == kEmrAngleArc || IsBoxedCurve(type)) {
            return true;
        }
    }
    return false;
}
