// The text of one report, held in chunks that the report control can take one at a time.
#include "reports/report_text.h"

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
