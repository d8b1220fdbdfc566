// Which records a playback up to the current record plays.
#include "document/played_records.h"

#include "document/metafile_document.h"
#include "document/record_filter.h"

int32_t LastRecordIndex(int32_t header_record_count) {
    return header_record_count > 0 ? header_record_count - 1 : -1;
}

bool ReachesLastRecord(int32_t index, int32_t header_record_count) {
    return index >= LastRecordIndex(header_record_count);
}

// The header and the last record have no row in the filter list: they are always played.
bool PlaysRecord(const MetafileDocument& document, const RecordFilter* filter, int64_t index) {
    const int64_t count = document.Store().count();
    if (index < 0 || index >= count) {
        return false;
    }
    if (index == 0 || index == count - 1) {
        return true;
    }
    // A filter of no records stands for a filter list that was never filled or is gone.
    return filter != nullptr && filter->record_count() > 0 &&
           !filter->IsOff(static_cast<int32_t>(index));
}

bool LeavesOutRecords(const RecordFilter* filter) {
    return filter != nullptr && filter->off_count() > 0;
}

bool PlaysWholeMetafile(const MetafileDocument& document, const RecordFilter* filter,
                        int32_t current) {
    return ReachesLastRecord(current, document.HeaderRecordCount()) && !LeavesOutRecords(filter);
}

PlaybackStep PlaybackStepAt(const MetafileDocument& document, const RecordFilter* filter,
                            int32_t current, int64_t index) {
    if (!PlaysRecord(document, filter, index)) {
        return PlaybackStep::kSkip;
    }
    return index >= current ? PlaybackStep::kPlayAndStop : PlaybackStep::kPlay;
}
