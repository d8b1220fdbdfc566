// The alignment of two sequences by a shortest edit script: the longest common subsequence of
// two files' records, which the comparison of two metafiles is built on.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

enum class AlignedKind : uint8_t {
    kSame,     // a run of elements equal in both
    kRemoved,  // a run only in the first
    kAdded,    // a run only in the second
};

// `length` elements from position `first` of the first sequence and `second` of the second
// (for a removed run, `second` is where it would stand in the second; for an added run, `first`
// where it would stand in the first).
struct AlignedRun {
    AlignedKind kind;
    int32_t first;
    int32_t second;
    int32_t length;
};

// Aligns `first` and `second` with as few elements removed and added as can be (Myers'
// algorithm, finding the middle of each edit script so that the memory stays linear in the
// sequences' lengths). The runs cover both sequences in order, removed runs before added ones
// where they meet; runs of one kind never follow each other. Where a stretch of the two
// differs in more than 512 elements, the script found there is short but not always the
// shortest, so that the time stays linear in the lengths. `ok`, when given, says whether the
// memory could be had; without it the runs are empty.
std::vector<AlignedRun> AlignSequences(std::span<const uint64_t> first,
                                       std::span<const uint64_t> second, bool* ok = nullptr);
