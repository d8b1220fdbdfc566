// The graphics state after any record, as a playback up to that record leaves it: the walk
// from the header over exactly the records such a playback plays, with checkpoints so that a
// record's state needs at most kCheckpointEvery records played after one first walk, and a
// step forward that goes on from the state before.
#pragma once

#include <cstdint>
#include <vector>

#include "document/record_filter.h"
#include "state/graphics_state.h"

class MetafileDocument;

class StateTracker {
  public:
    static constexpr int32_t kCheckpointEvery = 128;

    StateTracker() = default;
    // Not copied: it may point at its own filter.
    StateTracker(const StateTracker&) = delete;
    StateTracker& operator=(const StateTracker&) = delete;

    // Follows `document` with `filter` (nullptr: every record played). The document and the
    // filter must outlive the tracker or the next Reset; call Reset again whenever the file
    // or the filter changes.
    void Reset(const MetafileDocument& document, const RecordFilter* filter);

    // The state after a playback up to `current`, or nullptr when no document is followed or
    // memory ran out. Like the playback, a current record that is switched off ends the walk
    // at the next record played. The pointer holds until the next call.
    const GraphicsState* StateAt(int32_t current);

    // The record that opened a path bracket the whole file leaves open, or kDefaultState.
    // Known once StateAt was called.
    int32_t PathOpenAtEnd() const { return path_open_at_end_; }

    // How many checkpoints are held, for the benchmarks.
    size_t checkpoint_count() const { return checkpoints_.size(); }

  private:
    bool FirstWalk();
    // Plays from `walk_` on until the record the playback up to `current` stops at.
    bool WalkTo(int32_t current);

    const MetafileDocument* document_ = nullptr;
    const RecordFilter* filter_ = nullptr;
    RecordFilter all_played_;
    // checkpoints_[c]: the state after every played record before c * kCheckpointEvery.
    std::vector<GraphicsState> checkpoints_;
    bool walked_ = false;
    int32_t path_open_at_end_ = kDefaultState;
    // The last answer: the state after every played record before `next_`, for `current_`.
    GraphicsState walk_;
    int64_t next_ = 0;
    int32_t current_ = -1;
};
