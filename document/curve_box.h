// The box in which a record of the curved family draws its curve: the platform rasterises such
// a curve with memory in proportion to the box's size on the device, so the player measures it
// first.
#pragma once

#include "document/record_store.h"
#include "document/record_view.h"

// Left, top, right, bottom in logical units, as wide as the record's 32-bit fields allow.
struct CurveBox {
    double left;
    double top;
    double right;
    double bottom;
};

// The box of an ellipse, round rectangle, arc, chord, pie, arc-to or angle-arc record (the
// angle arc's centre plus and minus its radius); false for any other record and for one too
// short to hold its box.
bool CurveBoxOf(RecordView record, CurveBox* box);

// Whether any stored record is of the curved family.
bool HoldsCurves(const RecordStore& store);
