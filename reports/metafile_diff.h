// The comparison of two metafiles: their records aligned by type and content, the EMF+ records
// inside their comments aligned the same way, and the hunks of a unified diff with the fields
// that differ in each changed pair of records.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/metafile_document.h"

// The differences that do not change the drawing, each left out unless asked for.
enum DiffShown : unsigned {
    kShowHeader = 1,     // the header's bounds, frame, device sizes, counts and description
    kShowBounds = 2,     // each record's rclBounds
    kShowScale = 4,      // exScale and eyScale of the text records
    kShowTrailing = 8,   // the bytes after a record's fields, and where its parts lie
    kShowNumbering = 16  // object-table indices, which otherwise stand for the objects
};
inline constexpr unsigned kShowAll = 31;

struct FieldDifference {
    std::u16string name;  // "rclBox.right", "aptl[3].x"
    std::u16string first;
    std::u16string second;
};

// One line of a hunk: a record (or EMF+ record) in both files, only in the first, or only in
// the second.
struct DiffLine {
    char op = ' ';  // ' ' in both, '-' only in the first, '+' only in the second
    int32_t first = -1;
    int32_t second = -1;
    // For an EMF+ line, the record's place in its comment in each file; -1 otherwise.
    int32_t first_place = -1;
    int32_t second_place = -1;
    std::u16string text;  // the call text, or the EMF+ record's decoded line
    // On a '+' line that pairs with the '-' line before it: the fields that differ.
    std::vector<FieldDifference> fields;
    uint32_t more_fields = 0;  // differing fields beyond those listed
};

struct DiffHunk {
    bool emfplus = false;
    // The first line of each side (as a record number, or R with its place), and the number of
    // lines of that side; for a side without lines, where they would stand.
    int32_t first_start = 0, first_place = -1, first_count = 0;
    int32_t second_start = 0, second_place = -1, second_count = 0;
    std::vector<DiffLine> lines;
};

struct DiffOptions {
    unsigned shown = 0;   // DiffShown bits
    int32_t context = 3;  // lines of context about each change
};

// Compares `first` with `second`; the record hunks first, then the EMF+ hunks, each in order.
// False when the memory could not be had.
bool CompareMetafiles(const MetafileDocument& first, const MetafileDocument& second,
                      const DiffOptions& options, std::vector<DiffHunk>* hunks);

// The fields listed under one changed pair at most; the rest are counted.
inline constexpr uint32_t kListedFields = 12;
