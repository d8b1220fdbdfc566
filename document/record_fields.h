// The fields of each record type by name, as the format lays them out: where each lies in a
// record, what kind of value it holds, and where the fields end and the bytes after them begin.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "document/record_view.h"

// What a field's elements hold.
enum class FieldKind : uint8_t {
    kInt,       // int32, decimal
    kUnsigned,  // uint32, decimal
    kHex,       // uint32 flags or codes, hexadecimal
    kFloat,     // 32-bit float
    kColor,     // COLORREF, hexadecimal
    kWord,      // uint16
    kShort,     // int16
    kByte,      // bytes, compared as one block
    kText,      // UTF-16 units, compared as one string
    kRect,      // RECTL: left, top, right, bottom
    kPoint,     // POINTL: x, y
    kSize,      // SIZEL: cx, cy
    kXform,     // XFORM: eM11, eM12, eM21, eM22, eDx, eDy
    kPoint16,   // POINTS: x, y as int16
    kHandle,    // the object-table index of an object the record uses
    kObject,    // the object-table index of an object the record makes
};

// Which fields differ without changing the drawing, each shown only when asked for.
enum class FieldClass : uint8_t {
    kDrawing,    // every other field
    kHeader,     // the header's bounds, frame, device sizes, counts and description
    kBounds,     // a record's rclBounds
    kScale,      // exScale and eyScale of the text records
    kLayout,     // where a record's parts lie (the off... fields)
    kNumbering,  // object-table indices
};

// One field of one record: a scalar, a fixed number of elements, or an array whose count
// another field gives. Only the elements that lie inside the record are counted.
struct RecordField {
    std::string_view name;
    FieldKind kind;
    FieldClass field_class;
    uint32_t offset;    // the first element's byte offset in the record
    uint32_t count;     // elements inside the record
    uint32_t declared;  // elements the record claims; more than `count` when it is cut short
    bool array;         // named with an index per element ("aptl[3]"); else one value
};

// The size in bytes of one element of `kind`; for kText a UTF-16 unit, for kByte a byte.
uint32_t FieldElementBytes(FieldKind kind);

// The names of a composite kind's parts ("left", "top", ...) and their count; none for a scalar.
std::vector<std::string_view> FieldPartNames(FieldKind kind);

// Replaces `fields` with the fields of `record`, in order, by its type's layout; a type without
// one has a single byte field "data" holding everything after iType and nSize. Returns where
// the fields end: the bytes from there to the record's end lie after its fields.
uint32_t ReadRecordFields(RecordView record, std::vector<RecordField>& fields);
