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
