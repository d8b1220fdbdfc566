// The lines of a report as the text view shows them: an index of the report's entries built
// once, from which any line is made on demand; the text between two places, and find.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "reports/report_text.h"

// A place in the text: a line, and a column in units of that line's text (its break left
// out). The column may equal the line's length: the place just before its break.
struct TextPos {
    int32_t line = 0;
    int32_t column = 0;
    friend bool operator==(const TextPos&, const TextPos&) = default;
    friend auto operator<=>(const TextPos&, const TextPos&) = default;
};

// Where tabs take a line, in pixels from the text's left edge: each unit is one cell wide, a
// tab goes to the first stop past the place it is at, and past the last stop to the next
// multiple of the default interval.
struct TabLayout {
    int cell = 8;
    std::vector<int> stops;
    int interval = 48;

    int NextStop(int x) const;
    // The width of the line's text.
    int Width(std::u16string_view line) const;
    // The left edge of `column`.
    int XOfColumn(std::u16string_view line, int32_t column) const;
    // The column whose left edge is nearest to `x`.
    int32_t ColumnAtX(std::u16string_view line, int x) const;
};

struct FindOptions {
    bool down = true;
    bool match_case = false;
    bool whole_word = false;
};

class LineModel {
  public:
    // Indexes every entry of `source`, each made once, and keeps the source to make lines
    // from. With a layout, the widest line's width is measured on the way. An empty model
    // holds one empty line, as does a model whose index could not get its memory.
    void Build(std::unique_ptr<ReportEntries> source, const TabLayout* layout = nullptr);
    void Clear();

    bool empty() const { return source_ == nullptr; }
    const std::vector<int>& tab_stops() const;
    // Every entry's lines, and the empty line after the text's last break.
    int32_t line_count() const { return line_count_; }
    int64_t text_units() const { return text_units_; }
    int widest() const { return widest_; }

    // Line `line`'s text without its break; empty past the last line. Valid until the next
    // call to the model.
    std::u16string_view Line(int32_t line);
    // The record whose entry holds `line`; -1 for a heading or past the last line.
    int32_t RecordOfLine(int32_t line) const;
    // The place inside its record of line `line`'s entry (see ReportEntries::PlaceOf), or -1.
    int32_t PlaceOfLine(int32_t line) const;
    // The lines of record `record`'s entry: its first line and the line after its last. False
    // when the report has no entry of that record, or an empty one.
    bool LinesOfRecord(int32_t record, int32_t* first, int32_t* end) const;

    // Hands the text from `from` to `to` (in order) to `piece` a line at a time, breaks
    // included; stops early when `piece` returns false.
    void VisitText(TextPos from, TextPos to, const std::function<bool(std::u16string_view)>& piece);
    // Empty when the memory for the text cannot be had.
    std::u16string Text(TextPos from, TextPos to);
    // The place after the text's last unit.
    TextPos End() const { return {line_count_ - 1, 0}; }
    // `at` moved into the text: its line within the lines, its column within that line.
    TextPos Clamp(TextPos at);

    // The next match of `what` after `from` (or the last one before it when searching up),
    // going round the text's end once; a match lies within one line. False when there is
    // none.
    bool Find(std::u16string_view what, TextPos from, const FindOptions& options,
              TextPos* match_start, TextPos* match_end);

  private:
    // Makes the entry holding `line` current; the entry's index, or -1 past the entries.
    int32_t LoadEntryOf(int32_t line);
    std::u16string_view LineWithBreak(int32_t line);

    std::unique_ptr<ReportEntries> source_;
    // The first line of every entry, and the line count after the last entry.
    std::vector<int32_t> first_line_;
    int32_t line_count_ = 1;
    int64_t text_units_ = 0;
    int widest_ = 0;
    // The entry made last, and where each of its lines starts.
    int32_t current_entry_ = -1;
    std::u16string_view current_text_;
    std::vector<size_t> current_starts_;
};
