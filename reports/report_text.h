// The text of one report: made line by line and handed out in chunks that the report control
// can take one at a time, or kept whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
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

// A report made an entry at a time, in any order: its headings, then one entry per record it
// lists. An entry is one or more whole lines, each ending in "\r\n"; joined in order, the
// entries are the report's whole text. The text view shows a report this way, making only the
// entries it needs.
class ReportEntries {
  public:
    explicit ReportEntries(std::vector<int> tab_stops) : tab_stops_(std::move(tab_stops)) {}
    virtual ~ReportEntries() = default;
    ReportEntries(const ReportEntries&) = delete;
    ReportEntries& operator=(const ReportEntries&) = delete;

    const std::vector<int>& tab_stops() const { return tab_stops_; }
    virtual int32_t count() const = 0;
    // The text of entry `index`, 0 <= index < count(); valid until the next call.
    virtual std::u16string_view Entry(int32_t index) = 0;
    // The record whose entry `index` is, to go to from the report; -1 for a heading.
    virtual int32_t RecordOf(int32_t index) const = 0;
    // Where entry `index` stands inside its record, for a report of the records inside records
    // (the EMF+ records of a comment, 0-based); -1 for an entry of a whole record.
    virtual int32_t PlaceOf(int32_t) const { return -1; }
    // The first entry of record `record`, to show the record in the report; -1 when the report
    // has none. Looks through every entry; a report that knows the place answers directly.
    virtual int32_t EntryOfRecord(int32_t record) const;

  private:
    std::vector<int> tab_stops_;
};

// Entries that each write their text into a buffer of kReportLineUnits units.
class WrittenEntries : public ReportEntries {
  public:
    explicit WrittenEntries(std::vector<int> tab_stops);
    // False when the buffer could not be had; Entry then gives nothing.
    bool ok() const { return buffer_ != nullptr; }
    std::u16string_view Entry(int32_t index) final;

  protected:
    // Writes entry `index` at `out`, which has room for kReportLineUnits units; returns its
    // length.
    virtual size_t WriteEntry(int32_t index, char16_t* out) const = 0;

  private:
    std::unique_ptr<char16_t[]> buffer_;
};

// A short report held whole, one entry per line; none of its lines is a record's.
class HeldEntries : public ReportEntries {
  public:
    explicit HeldEntries(const ReportText& report);
    int32_t count() const override { return static_cast<int32_t>(starts_.size()) - 1; }
    std::u16string_view Entry(int32_t index) override;
    int32_t RecordOf(int32_t) const override { return -1; }

  private:
    std::u16string text_;
    std::vector<size_t> starts_;
};

// Hands out every entry of `entries` in order as a stream; nullptr when `entries` is missing or
// either buffer cannot be had. Each entry must fit kReportLineUnits.
std::unique_ptr<ReportStream> StreamEntries(std::unique_ptr<WrittenEntries> entries);

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
