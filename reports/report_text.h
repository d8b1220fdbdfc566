// The text of one report: made line by line and handed out in chunks that the report control
// can take one at a time, or kept whole.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A chunk always holds fewer units than this; chunks break only between lines.
inline constexpr size_t kReportChunkUnits = 0x7FFFF;
// The longest line of any report, in UTF-16 units: a call text of the longest length (8,191
// units) with its number, a tab and its line break.
inline constexpr size_t kReportLineUnits = 8192 + 16;

struct ReportText {
    // Tab stops of the report control, in dialog units.
    std::vector<int> tab_stops;
    // The report's text, in order; joined, they are the whole text.
    std::vector<std::u16string> chunks;
};

// Makes a report's text a line at a time and hands it out a chunk at a time: a line that would
// make the current chunk reach kReportChunkUnits starts the next one. A long report is never
// held whole: one buffer of a chunk's size serves every chunk.
class ReportStream {
  public:
    explicit ReportStream(std::vector<int> tab_stops);
    virtual ~ReportStream() = default;
    ReportStream(const ReportStream&) = delete;
    ReportStream& operator=(const ReportStream&) = delete;

    // False when the chunk buffer could not be had; the stream then hands out nothing.
    bool ok() const { return buffer_ != nullptr; }
    const std::vector<int>& tab_stops() const { return tab_stops_; }

    // The next chunk, valid until the next call; empty once the whole report was handed out.
    std::u16string_view NextChunk();

  protected:
    // Writes the report's next line at `out`, which has room for kReportLineUnits units, and
    // returns its length; 0 once every line was written.
    virtual size_t WriteLine(char16_t* out) = 0;

  private:
    std::vector<int> tab_stops_;
    std::unique_ptr<char16_t[]> buffer_;
    // A line written that did not fit the chunk before: it opens the next chunk.
    size_t carried_from_ = 0;
    size_t carried_units_ = 0;
    bool finished_ = false;
};

// Takes every chunk of `stream` into `report`, with the stream's tab stops. 1, or 0 and an empty
// report when the memory for the chunks cannot be had.
int CollectReport(ReportStream& stream, ReportText* report);

// Appends pieces of a short report to its chunks, by the rule of ReportStream.
class ReportWriter {
  public:
    explicit ReportWriter(ReportText* report) : report_(report) {}
    void Append(std::u16string_view piece);

  private:
    ReportText* report_;
};

// The whole text of a report.
std::u16string JoinReport(const ReportText& report);
