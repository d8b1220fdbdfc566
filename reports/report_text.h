// The text of one report, held in chunks that the report control can take one at a time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A chunk always holds fewer units than this; chunks break only between lines.
inline constexpr size_t kReportChunkUnits = 0x7FFFF;

struct ReportText {
    // Tab stops of the report control, in dialog units.
    std::vector<int> tab_stops;
    // The report's text, in order; joined, they are the whole text.
    std::vector<std::u16string> chunks;
};

// Appends pieces of a report to its chunks: a piece that would make the current chunk reach
// kReportChunkUnits starts a new chunk.
class ReportWriter {
  public:
    explicit ReportWriter(ReportText* report) : report_(report) {}
    void Append(std::u16string_view piece);

  private:
    ReportText* report_;
};

// The whole text of a report.
std::u16string JoinReport(const ReportText& report);
