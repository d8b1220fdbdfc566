// The text of one report: made line by line and handed out in chunks that the report control
// can take one at a time, or kept whole.
#include "reports/report_text.h"

#include <cstring>
#include <new>
#include <utility>

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
        } else if (used != 0 && used + length >= kReportChunkUnits) {
            carried_from_ = used;
            carried_units_ = length;
            break;
        } else {
            used += length;
        }
    }
    return std::u16string_view(chunk, used);
}

void CollectReport(ReportStream& stream, ReportText* report) {
    report->tab_stops = stream.tab_stops();
    report->chunks.clear();
    for (std::u16string_view chunk = stream.NextChunk(); !chunk.empty();
         chunk = stream.NextChunk()) {
        report->chunks.emplace_back(chunk);
    }
}

void ReportWriter::Append(std::u16string_view piece) {
    if (report_->chunks.empty() ||
        report_->chunks.back().size() + piece.size() >= kReportChunkUnits) {
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
