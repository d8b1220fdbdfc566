// Which records the canvas leaves out: one bit per stored record and a count of the bits set,
// so that asking about one record, or whether any is left out, never walks the records.
#pragma once

#include <cstdint>
#include <vector>

class RecordStore;

// The header record (0) and the last record have no row in the filter list and are never
// switched off; every other record can be.
class RecordFilter {
  public:
    // Sizes the filter for `record_count` records, every one of them played.
    void Reset(int32_t record_count);

    int32_t record_count() const { return record_count_; }
    // How many records are switched off.
    int32_t off_count() const { return off_count_; }
    // How many times the filter changed: what was made under it holds while this stays.
    uint32_t changes() const { return changes_; }
    // Whether record `index` is switched off; a record outside the filter is not.
    bool IsOff(int32_t index) const;
    // Switches record `index` off or back on. The header, the last record and indices
    // outside the filter are left alone.
    void Set(int32_t index, bool off);
    // Switches every drawing record off or back on.
    void SetAll(bool off);
    // Switches every drawing record of `store` whose type is `type` off or back on; how many
    // records that type has.
    int32_t SetType(const RecordStore& store, uint32_t type, bool off);

  private:
    bool IsDrawingRecord(int32_t index) const { return index > 0 && index < record_count_ - 1; }

    std::vector<uint64_t> words_;
    int32_t record_count_ = 0;
    int32_t off_count_ = 0;
    uint32_t changes_ = 0;
};

// The type of `record` (its iType), or 0 when it has none to read.
uint32_t RecordTypeOf(const RecordStore& store, int32_t index);
