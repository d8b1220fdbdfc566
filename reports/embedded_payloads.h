// The pictures, documents and profiles a metafile carries inside its records: found in one
// pass over the records, each made into the bytes of a file of its own only when asked for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/record_store.h"
#include "emfplus/split_objects.h"
#include "reports/payload_checks.h"

// How the bytes of a payload are made from the record that holds them.
enum class PayloadShape : uint8_t {
    kRange,   // a range of bytes, taken as they are
    kDib,     // a device-independent bitmap: a file header made for it, its header, its bits
    kPixels,  // EMF+ pixel data: a bitmap file made for it from its size, stride and palette
};

// Which of the payloads of one place a payload is, for a file name of its own: the first or
// only one, a mask, or the Nth format of a comment that holds several.
inline constexpr uint32_t kPayloadMask = 1;

struct EmbeddedPayload {
    int32_t record = 0;
    // The EMF+ record's place in its comment, or -1 for a payload of the record itself.
    int32_t place = -1;
    // What carries it: "EMR_STRETCHDIBITS source", "EmfPlusObject image".
    const char* carrier = "";
    // 0 for the first or only payload of its place, kPayloadMask for a mask, N >= 2 for the Nth
    // format of a multi-format comment.
    uint32_t variant = 0;
    PayloadFormat format = PayloadFormat::kUnknown;
    // The bytes its fields claim, made as the file would be (a bitmap with its file header);
    // more than it holds when the record ends first.
    uint64_t claimed = 0;
    // A fault found in its fields, which stands in for the check of its bytes; "" for none.
    char problem[96] = {};

    // Where its bytes are, in the record, or, for an object split over several records, in the
    // object put back together (`split` is then its slot).
    PayloadShape shape = PayloadShape::kRange;
    int32_t split = -1;
    uint32_t offset = 0;  // the range; a bitmap's header; the pixel data
    uint32_t length = 0;  // as far as the record holds it
    // For a range: the bytes left out after the first 22, the two bytes of padding some
    // writers put after a Windows metafile's placeable header, which readers do not expect.
    uint32_t gap = 0;
    uint32_t bits_offset = 0;  // a bitmap's bits; the pixels' palette entries
    uint32_t bits_length = 0;  // as far as the record holds them; the palette's entry count
    // Pixel data: its size, its row stride, its pixel format.
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
    uint32_t pixel_format = 0;
};

// What a payload's line says: its check, and the bytes it would be written as.
struct PayloadReport {
    PayloadCheck check;
    uint64_t bytes = 0;
};

class EmbeddedPayloads {
  public:
    // Finds the payloads of every record of `store`, or of record `only` alone when it is 0 or
    // more (the objects split over several records are gathered from the whole file either
    // way). The store must outlive the table.
    explicit EmbeddedPayloads(const RecordStore& store, int32_t only = -1);

    const std::vector<EmbeddedPayload>& payloads() const { return payloads_; }

    // Replaces `out` with the bytes of payload `index` as its file would hold them: a range as
    // it is, a bitmap with a file header made for it. False, `out` empty, when the memory
    // cannot be had or the payload has no bytes in the record.
    bool Bytes(size_t index, std::vector<uint8_t>* out) const;

    // The payload's bytes made and checked: the fault in its fields when there is one, else
    // that the record cuts it short, else the check of its format.
    PayloadReport Report(size_t index) const;

  private:
    void FindInRecord(int32_t index, RecordView record);
    void FindInEmfPlus(int32_t index, RecordView record, bool wanted);
    // Adds the image `object` holds, an EmfPlusObject record whole or put back together, whose
    // object should end at `claimed_end`; `base` is where the object lies in its host record.
    void FindInObject(EmbeddedPayload payload, RecordView object, uint64_t claimed_end,
                      uint32_t base);

    const RecordStore& store_;
    SplitObjects split_objects_;
    std::vector<EmbeddedPayload> payloads_;
    // The payloads of split objects, read once every part is in.
    std::vector<EmbeddedPayload> pending_;
};

// The one-line form `orvella-dump extract --list` prints, without its line end:
// "43.30<TAB>EmfPlusObject image<TAB>PNG 640 x 480<TAB>20133 bytes<TAB>ok".
std::string PayloadLine(const EmbeddedPayload& payload, const PayloadReport& report);

// The file name of a payload of the metafile named `name`: "NAME-R.ext", "NAME-R.K.ext",
// "NAME-R-mask.ext" or "NAME-R-N.ext"; "" for a payload that is never written. Nothing but
// `name`, numbers and the extension goes into it.
std::u16string PayloadFileName(std::u16string_view name, const EmbeddedPayload& payload);
