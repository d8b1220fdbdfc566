// Decides whether the EMF+ records inside the comment records of a metafile are sound enough to
// be handed to the platform's EMF+ player, which trusts every size, count and object id they
// hold, and mends the ones that are not in the copy it is given.
#pragma once

#include <cstdint>
#include <vector>

// Why an EMF+ record is not sound for the player.
enum class EmfPlusGuardFault : uint8_t {
    kNone,
    // The record's DataSize runs past its Size, or a part of a split object stores padding.
    kRecordSize,
    // The comment's walk broke here: a head cut short, or a Size below 12, unaligned or past
    // the comment's data; the rest of the comment is mended as one record.
    kBrokenWalk,
    // The format defines no record of this type, or one the player has no business with.
    kUnknownType,
    // The record ends before its fixed fields.
    kShorterThanFields,
    // A count of points, rectangles, glyphs, characters or point types reaches past the
    // record (or the object).
    kCountBeyondRecord,
    // An object id of 64 or more.
    kObjectIdOutsideTable,
    // An object of a type the format does not define.
    kUnknownObjectType,
    // A reference to an object id no earlier object record defined.
    kObjectNotDefined,
    // A reference to an object of another type than the record needs.
    kObjectWrongType,
    // A size or length inside an object (image, bitmap, metafile, path, region, cap, brush
    // data) that reaches past the object.
    kObjectDataBeyondObject,
    // Two fields disagree so that the player would read past one of them: a bitmap's stride
    // against its width and pixel format, a curve's offset and segments against its points.
    kPartsDisagree,
    // A part of an object split over several records whose parts never reach its total size,
    // run past it, or disagree on it.
    kSplitObjectUnsound,
    // An image object that holds a metafile: it is not handed on.
    kNestedMetafile,
    // A value the player would act on unsafely: an unknown pixel format, a region nested too
    // deep, a destination of other than three points.
    kUnsafeValue,
};

struct EmfPlusGuardVerdict {
    EmfPlusGuardFault fault = EmfPlusGuardFault::kNone;
    // The field that broke the rule, by the format's field name; nullptr when sound.
    const char* field = nullptr;

    bool sound() const { return fault == EmfPlusGuardFault::kNone; }
};

// A short English description of a fault, for reports and test output.
const char* EmfPlusGuardFaultText(EmfPlusGuardFault fault);

struct EmfPlusReplacement {
    int32_t index;  // the host comment record's position in the metafile, header 0
    uint32_t k;     // the EMF+ record's place in its comment, from 0, as the EMF+ view counts
    uint16_t type;  // the EMF+ record's type as stored; 0 for a head cut short
    EmfPlusGuardVerdict verdict;
};

// Mends in place the EMF+ records inside the comment records of `metafile`, a whole metafile as
// the playback copy makes it (every record's nSize inside, header first, end-of-file last). A
// record that fails is overwritten by a harmless EMF+ record of the same Size: an EmfPlusComment
// with DataSize = Size - 12 and its data zeroed. Returns the replacements in file order.
std::vector<EmfPlusReplacement> GuardEmfPlusRecords(std::vector<uint8_t>& metafile);
