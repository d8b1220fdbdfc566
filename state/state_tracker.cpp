// The walk over the played records, its checkpoints and its steps.
#include "state/state_tracker.h"

#include <new>

#include "document/metafile_document.h"
#include "document/played_records.h"
#include "state/state_walk.h"

void StateTracker::Reset(const MetafileDocument& document, const RecordFilter* filter) {
    document_ = &document;
    // A playback plays only the header and the last record one by one without a filter list;
    // the state follows every record then, as the whole metafile played at once does.
    if (filter == nullptr || filter->record_count() == 0) {
        all_played_.Reset(document.Store().count());
        filter = &all_played_;
    }
    filter_ = filter;
    checkpoints_.clear();
    walked_ = false;
    path_open_at_end_ = kDefaultState;
    walk_ = GraphicsState{};
    next_ = 0;
    current_ = -1;
}

bool StateTracker::FirstWalk() {
    try {
        GraphicsState state;
        const int32_t count = document_->Store().count();
        checkpoints_.reserve(size_t(count / kCheckpointEvery) + 1);
        // The first checkpoint is there even for a store without records.
        checkpoints_.push_back(state);
        for (int32_t index = 0; index < count; ++index) {
            if (index > 0 && index % kCheckpointEvery == 0) {
                checkpoints_.push_back(state);
            }
            if (PlaysRecord(*document_, filter_, index) &&
                !PlayRecordInto(state, document_->RecordAt(index), index)) {
                return false;
            }
        }
        if (state.dc.path.value != PathBracket::kNone) {
            path_open_at_end_ = state.dc.path.set_by;
        }
    } catch (const std::bad_alloc&) {
        checkpoints_.clear();
        return false;
    }
    walked_ = true;
    return true;
}

bool StateTracker::WalkTo(int32_t current) {
    const int64_t count = document_->Store().count();
    for (; next_ < count; ++next_) {
        const PlaybackStep step = PlaybackStepAt(*document_, filter_, current, next_);
        if (step == PlaybackStep::kSkip) {
            continue;
        }
        if (!PlayRecordInto(walk_, document_->RecordAt(int32_t(next_)), int32_t(next_))) {
            return false;
        }
        if (step == PlaybackStep::kPlayAndStop) {
            ++next_;
            break;
        }
    }
    current_ = current;
    return true;
}

const GraphicsState* StateTracker::StateAt(int32_t current) {
    if (document_ == nullptr || (!walked_ && !FirstWalk()) || checkpoints_.empty()) {
        return nullptr;
    }
    current = current < 0 ? 0 : current;
    // A step forward goes on from the last state, unless a record played already lies beyond
    // the new current record: no record is played between a current record and the one its
    // walk stopped at, so the state stays.
    const bool forward = current_ >= 0 && current >= current_;
    if (forward && current < next_) {
        current_ = current;
        return &walk_;
    }
    try {
        if (!forward) {
            size_t c = size_t(current / kCheckpointEvery);
            c = c < checkpoints_.size() ? c : checkpoints_.size() - 1;
            walk_ = checkpoints_[c];
            next_ = int64_t(c) * kCheckpointEvery;
        }
        if (!WalkTo(current)) {
            current_ = -1;
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        current_ = -1;
        return nullptr;
    }
    return &walk_;
}
