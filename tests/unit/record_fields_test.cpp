// The record layouts by name: their fixed fields end where each type's structure ends, and a
// cut record's fields stop at its end.
#include <gtest/gtest.h>

#include "document/record_fields.h"
#include "document/record_guard.h"
#include "document/record_types.h"
#include "tests/support/emf_builder.h"

namespace {

TEST(RecordFields, FixedFieldsEndWhereEachTypesStructureEnds) {
    std::vector<RecordField> fields;
    for (uint32_t type = 1; type <= kEmrLastType; ++type) {
        const uint32_t structure = RecordStructureBytes(type);
        if (structure == 0) {
            continue;
        }
        SCOPED_TRACE(type);
        // All counts zero: only the fixed fields take room.
        const RecordBuilder record(type, structure);
        EXPECT_EQ(ReadRecordFields(record.view(), fields), structure);
        for (const RecordField& field : fields) {
            EXPECT_LE(field.offset + field.count * FieldElementBytes(field.kind), structure);
        }
    }
}

TEST(RecordFields, ArraysAreCountedAsFarAsTheRecordHoldsThem) {
    std::vector<RecordField> fields;
    // A polyline claiming 1000 points in a record with room for 2 and a half.
    const RecordBuilder polyline = RecordBuilder(4, 48).U32(24, 1000);
    EXPECT_EQ(ReadRecordFields(polyline.view(), fields), 44u);
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[2].name, "aptl");
    EXPECT_EQ(fields[2].count, 2u);
    EXPECT_EQ(fields[2].declared, 1000u);
    // A string placed by its offset beyond the record is empty.
    const RecordBuilder text = RecordBuilder(84, 76).U32(44, 5).U32(48, 4000);
    ReadRecordFields(text.view(), fields);
    EXPECT_EQ(fields[fields.size() - 2].name, "String");
    EXPECT_EQ(fields[fields.size() - 2].count, 0u);
    // With ETO_PDY the spacing array holds an x and a y for each character.
    const RecordBuilder pdy =
        RecordBuilder(84, 76).U32(44, 2).U32(52, 0x2000).U32(72, 76).Resize(92);
    EXPECT_EQ(ReadRecordFields(pdy.view(), fields), 92u);
    EXPECT_EQ(fields.back().name, "Dx");
    EXPECT_EQ(fields.back().count, 4u);
}

}  // namespace
