// The text of one report: made line by line and handed out in chunks that the report control
// can take one at a time, or kept whole.
#include "reports/report_text.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

// Whether a piece of `length` units opens a new chunk after `used` units of the current one:
// a chunk stays below kReportChunkUnits, unless one piece alone is that long.
bool OpensNewChunk(size_t used, size_t length) {
    return used != 0 && used + length >= kReportChunkUnits;
}

}  // namespace

ReportStream::ReportStream(std::vector<int> tab_stops)
    : tab_stops_(std::move(tab_stops)),
      // A line is written after at most kReportChunkUnits - 1 units of its chunk.
      buffer_(new (std::nothrow) char16_t[kReportChunkUnits + kReportLineUnits]) {}

std::u16string_view ReportStream::NextChunk() {
    if (buffer_ == nullptr) {
        return {};
    }
    char16_t* chunk = buffer_.get();
    size_t used = 0;
    if (carried_units_ != 0) {
        std::memmove(chunk, chunk + carried_from_, carried_units_ * sizeof(char16_t));
        used = carried_units_;
        carried_units_ = 0;
    }
    while (!finished_) {
        const size_t length = WriteLine(chunk + used);
        if (length == 0) {
            finished_ = true;
        } else if (OpensNewChunk(used, length)) {
            carried_from_ = used;
            carried_units_ = length;
            break;
        } else {
            used += length;
        }
    }
    return std::u16string_view(chunk, used);
}

int CollectReport(ReportStream& stream, ReportText* report) {
    try {
        report->tab_stops = stream.tab_stops();
        report->chunks.clear();
        for (std::u16string_view chunk = stream.NextChunk(); !chunk.empty();
             chunk = stream.NextChunk()) {
            report->chunks.emplace_back(chunk);
        }
        return 1;
    } catch (const std::bad_alloc&) {
        report->tab_stops = {};
        report->chunks = {};
        return 0;
    }
}

void ReportWriter::Append(std::u16string_view piece) {
    if (report_->chunks.empty() || OpensNewChunk(report_->chunks.back().size(), piece.size())) {
        report_->chunks.emplace_back();
    }
    report_->chunks.back().append(piece);
}

std::u16string JoinReport(const ReportText& report) {
    size_t length = 0;
    for (const std::u16string& chunk : report.chunks) {
        length += chunk.size();
    }
    std::u16string text;
    text.reserve(length);
    for (const std::u16string& chunk : report.chunks) {
        text += chunk;
    }
    return text;
}

int32_t ReportEntries::EntryOfRecord(int32_t record) const {
    if (record < 0) {
        return -1;
    }
    const int32_t entries = count();
    for (int32_t index = 0; index < entries; ++index) {
        if (RecordOf(index) == record) {
            return index;
        }
    }
    return -1;
}

WrittenEntries::WrittenEntries(std::vector<int> tab_stops)
    : ReportEntries(std::move(tab_stops)), buffer_(new (std::nothrow) char16_t[kReportLineUnits]) {}

std::u16string_view WrittenEntries::Entry(int32_t index) {
    if (buffer_ == nullptr || index < 0 || index >= count()) {
        return {};
    }
    return std::u16string_view(buffer_.get(), WriteEntry(index, buffer_.get()));
}

HeldEntries::HeldEntries(const ReportText& report)
    : ReportEntries(report.tab_stops), text_(JoinReport(report)) {
    starts_.push_back(0);
    for (size_t at = 0; at < text_.size(); ++at) {
        if (text_[at] == u'\n' && at + 1 < text_.size()) {
            starts_.push_back(at + 1);
        }
    }
    if (!text_.empty()) {
        starts_.push_back(text_.size());
    }
}

std::u16string_view HeldEntries::Entry(int32_t index) {
    if (index < 0 || index >= count()) {
        return {};
    }
    const size_t from = starts_[static_cast<size_t>(index)];
    return std::u16string_view(text_).substr(from, starts_[static_cast<size_t>(index) + 1] - from);
}

namespace {

class EntryStream : public ReportStream {
  public:
    explicit EntryStream(std::unique_ptr<WrittenEntries> entries)
        : ReportStream(entries->tab_stops()), entries_(std::move(entries)) {}

  protected:
    size_t WriteLine(char16_t* out) override {
        if (next_ >= entries_->count()) {
            return 0;
        }
        const std::u16string_view entry = entries_->Entry(next_++);
        std::memcpy(out, entry.data(), entry.size() * sizeof(char16_t));
        return entry.size();
    }

  private:
    std::unique_ptr<WrittenEntries> entries_;
    int32_t next_ = 0;
};

}  // namespace

std::unique_ptr<ReportStream> StreamEntries(std::unique_ptr<WrittenEntries> entries) {
    if (entries == nullptr || !entries->ok()) {
        return nullptr;
    }
    std::unique_ptr<EntryStream> stream;
    try {
        stream = std::make_unique<EntryStream>(std::move(entries));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!stream->ok()) {
        return nullptr;
    }
    return stream;
}
