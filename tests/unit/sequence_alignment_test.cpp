// The alignment of two sequences: against the longest common subsequence worked out the long
// way on many small random pairs, and its runs on the cases a comparison of files meets.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "reports/sequence_alignment.h"

namespace {

using Sequence = std::vector<uint64_t>;

size_t CommonLength(const Sequence& a, const Sequence& b) {
    std::vector<std::vector<size_t>> t(a.size() + 1, std::vector<size_t>(b.size() + 1, 0));
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            t[i][j] =
                a[i - 1] == b[j - 1] ? t[i - 1][j - 1] + 1 : std::max(t[i - 1][j], t[i][j - 1]);
        }
    }
    return t[a.size()][b.size()];
}

// Whether the runs cover both sequences in order, with equal elements in the same runs; the
// number of elements kept.
size_t Check(const Sequence& a, const Sequence& b, const std::vector<AlignedRun>& runs) {
    int32_t i = 0, j = 0;
    size_t same = 0;
    for (size_t r = 0; r < runs.size(); ++r) {
        const AlignedRun& run = runs[r];
        EXPECT_GT(run.length, 0);
        EXPECT_EQ(i, run.first);
        EXPECT_EQ(j, run.second);
        if (r > 0) {
            EXPECT_NE(runs[r - 1].kind, run.kind);
            EXPECT_FALSE(runs[r - 1].kind == AlignedKind::kAdded &&
                         run.kind == AlignedKind::kRemoved);
        }
        for (int32_t k = 0; k < run.length && run.kind == AlignedKind::kSame; ++k) {
            EXPECT_EQ(a[size_t(i + k)], b[size_t(j + k)]);
        }
        i += run.kind != AlignedKind::kAdded ? run.length : 0;
        j += run.kind != AlignedKind::kRemoved ? run.length : 0;
        same += run.kind == AlignedKind::kSame ? size_t(run.length) : 0;
    }
    EXPECT_EQ(size_t(i), a.size());
    EXPECT_EQ(size_t(j), b.size());
    return same;
}

TEST(SequenceAlignment, KeepsALongestCommonSubsequence) {
    std::mt19937 random(7);
    for (int trial = 0; trial < 3000; ++trial) {
        Sequence a(random() % 14), b(random() % 14);
        const uint64_t letters = 1 + random() % 4;
        for (uint64_t& e : a)
            e = random() % letters;
        for (uint64_t& e : b)
            e = random() % letters;
        bool ok = false;
        const std::vector<AlignedRun> runs = AlignSequences(a, b, &ok);
        ASSERT_TRUE(ok);
        ASSERT_EQ(CommonLength(a, b), Check(a, b, runs)) << trial;
    }
}

// Two long files that differ in a record changed, one inserted and one removed: exactly those.
TEST(SequenceAlignment, FindsAFewChangesInLongSequences) {
    Sequence a(250000);
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = i * 2654435761u;
    Sequence b = a;
    b[1000] = 1;
    b.insert(b.begin() + 120000, 2);
    b.erase(b.begin() + 200000);
    const std::vector<AlignedRun> runs = AlignSequences(a, b);
    EXPECT_EQ(a.size() - 2, Check(a, b, runs));
    using K = AlignedKind;
    std::vector<K> kinds;
    for (const AlignedRun& run : runs) {
        kinds.push_back(run.kind);
    }
    EXPECT_EQ(kinds, (std::vector<K>{K::kSame, K::kRemoved, K::kAdded, K::kSame, K::kAdded,
                                     K::kSame, K::kRemoved, K::kSame}));
    ASSERT_EQ(8u, runs.size());
    EXPECT_EQ(1000, runs[1].first);
    EXPECT_EQ(120000, runs[4].second);
    // Element 200,000 of the second, after the one inserted, is 199,999 of the first.
    EXPECT_EQ(199999, runs[6].first);
    EXPECT_TRUE(AlignSequences({}, {}).empty());
    const Sequence one = {5};
    EXPECT_EQ(AlignedKind::kAdded, AlignSequences({}, one).front().kind);
}

}  // namespace

// Sequences that differ throughout go past the edit distance searched exactly: the runs still
// cover both in order with equal elements kept, and most of what the two share is kept.
TEST(SequenceAlignment, AlignsSequencesThatDifferThroughout) {
    std::mt19937 random(11);
    Sequence a(60000), b(60000);
    for (uint64_t& e : a)
        e = random() % 8;
    for (uint64_t& e : b)
        e = random() % 8;
    const size_t same = Check(a, b, AlignSequences(a, b));
    EXPECT_GT(same, a.size() / 2);
}
