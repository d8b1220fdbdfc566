// Fuzz checks of a whole file: loading from bytes, the three reports, every call text and the
// embedded payloads.
#include <cstring>
#include <string>

#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "fuzz/fuzz_checks.h"
#include "reports/call_list_report.h"
#include "reports/embedded_payloads.h"
#include "reports/header_report.h"
#include "reports/metafile_diff.h"
#include "reports/record_list_report.h"
#include "state/state_text.h"
#include "state/state_tracker.h"

namespace {

const char* CheckReport(const ReportText& report) {
    for (const std::u16string& chunk : report.chunks) {
        if (chunk.size() >= kReportChunkUnits) {
            return "report chunk beyond the control's limit";
        }
        if (HasLoneSurrogate(chunk)) {
            return "report holds a lone surrogate";
        }
    }
    return nullptr;
}

const char* CheckReports(const MetafileDocument& document) {
    ReportText report;
    if (BuildHeaderReportText(document, &report) != 1) {
        return "header report refused a loaded document";
    }
    if (const char* broken = CheckReport(report)) {
        return broken;
    }
    if (BuildRecordListText(document, &report) != 1) {
        return "record list refused a loaded document";
    }
    if (const char* broken = CheckReport(report)) {
        return broken;
    }
    for (int verbose = 0; verbose <= 1; ++verbose) {
        if (BuildCallListText(document, &report, verbose) != 1) {
            return "call list refused a loaded document";
        }
        if (const char* broken = CheckReport(report)) {
            return broken;
        }
    }
    return nullptr;
}

// The state text of one record, or "" when the tracker gave none.
std::u16string StateTextAt(StateTracker& tracker, int32_t index) {
    const GraphicsState* state = tracker.StateAt(index);
    std::vector<StateLine> lines;
    std::u16string text;
    if (state != nullptr && StateText(*state, tracker.PathOpenAtEnd(), &lines)) {
        for (const StateLine& line : lines) {
            text += line.text + u"\n";
        }
    }
    return text;
}

// The state after the last record, then a step back to the middle one, is the state a walk
// straight to the middle record finds.
const char* CheckState(const MetafileDocument& document) {
    const int32_t count = document.Store().count();
    StateTracker tracker, fresh;
    tracker.Reset(document, nullptr);
    fresh.Reset(document, nullptr);
    if (StateTextAt(tracker, count - 1).empty()) {
        return "no graphics state for a loaded document";
    }
    if (StateTextAt(tracker, count / 2) != StateTextAt(fresh, count / 2)) {
        return "the graphics state of a record depends on the record asked for before it";
    }
    return nullptr;
}

// A hunk's lines of each side add up to its counts.
const char* CheckHunks(const std::vector<DiffHunk>& hunks) {
    for (const DiffHunk& hunk : hunks) {
        int32_t first = 0, second = 0;
        for (const DiffLine& line : hunk.lines) {
            first += line.op != '+' ? 1 : 0;
            second += line.op != '-' ? 1 : 0;
        }
        if (first != hunk.first_count || second != hunk.second_count || hunk.lines.empty()) {
            return "a diff hunk's lines do not add up to its counts";
        }
    }
    return nullptr;
}

// A file compared with itself is the same, whatever is shown; compared with its playback
// copy, whose mended records differ from the file's, every hunk adds up.
const char* CheckComparison(const MetafileDocument& document, const std::vector<uint8_t>& copy) {
    std::vector<DiffHunk> hunks;
    if (!CompareMetafiles(document, document, {kShowAll, 3}, &hunks)) {
        return "a file could not be compared with itself";
    }
    if (!hunks.empty()) {
        return "a file compared with itself differs";
    }
    MetafileDocument mended;
    if (mended.LoadBytes(copy.data(), copy.size(), u"copy.emf") == 0) {
        return nullptr;
    }
    for (const unsigned shown : {0u, kShowAll}) {
        if (!CompareMetafiles(document, mended, {shown, 1}, &hunks)) {
            return "a file could not be compared with its playback copy";
        }
        if (const char* broken = CheckHunks(hunks)) {
            return broken;
        }
    }
    return nullptr;
}

// The payloads: each checked and made, its bytes those its line counts and never more than the
// records could make (a bitmap file made of pixels re-aligns its rows: at most four times what
// the store holds, and its headers), its file name the metafile's name and numbers alone, and
// the payloads of a record found alone the same as in the whole table.
const char* CheckPayloads(const MetafileDocument& document) {
    const EmbeddedPayloads found(document.Store());
    const uint64_t room = 4 * uint64_t{document.Store().stored_bytes()} + 2048;
    std::vector<uint8_t> bytes;
    int alone = 0;
    for (size_t i = 0; i < found.payloads().size(); ++i) {
        const EmbeddedPayload& payload = found.payloads()[i];
        const PayloadReport report = found.Report(i);
        if (std::memchr(report.check.verdict, 0, sizeof report.check.verdict) == nullptr ||
            report.check.verdict[0] == 0) {
            return "a payload without a verdict";
        }
        const bool made = found.Bytes(i, &bytes);
        if (bytes.size() != report.bytes || made == bytes.empty()) {
            return "a payload's bytes are not those its line counts";
        }
        if (bytes.size() > room) {
            return "a payload larger than the records could make";
        }
        const std::u16string name = PayloadFileName(u"n", payload);
        for (size_t k = 1; k < name.size(); ++k) {
            const char16_t c = name[k];
            if (!(c >= u'0' && c <= u'9') && !(c >= u'a' && c <= u'z') && c != u'-' && c != u'.') {
                return "a payload file name holds more than the name, numbers and extension";
            }
        }
        if ((i == 0 || found.payloads()[i - 1].record != payload.record) && alone++ < 4) {
            const EmbeddedPayloads one(document.Store(), payload.record);
            size_t k = 0;
            for (; k < one.payloads().size() && i + k < found.payloads().size(); ++k) {
                if (PayloadLine(one.payloads()[k], one.Report(k)) !=
                    PayloadLine(found.payloads()[i + k], found.Report(i + k))) {
                    return "a record's payloads found alone differ from those of the whole file";
                }
            }
            if (k == 0 || (i + k < found.payloads().size() &&
                           found.payloads()[i + k].record == payload.record)) {
                return "a record's payloads found alone are fewer than those of the whole file";
            }
        }
    }
    return nullptr;
}

}  // namespace

