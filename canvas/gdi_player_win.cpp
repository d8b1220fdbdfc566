// The platform's metafile player: the whole metafile at once where it is wanted whole, else
// record by record through the enumeration, up to the current record.
#include "canvas/player_win.h"

#include "document/metafile_document.h"
#include "document/played_records.h"

namespace {

// One enumeration's state: the records reached so far are counted here, not in the process.
struct Enumeration {
    const MetafileDocument* document;
    const RecordFilter* filter;
    int32_t current;
    int32_t reached;
};

int CALLBACK PlayRecord(HDC surface, HANDLETABLE* handles, const ENHMETARECORD* record,
                        int handle_count, LPARAM data) {
    Enumeration& enumeration = *reinterpret_cast<Enumeration*>(data);
    const PlaybackStep step = PlaybackStepAt(*enumeration.document, enumeration.filter,
                                             enumeration.current, enumeration.reached);
    if (step != PlaybackStep::kSkip) {
        PlayEnhMetaFileRecord(surface, handles, record, static_cast<UINT>(handle_count));
        if (step == PlaybackStep::kPlayAndStop) {
            return 0;
        }
    }
    ++enumeration.reached;
    return 1;
}

void Play(HDC surface, const RECT& picture, const MetafileDocument& document,
          const RecordFilter* filter, int32_t current) {
    HENHMETAFILE metafile = static_cast<HENHMETAFILE>(document.Metafile());
    if (PlaysWholeMetafile(document, filter, current)) {
        PlayEnhMetaFile(surface, metafile, &picture);
        return;
    }
    Enumeration enumeration{&document, filter, current, 0};
    EnumEnhMetaFile(surface, metafile, PlayRecord, &enumeration, &picture);
}

}  // namespace

const Player kGdiPlayer = {Play};
