// Decides whether one record is structurally sound enough to be handed to the platform's
// metafile player, which trusts every count, offset and object index a record holds.
#pragma once

#include <cstdint>

#include "document/record_view.h"

// Why a record is not sound for playback.
enum class GuardFault : uint8_t {
    kNone,
    // The format defines no record of this type (69, 107, 117, 0, above 122).
    kUnknownType,
    // nSize is larger than the bytes held for the record.
    kSizeBeyondBytes,
    // nSize is not a multiple of 4.
    kSizeUnaligned,
    // nSize is smaller than the fixed structure of the record's type.
    kShorterThanStructure,
    // A count of elements (points, polygons, entries, characters) reaches past the record.
    kCountBeyondRecord,
    // An offset, or an offset plus its length, lies past the record.
    kOffsetBeyondRecord,
    // An offset points into the record's own fixed structure.
    kOffsetIntoStructure,
    // Two parts disagree so that the player would read past one of them: polygon counts that
    // add up to more than the points, a bitmap header larger than its block, bits shorter
    // than the image, region rectangles beyond the region data, a mesh vertex index beyond
    // the vertices, a palette overlapping the end-of-file record's last field.
    kPartsDisagree,
    // An object-table index is 0, or not below the header's nHandles.
    kObjectIndexOutsideTable,
    // A stock object where the player looks the index up in its object table.
    kStockObjectNotAllowed,
    // A value the player would act on unsafely: a brush style whose hatch field the player
    // takes for a pointer or a handle, a header without the signature or without an object
    // table, a record of a kind that only belongs at one place of the file.
    kUnsafeValue,
};

struct GuardVerdict {
    GuardFault fault = GuardFault::kNone;
    // The field that broke the rule, named as the platform's record structures name it
    // ("emrtext.offString"); nullptr when the record is sound.
    const char* field = nullptr;

    bool sound() const { return fault == GuardFault::kNone; }
};

// Whether `record` may be played. `object_handles` is the nHandles of the header the player
// is given: every object index the record creates, selects, uses or deletes must lie in
// 1 .. object_handles - 1, stock objects aside where the player treats them as such. A header
// record is checked for what the player needs of a header; its nBytes and nRecords are not
// checked, since whoever builds the metafile for the player sets them.
GuardVerdict CheckRecordForPlayback(RecordView record, uint32_t object_handles);

// The length of the fixed structure of records of `type` (the platform's record structure
// without its trailing variable arrays), or 0 for a type the format does not define.
uint32_t RecordStructureBytes(uint32_t type);

// Two parts of the header rule on their own, so that a header can be mended part by part
// rather than replaced: the description string (nDescription, offDescription) and the pixel
// format block (cbPixelFormat, offPixelFormat) lie inside the header record, or are absent.
bool HeaderDescriptionIsSound(RecordView header);
bool HeaderPixelFormatIsSound(RecordView header);

// A short English description of a fault, for reports and test output.
const char* GuardFaultText(GuardFault fault);