const char* CheckPlayable(const PlaybackCopy& copy) {
    const size_t size = copy.bytes.size();
    if (size < kHeaderBaseBytes) {
        return "playback copy shorter than a header";
    }
    const uint8_t* header = copy.bytes.data();
    const uint32_t handles = LoadLe16(header + kHeaderHandlesOffset);
    uint32_t count = 0;
    bool ended = false;
    for (size_t offset = 0; offset < size; ++count) {
        if (ended || size - offset < 8) {
            return "playback copy holds bytes after its end-of-file record";
        }
        const RecordView record{header + offset, LoadLe32(header + offset + 4)};
        if (record.size < 8 || record.size > size - offset) {
            return "playback copy record of a size that does not fit";
        }
        if (!CheckRecordForPlayback(record, handles).sound()) {
            return "playback copy holds a record the guard rejects";
        }
        const uint32_t type = RecordType(record);
        if ((type == kEmrHeader) != (offset == 0)) {
            return "playback copy has a header record that is not first, or none first";
        }
        ended = type == kEmrEof;
        offset += record.size;
    }
    if (!ended) {
        return "playback copy does not end with an end-of-file record";
    }
    if (LoadLe32(header + kHeaderBytesOffset) != size ||
        LoadLe32(header + kHeaderRecordsOffset) != count) {
        return "playback copy header counts do not describe the copy";
    }
    return nullptr;
}

const char* CheckDocumentInput(const uint8_t* data, size_t size) {
    MetafileDocument document;
    if (document.LoadBytes(data, size, u"fuzz.emf") == 0) {
        return nullptr;
    }
    const RecordStore& store = document.Store();
    if (store.stored_bytes() > size || store.count() > static_cast<int64_t>(size / 8)) {
        return "the store holds more than the file";
    }
    if (const char* broken = CheckReports(document)) {
        return broken;
    }
    if (const char* broken = CheckEmfPlusReport(document)) {
        return broken;
    }
    if (const char* broken = CheckPayloads(document)) {
        return broken;
    }
    if (const char* broken = CheckState(document)) {
        return broken;
    }
    for (int32_t i = 0; i < store.count(); ++i) {
        if (const char* broken = CheckCallTextOf(document.RecordAt(i))) {
            return broken;
        }
    }
    // An empty store plays as a header and an end-of-file record.
    PlaybackCopy copy;
    if (BuildPlaybackCopy(store, &copy) != 1) {
        return "playback copy not built for a loaded document";
    }
    if (store.count() == 0) {
        return CheckPlayable(copy);
    }
    if (const char* broken = CheckPlayable(copy)) {
        return broken;
    }
    if (const char* broken = CheckEmfPlusGuard(copy.bytes)) {
        return broken;
    }
    if (const char* broken = CheckComparison(document, copy.bytes)) {
        return broken;
    }
    // Record i of the copy stands for record i of the store; only an added end-of-file record
    // comes on top.
    const bool added_eof = !copy.replacements.empty() &&
                           copy.replacements.back().mend == PlaybackMend::kAddedEndOfFile;
    if (LoadLe32(copy.bytes.data() + kHeaderRecordsOffset) !=
        static_cast<uint32_t>(store.count()) + (added_eof ? 1 : 0)) {
        return "playback copy does not hold one record for each stored record";
    }
    return nullptr;
}
