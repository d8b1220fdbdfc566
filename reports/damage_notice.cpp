// The notice a damaged file gets.
#include "reports/damage_notice.h"

#include "document/emf_format.h"
#include "text/wide_text.h"

namespace {

std::u16string Grouped(uint32_t value) {
    FixedWideText<16> digits;
    AppendGrouped(digits, value);
    return std::u16string(digits.view());
}

std::u16string Why(const ReadingStop& stop) {
    switch (stop.reason) {
        case ReadingStopReason::kSizeBelowEight:
            return u"a record size of " + Grouped(stop.size_field);
        case ReadingStopReason::kSizePastEnd:
            return u"a record size of " + Grouped(stop.size_field) +
                   u" runs past the end of the file";
        case ReadingStopReason::kFileEnds:
            if (stop.bytes_left == 0) {
                return u"the file ends there, without an end-of-file record";
            }
            return u"the file ends " + Grouped(stop.bytes_left) +
                   (stop.bytes_left == 1 ? u" byte later" : u" bytes later");
        case ReadingStopReason::kNoRoom:
            return u"no room for more records";
        case ReadingStopReason::kNone:
            break;
    }
    return u"";
}

}  // namespace

std::u16string DamageNotice(const MetafileDocument& document) {
    const ReadingStop& stop = document.Stop();
    if (!document.IsLoaded() || stop.reason == ReadingStopReason::kNone) {
        return u"";
    }
    const uint32_t counted = RecordReader(RecordView{document.Header(), document.HeaderSize()})
                                 .U32(kHeaderRecordsOffset);
    return u"Damaged: " + Grouped(static_cast<uint32_t>(document.Store().count())) + u" of " +
           Grouped(counted) + u" records read; reading stopped at byte " + Grouped(stop.offset) +
           u" (" + Why(stop) + u")";
}
