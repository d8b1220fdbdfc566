// Fuzz checks of one record's call text: every formatter on any bytes.
#include <string_view>
#include <vector>

#include "calls/call_text.h"
#include "calls/formatters.h"
#include "document/record_types.h"
#include "fuzz/fuzz_checks.h"
#include "text/utf16.h"

namespace {

// Types 1 to 120 have calls; 0 and 121 stand for those without.
constexpr uint32_t kTypeSpan = kEmrLastType;

// The formatters whose text depends on the verbose flag.
constexpr CallFormatter kVerboseFormatters[] = {
    FormatExtTextOut,
    FormatBitBlt,
    FormatStretchBlt,
    FormatMaskBlt,
    FormatPlgBlt,
    FormatCreateBrushIndirect,
    FormatExtSelectClipRgn,
    FormatFillRgn,
    FormatFrameRgn,
    FormatInvertRgn,
    FormatPaintRgn,
    FormatCreateFont,
    FormatPolyPoints,
    FormatPolyPoints16,
    FormatPolyPolyPoints16,
    FormatSetWorldTransform,
    FormatModifyWorldTransform,
    FormatCreatePalette,
    FormatExtCreatePen,
    FormatDIBPatternBrushPt,
    FormatMonoBrush,
    FormatStretchDIBits,
};

bool ReadsVerboseFlag(CallFormatter formatter) {
    for (CallFormatter verbose : kVerboseFormatters) {
        if (formatter == verbose) {
            return true;
        }
    }
    return false;
}

const char* CheckOneForm(RecordView record, int verbose, WideText& text) {
    SetVerboseFlag(verbose);
    if (BuildCallText(record, text) != 1) {
        return "BuildCallText refused a record";
    }
    if (text.size() >= text.capacity() || text.c_str()[text.size()] != 0) {
        return "call text not terminated inside its buffer";
    }
    if (std::u16string_view(text.c_str()).size() != text.size()) {
        return "call text holds a NUL before its end";
    }
    if (text.cut()) {
        return "call text had to be cut to fit its buffer";
    }
    if (HasLoneSurrogate(text.view())) {
        return "call text holds a lone surrogate";
    }
    return nullptr;
}

// Builds both forms into `brief` and `verbose` and checks each, and the two together.
const char* CheckBothForms(RecordView record, WideText& brief, WideText& verbose) {
    if (const char* broken = CheckOneForm(record, 0, brief)) {
        return broken;
    }
    if (const char* broken = CheckOneForm(record, 1, verbose)) {
        return broken;
    }
    const CallFormatter formatter = LookupFormatter(RecordType(record));
    if (formatter != nullptr && !ReadsVerboseFlag(formatter) && brief.view() != verbose.view()) {
        return "a formatter without parameter blocks changed with the verbose flag";
    }
    // The verbose form adds its parameter blocks after the brief form.
    if (!verbose.view().starts_with(brief.view())) {
        return "the verbose form does not start with the brief form";
    }
    return nullptr;
}

}  // namespace

bool HasLoneSurrogate(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit)) {
            if (i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
                ++i;
                continue;
            }
            return true;
        }
        if (IsLowSurrogate(unit)) {
            return true;
        }
    }
    return false;
}

const char* CheckCallTextOf(RecordView record) {
    FixedWideText<kCallTextUnits> brief;
    FixedWideText<kCallTextUnits> verbose;
    return CheckBothForms(record, brief, verbose);
}

const char* CheckRecordInput(const uint8_t* data, size_t size) {
    // A buffer of exactly the record's bytes, so that a read past the record is caught.
    std::vector<uint8_t> record(data, data + size);
    if (size >= 4) {
        const uint32_t type = LoadLe32(data) % kTypeSpan;
        for (int i = 0; i < 4; ++i) {
            record[i] = static_cast<uint8_t>(type >> (8 * i));
        }
    }
    // An empty input still stands for a record: a view needs a first byte.
    static const uint8_t kNoBytes[1] = {0};
    const RecordView view{size == 0 ? kNoBytes : record.data(), static_cast<uint32_t>(size)};
    FixedWideText<kCallTextUnits> brief;
    FixedWideText<kCallTextUnits> verbose;
    if (const char* broken = CheckBothForms(view, brief, verbose)) {
        return broken;
    }
    // A formatter keeps nothing from one call to the next: built again, in the other order,
    // the record gives the same texts.
    FixedWideText<kCallTextUnits> again;
    CheckOneForm(view, 1, again);
    if (again.view() != verbose.view()) {
        return "the same record gave two different call texts";
    }
    CheckOneForm(view, 0, again);
    return again.view() == brief.view() ? nullptr : "the same record gave two different call texts";
}
