// Objects split over several EmfPlusObject records: which part each record is, whether the
// parts make the whole object, and the whole object's bytes put back together.
#pragma once

#include <cstdint>
#include <vector>

#include "emfplus/emfplus_walk.h"

// The flag of an EmfPlusObject record whose object goes on in a later object record; such a
// record's data begins with the object's total size.
inline constexpr uint16_t kObjectContinues = 0x8000;

// What one EmfPlusObject record is to the objects split over several records.
struct ObjectPartPlace {
    uint32_t part = 0;  // 1 for the first part, and so on; 0 for an object held whole
    uint32_t slot = 0;  // the split object's place among the file's split objects
    // Whether this part agrees with the parts before it: the total size is there and the same,
    // and the parts do not hold more bytes than the total.
    bool consistent = true;
};

// Where the object bytes of one EmfPlusObject record begin: after the total size field when
// the record continues.
uint32_t ObjectDataOffset(uint16_t flags);

// Follows the split objects over the EmfPlusObject records in file order. One object is read
// at a time: a part of the same type and id continues it, until its parts reach the total size
// or a part without the continue flag ends it; the first part of another object leaves it
// incomplete. Object records of other ids in between leave it open. A small value, copied
// freely to resume from any record.
class SplitObjectTracker {
  public:
    // The place of `record`, an EmfPlusObject record, and the tracker moved past it.
    ObjectPartPlace Advance(const EmfPlusRecordRef& record);
    // The number of split objects begun so far.
    uint32_t objects() const { return next_slot_; }

  private:
    bool active_ = false;
    uint16_t key_ = 0;  // object type and id, as in the record's flags
    uint32_t total_ = 0;
    uint64_t bytes_ = 0;
    uint32_t part_ = 0;
    uint32_t slot_ = 0;
    uint32_t next_slot_ = 0;
};

// One object split over several records.
struct SplitObject {
    uint16_t key = 0;    // object type and id
    uint32_t total = 0;  // the total size its first part gives
    uint32_t parts = 0;  // parts in all
    uint64_t bytes = 0;  // object bytes its parts hold
    bool consistent = true;
    uint32_t first_part = 0;  // where its parts begin in SplitObjects' part list

    // The parts hold exactly the total size.
    bool complete() const { return bytes == total; }
    // Sound to hand on: complete and every part agreeing.
    bool sound() const { return consistent && complete(); }
};

// The split objects of a file, gathered from its EmfPlusObject records in file order. Keeps a
// view of each part, not its bytes: the whole object is put together only when asked for, and
// the bytes the views show must outlive the table.
class SplitObjects {
  public:
    // Adds one EmfPlusObject record; returns its place.
    ObjectPartPlace Add(const EmfPlusRecordRef& record);

    size_t count() const { return objects_.size(); }
    // The tracker as it stands after the records added so far.
    const SplitObjectTracker& tracker() const { return tracker_; }
    // The split object at `slot`, or nullptr past the last.
    const SplitObject* Find(uint32_t slot) const {
        return slot < objects_.size() ? &objects_[slot] : nullptr;
    }
    // Part `part` (0-based) of the object at `slot`, as its record; an empty view past the last.
    RecordView Part(uint32_t slot, uint32_t part) const;

    // Replaces `out` with the whole object at `slot` as one EmfPlusObject record that holds it
    // whole: a head with the object's type and id, Size and DataSize, then the parts' object
    // bytes without their total size fields, in order, up to the total. False, `out` empty,
    // for a slot past the last or when the memory cannot be had.
    bool Reassemble(uint32_t slot, std::vector<uint8_t>& out) const;

  private:
    SplitObjectTracker tracker_;
    std::vector<SplitObject> objects_;
    std::vector<RecordView> parts_;
};
