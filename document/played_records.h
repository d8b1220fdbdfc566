// Which records a playback up to the current record plays: every record the filter leaves in,
// the header and the last record always, and the whole metafile at once when nothing is left out.
#pragma once

#include <cstdint>

class MetafileDocument;
class RecordFilter;

// What a playback does with a record it reaches, in file order.
enum class PlaybackStep { kSkip, kPlay, kPlayAndStop };

// The last record index of a header record count (-1 for none), without overflow.
int32_t LastRecordIndex(int32_t header_record_count);
// Whether `index` is the last record (or beyond it).
bool ReachesLastRecord(int32_t index, int32_t header_record_count);

// Whether a playback plays record `index` of `document`: the header and the last stored record
// always, any other stored record unless `filter` switches it off; nothing beyond the store.
// A null filter, or one of no records, stands for no filter list at all: the records that would
// have a row in it are not played one by one (only the whole metafile, at the last record,
// shows them).
bool PlaysRecord(const MetafileDocument& document, const RecordFilter* filter, int64_t index);

// Whether `filter` switches any record off; a null filter has none to switch off.
bool LeavesOutRecords(const RecordFilter* filter);

// Whether the playback up to `current` is the whole metafile played at once: only when it is
// wanted whole, at the header's last record with no record switched off.
bool PlaysWholeMetafile(const MetafileDocument& document, const RecordFilter* filter,
                        int32_t current);

// Record by record up to `current`: a record switched off is skipped without the stop test, so
// when the current record itself is off, the next record played ends the playback.
PlaybackStep PlaybackStepAt(const MetafileDocument& document, const RecordFilter* filter,
                            int32_t current, int64_t index);
