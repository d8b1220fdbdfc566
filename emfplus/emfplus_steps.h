// Steps of one EMF+ record: the places a GDI+ playback can stop at inside the comment records
// that carry EMF+ records.
#pragma once

#include <cstdint>

#include "document/metafile_document.h"
#include "document/record_filter.h"

// A place of the playback: record `record`, up to its EMF+ record `place` (0-based), or the
// whole record for a place of -1.
struct PlaybackPlace {
    int32_t record = 0;
    int32_t place = -1;
};

// The EMF+ records that comment record `record` of `document` carries; 0 for any other record.
int32_t EmfPlusRecordCount(const MetafileDocument& document, int32_t record);

// Whether a GDI+ playback plays record `index`: as PlaysRecord, but without a filter list every
// record, since GDI+ is never handed the whole metafile at once.
bool PlaysInGdiPlus(const MetafileDocument& document, const RecordFilter* filter, int32_t index);

// One EMF+ record on from `from` (`forward`) or back, among the comment records the playback
// plays (PlaysRecord with `filter`): the next EMF+ record of the same comment, else the first of
// the next comment that carries any; back, the one before, else the last of the comment before.
// The whole of a record stands for its last EMF+ record. False, and `to` untouched, when there
// is none that way.
bool StepEmfPlusRecord(const MetafileDocument& document, const RecordFilter* filter,
                       PlaybackPlace from, bool forward, PlaybackPlace* to);
