// The comparison of two metafiles: what it reports for a change, an insertion and an object
// added early; the differences it leaves out until asked; EMF+ records inside comments; and a
// file against itself over the corpus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reports/metafile_diff.h"
#include "tests/support/corpus.h"
#include "tests/support/emf_builder.h"
#include "tests/support/emfplus_builder.h"
#include "text/utf16.h"

namespace {

struct Loaded {
    explicit Loaded(const std::vector<uint8_t>& bytes) {
        EXPECT_TRUE(document.LoadBytes(bytes.data(), bytes.size(), u"test.emf"));
    }
    MetafileDocument document;
};

// The changed lines of every hunk, "-3", "+4 rclBox.right: 120 -> 121", EMF+ places as "1.0".
std::vector<std::string> Changes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                 unsigned shown = 0) {
    Loaded first(a), second(b);
    std::vector<DiffHunk> hunks;
    EXPECT_TRUE(CompareMetafiles(first.document, second.document, {shown, 0}, &hunks));
    std::vector<std::string> lines;
    for (const DiffHunk& hunk : hunks) {
        for (const DiffLine& line : hunk.lines) {
            const bool added = line.op == '+';
            std::string text(1, line.op);
            text += std::to_string(added ? line.second : line.first);
            const int32_t place = added ? line.second_place : line.first_place;
            if (place >= 0) {
                text += '.';
                text += std::to_string(place);
            }
            for (const FieldDifference& field : line.fields) {
                text += ' ';
                text += ToUtf8(field.name + u": " + field.first + u" -> " + field.second);
            }
            lines.push_back(text);
        }
    }
    return lines;
}

RecordBuilder Pen(int32_t index, int32_t color) {
    return FieldRecord(38, {index, 0, 1, 0, color});
}

TEST(MetafileDiff, ReportsAChangeAnInsertionAndAnObjectAddedEarlyAndNothingElse) {
    const auto a = EmfBuilder()
                       .Handles(2)
                       .Add(Pen(1, 0xFF))
                       .Add(FieldRecord(37, {1}))
                       .Add(FieldRecord(42, {10, 20, 120, 200}))
                       .Add(FieldRecord(43, {0, 0, 5, 5}))
                       .Add(FieldRecord(40, {1}))
                       .Build();
    const auto b = EmfBuilder()
                       .Handles(3)
                       .Add(FieldRecord(39, {1, 0, 0xFF00, 0}))
                       .Add(Pen(2, 0xFF))
                       .Add(FieldRecord(37, {2}))
                       .Add(FieldRecord(42, {10, 20, 121, 200}))
                       .Add(FieldRecord(54, {3, 4}))
                       .Add(FieldRecord(43, {0, 0, 5, 5}))
                       .Add(FieldRecord(40, {2}))
                       .Build();
    EXPECT_EQ(Changes(a, b),
              (std::vector<std::string>{"+1", "-3", "+4 rclBox.right: 120 -> 121", "+5"}));
    // With the numbers shown, the pen, its selection and its deletion differ by index.
    EXPECT_EQ(Changes(a, b, kShowNumbering),
              (std::vector<std::string>{"+1", "-1", "+2 ihPen: 1 -> 2", "-2", "+3 ihObject: 1 -> 2",
                                        "-3", "+4 rclBox.right: 120 -> 121", "+5", "-5",
                                        "+7 ihObject: 1 -> 2"}));
    // The same index standing for another object is named with the record that made it.
    const auto blue = EmfBuilder().Add(Pen(1, 0xFF0000)).Add(FieldRecord(37, {1})).Build();
    const auto red = EmfBuilder().Add(Pen(1, 0xFF)).Add(FieldRecord(37, {1})).Build();
    EXPECT_EQ(
        Changes(blue, red),
        (std::vector<std::string>{"-1", "+1 lopn.lopnColor: 0x00FF0000 -> 0x000000FF", "-2",
                                  "+2 ihObject: 1 (made by record 1) -> 1 (made by record 1)"}));
}

TEST(MetafileDiff, LeavesOutWhatDoesNotChangeTheDrawingUntilAskedFor) {
    const auto text = [](float scale, uint32_t left) {
        return RecordBuilder(84, 76).U32(8, left).F32(28, scale).F32(32, 1.0f);
    };
    const auto file = [&](float scale, uint32_t left, uint32_t mode_size, int32_t right) {
        return EmfBuilder()
            .Bounds(0, 0, right, 10)
            .Add(text(scale, left))
            .Add(RecordBuilder(18, mode_size).U32(8, 1))
            .Build();
    };
    const auto base = file(1.0f, 0, 12, 10);
    const struct {
        std::vector<uint8_t> other;
        unsigned shown;
        std::string change;
    } cases[] = {
        {file(2.0f, 0, 12, 10), kShowScale, "+1 exScale: 1 -> 2"},
        {file(1.0f, 7, 12, 10), kShowBounds, "+1 rclBounds.left: 0 -> 7"},
        {file(1.0f, 0, 16, 10), kShowTrailing, "+2 (bytes after the fields): 0 bytes -> 4 bytes"},
        {file(1.0f, 0, 12, 11), kShowHeader, "+0 rclBounds.right: 10 -> 11"},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.change);
        EXPECT_TRUE(Changes(base, each.other).empty());
        const std::vector<std::string> shown = Changes(base, each.other, each.shown);
        ASSERT_EQ(shown.size(), 2u);
        EXPECT_EQ(shown[1], each.change);
        // Everything shown takes in the header's counts too.
        EXPECT_EQ(Changes(base, each.other, kShowAll).back(), shown.back());
    }
}

TEST(MetafileDiff, AlignsTheEmfPlusRecordsInsideComments) {
    const auto clear = [](uint32_t color) { return Plus(0x4009, 0, Data().U32(color)); };
    const auto save = [](uint32_t index) { return Plus(0x4025, 0, Data().U32(index)); };
    const auto a = EmfBuilder()
                       .Add(PlusComment({clear(0xFF0000FF), save(1)}))
                       .Add(FieldRecord(18, {1}))
                       .Add(PlusComment({save(2)}))
                       .Build();
    const auto b = EmfBuilder()
                       .Add(PlusComment({clear(0xFF00FF00), save(1)}))
                       .Add(FieldRecord(18, {1}))
                       .Add(PlusComment({save(2), save(3)}))
                       .Build();
    EXPECT_EQ(Changes(a, b), (std::vector<std::string>{"-1.0", "+1.0", "+3.1"}));
}

TEST(MetafileDiff, FindsNoDifferenceBetweenAFileAndItselfOverTheCorpus) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    std::vector<std::string> files = ListEmfFiles(corpus + "/good");
    for (const std::string& path : ListEmfFiles(corpus + "/corrupted")) {
        files.push_back(path);
    }
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        MetafileDocument first, second;
        if (!first.LoadBytes(bytes.data(), bytes.size(), u"a") ||
            !second.LoadBytes(bytes.data(), bytes.size(), u"b")) {
            continue;
        }
        std::vector<DiffHunk> hunks;
        EXPECT_TRUE(CompareMetafiles(first, second, {kShowAll, 3}, &hunks));
        EXPECT_TRUE(hunks.empty());
    }
}

}  // namespace
