// Fuzz checks of the EMF+ decoder: comment data wrapped into a metafile, its report made as a
// stream and line by line.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "document/emf_format.h"
#include "document/metafile_document.h"
#include "emfplus/emfplus_guard.h"
#include "emfplus/emfplus_walk.h"
#include "fuzz/fuzz_checks.h"
#include "reports/emfplus_report.h"

namespace {

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        bytes[offset + k] = static_cast<uint8_t>(value >> (8 * k));
    }
}

// Appends a comment record whose data is `data`, padded to whole words.
void AppendComment(std::vector<uint8_t>& file, const uint8_t* data, size_t size) {
    const size_t at = file.size();
    const size_t record = 12 + (size + 3) / 4 * 4;
    file.resize(at + record, 0);
    PutU32(file, at, kEmrGdiComment);
    PutU32(file, at + 4, static_cast<uint32_t>(record));
    PutU32(file, at + 8, static_cast<uint32_t>(size));
    if (size > 0) {
        std::memcpy(file.data() + at + 12, data, size);
    }
}

// A metafile of a header, the comments and an end-of-file record.
std::vector<uint8_t> WrapComments(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(kHeaderBaseBytes, 0);
    PutU32(file, 0, kEmrHeader);
    PutU32(file, 4, kHeaderBaseBytes);
    PutU32(file, kHeaderSignatureOffset, kEnhMetaSignature);
    PutU32(file, kHeaderSignatureOffset + 4, 0x10000);
    // The first byte parts the rest into two comments: the data of the first, and after it
    // "EMF+" and the remainder, so that split objects can cross from one comment to the next.
    const size_t cut = size == 0 ? 0 : std::min<size_t>(size - 1, size_t{data[0]} * 16);
    if (cut == 0) {
        AppendComment(file, size == 0 ? data : data + 1, size == 0 ? 0 : size - 1);
    } else {
        AppendComment(file, data + 1, cut);
        std::vector<uint8_t> second = {'E', 'M', 'F', '+'};
        second.insert(second.end(), data + 1 + cut, data + size);
        AppendComment(file, second.data(), second.size());
    }
    const size_t eof = file.size();
    file.resize(eof + 20, 0);
    PutU32(file, eof, kEmrEof);
    PutU32(file, eof + 4, 20);
    PutU32(file, eof + 16, 20);
    PutU32(file, kHeaderBytesOffset, static_cast<uint32_t>(file.size()));
    PutU32(file, kHeaderRecordsOffset, cut == 0 ? 3 : 4);
    return file;
}

}  // namespace

const char* CheckEmfPlusReport(const MetafileDocument& document) {
    std::unique_ptr<ReportStream> stream = OpenEmfPlusReport(document);
    if (stream == nullptr) {
        return "EMF+ report refused a loaded document";
    }
    const EmfPlusIndex index(document.Store());
    FixedWideText<kReportLineUnits> line;
    std::u16string text;
    int64_t lines = 0;
    for (std::u16string_view chunk = stream->NextChunk(); !chunk.empty();
         chunk = stream->NextChunk()) {
        if (chunk.size() >= kReportChunkUnits) {
            return "EMF+ report chunk beyond the control's limit";
        }
        if (HasLoneSurrogate(chunk)) {
            return "EMF+ report holds a lone surrogate";
        }
        text.append(chunk);
    }
    const std::u16string_view all(text);
    size_t start = 0;
    for (size_t end; (end = all.find(u"\r\n", start)) != std::u16string_view::npos; ++lines) {
        const std::u16string_view made = all.substr(start, end - start);
        if (made.find_first_of(u"\r\n") != std::u16string_view::npos) {
            return "an EMF+ line holds a line break";
        }
        // A line made alone must be the stream's; each such line walks its comment from the
        // start, so a long report is sampled.
        const bool last = end + 2 == text.size();
        if (lines < 256 || lines % 61 == 0 || last) {
            index.WriteLine(lines, line);
            if (line.view() != made) {
                return "an EMF+ line made on its own differs from the stream's";
            }
        }
        start = end + 2;
    }
    if (start != text.size()) {
        return "the EMF+ report does not end with a line end";
    }
    if (lines != index.line_count()) {
        return "the EMF+ report's line count differs from its index";
    }
    return nullptr;
}

const char* CheckEmfPlusInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file = WrapComments(data, size);
    MetafileDocument document;
    if (document.LoadBytes(file.data(), file.size(), u"fuzz.emf") == 0) {
        return "a wrapped comment was refused";
    }
    return CheckEmfPlusReport(document);
}

namespace {

// Every EMF+ record of the metafile in file order, with the byte offset of each in the file.
std::vector<std::pair<size_t, EmfPlusRecordRef>> EmfPlusRecordsOf(
    const std::vector<uint8_t>& file) {
    std::vector<std::pair<size_t, EmfPlusRecordRef>> records;
    for (size_t offset = 0; file.size() - offset >= 8;) {
        const uint32_t type = LoadLe32(file.data() + offset);
        const uint32_t size = LoadLe32(file.data() + offset + 4);
        if (size < 8 || size > file.size() - offset) {
            break;
        }
        const RecordView host{file.data() + offset, size};
        if (ClassifyComment(host) == CommentKind::kEmfPlus) {
            EmfPlusWalker walker(host);
            EmfPlusRecordRef record;
            while (walker.Next(&record)) {
                records.emplace_back(record.view.data - file.data(), record);
            }
        }
        offset += size;
        if (type == kEmrEof) {
            break;
        }
    }
    return records;
}

}  // namespace

const char* CheckEmfPlusGuard(const std::vector<uint8_t>& metafile) {
    std::vector<uint8_t> guarded = metafile;
    const std::vector<EmfPlusReplacement> replaced = GuardEmfPlusRecords(guarded);
    if (guarded.size() != metafile.size()) {
        return "the EMF+ guard changed the metafile's size";
    }
    for (size_t k = 1; k < replaced.size(); ++k) {
        const EmfPlusReplacement& a = replaced[k - 1];
        const EmfPlusReplacement& b = replaced[k];
        if (a.index > b.index || (a.index == b.index && a.k >= b.k)) {
            return "the EMF+ guard's replacements are not in file order";
        }
    }
    // Every record the guard kept is the stored one; every other is a comment of zeros.
    for (const auto& [offset, record] : EmfPlusRecordsOf(guarded)) {
        const uint8_t* was = metafile.data() + offset;
        const uint8_t* now = guarded.data() + offset;
        if (std::memcmp(was, now, record.size) == 0) {
            continue;
        }
        if (record.type != 0x4003 || record.flags != 0 || record.data_size != record.size - 12) {
            return "the EMF+ guard mended a record into something else than a comment of its size";
        }
        for (uint32_t b = 12; b < record.size; ++b) {
            if (now[b] != 0) {
                return "the EMF+ guard left data in a mended record";
            }
        }
    }
    // What the guard hands on is sound: a second pass finds nothing.
    std::vector<uint8_t> again = guarded;
    if (!GuardEmfPlusRecords(again).empty() || again != guarded) {
        return "the EMF+ guard's output is not sound to the guard itself";
    }
    return nullptr;
}

const char* CheckEmfPlusGuardInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> file = WrapComments(data, size);
    MetafileDocument document;
    if (document.LoadBytes(file.data(), file.size(), u"fuzz.emf") == 0) {
        return "a wrapped comment was refused";
    }
    PlaybackCopy copy;
    if (BuildPlaybackCopy(document.Store(), &copy) != 1) {
        return "playback copy not built for a loaded document";
    }
    return CheckEmfPlusGuard(copy.bytes);
}
