#include "emfplus/emfplus_steps.h"

#include "document/played_records.h"
#include "emfplus/emfplus_walk.h"

int32_t EmfPlusRecordCount(const MetafileDocument& document, int32_t record) {
    const RecordView view = document.RecordAt(record);
    if (!view || ClassifyComment(view) != CommentKind::kEmfPlus) {
        return 0;
    }
    EmfPlusWalker walker(view);
    EmfPlusRecordRef plus;
    int32_t count = 0;
    while (count < INT32_MAX && walker.Next(&plus)) {
        ++count;
    }
    return count;
}

bool PlaysInGdiPlus(const MetafileDocument& document, const RecordFilter* filter, int32_t index) {
    return filter == nullptr || filter->record_count() == 0 || PlaysRecord(document, filter, index);
}

bool StepEmfPlusRecord(const MetafileDocument& document, const RecordFilter* filter,
                       PlaybackPlace from, bool forward, PlaybackPlace* to) {
    const int32_t records = document.Store().count();
    if (from.record < 0 || from.record >= records) {
        return false;
    }
    const int32_t count = PlaysInGdiPlus(document, filter, from.record)
                              ? EmfPlusRecordCount(document, from.record)
                              : 0;
    const int32_t at = from.place < 0 || from.place >= count ? count - 1 : from.place;
    if (forward && at >= 0 && at + 1 < count) {
        *to = PlaybackPlace{from.record, at + 1};
        return true;
    }
    if (!forward && at > 0) {
        *to = PlaybackPlace{from.record, at - 1};
        return true;
    }
    const int32_t step = forward ? 1 : -1;
    for (int32_t record = from.record + step; record >= 0 && record < records; record += step) {
        if (!PlaysInGdiPlus(document, filter, record)) {
            continue;
        }
        if (const int32_t n = EmfPlusRecordCount(document, record); n > 0) {
            *to = PlaybackPlace{record, forward ? 0 : n - 1};
            return true;
        }
    }
    return false;
}
