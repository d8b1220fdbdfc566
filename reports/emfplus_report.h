// The EMF+ report: one line per EMF+ record and per comment of other data, made on demand from
// an index of the comment records, as a stream or one line at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "document/metafile_document.h"
#include "emfplus/emfplus_decode.h"
#include "emfplus/split_objects.h"
#include "reports/report_text.h"
#include "text/wide_text.h"

// The one line of a file without EMF+ records or other comments.
inline constexpr char16_t kNoEmfPlusLine[] = u"No EMF+ records or comments in this file.";

// What one line describes, apart from its text.
struct EmfPlusLineInfo {
    int32_t record = -1;  // the host record's index in the store
    int32_t place = -1;   // the EMF+ record's place in its comment; -1 for a comment line
    // The EMF+ record type, or 70 for a comment line; -1 for the note on a broken walk.
    int32_t type = -1;
    int32_t flags = -1;      // the EMF+ record's flags; -1 for other lines
    uint32_t size = 0;       // the EMF+ record's Size, or the comment's nSize
    uint32_t data_size = 0;  // the EMF+ record's DataSize, or the comment's cbData
};

// One comment record that gives lines.
struct EmfPlusHost {
    int32_t record = 0;
    uint32_t lines = 0;
    int64_t first_line = 0;
    SplitObjectTracker split;  // as it stands before the record
};

class EmfPlusIndex;

// Makes the lines of one host record in order.
class EmfPlusCursor {
  public:
    EmfPlusCursor(const EmfPlusIndex& index, size_t host);
    // The next line's facts, and its name and fields when both are given (without them the
    // line is only passed over, cheaply); false after the record's last line.
    bool Next(EmfPlusLineInfo* info, WideText* name, WideText* fields);

  private:
    const EmfPlusIndex& index_;
    RecordView record_;
    int32_t record_index_;
    CommentKind kind_;
    EmfPlusWalker walker_;
    SplitObjectTracker split_;
    // The split object being decoded whole, put back together from its parts.
    std::vector<uint8_t> whole_;
    int32_t place_ = 0;
    bool done_ = false;
};

class EmfPlusIndex {
  public:
    // Walks every comment record of the store once; the store must outlive the index.
    explicit EmfPlusIndex(const RecordStore& store);

    // Lines in all; at least 1: a file without any has the one line kNoEmfPlusLine.
    int64_t line_count() const { return lines_ == 0 ? 1 : lines_; }
    bool has_lines() const { return lines_ > 0; }
    // EMF+ records in all.
    int64_t emfplus_records() const { return emfplus_records_; }
    // The comment records that give lines, in record order.
    const std::vector<EmfPlusHost>& hosts() const { return hosts_; }
    // The position in hosts() of `record`, or -1 when it gives no line.
    int64_t HostOf(int32_t record) const;
    // The host that holds line `line`.
    size_t HostOfLine(int64_t line) const;

    // Replaces `out` with line `line` (0-based) as the text report shows it, without its line
    // end: "R.K<TAB>name<TAB>fields" or "R<TAB>kind<TAB>fields". Empty past the last line.
    void WriteLine(int64_t line, WideText& out) const;

    const RecordStore& store() const { return store_; }
    // The file's objects split over several records.
    const SplitObjects& split_objects() const { return split_objects_; }

  private:
    const RecordStore& store_;
    std::vector<EmfPlusHost> hosts_;
    SplitObjects split_objects_;
    int64_t lines_ = 0;
    int64_t emfplus_records_ = 0;
};

// Writes one line in the text form, without its line end.
void WriteEmfPlusLine(const EmfPlusLineInfo& info, std::u16string_view name,
                      std::u16string_view fields, WideText& out);

// The whole report for the loaded document, a chunk at a time, each line ending in "\r\n";
// nullptr when nothing is loaded or the chunk buffer cannot be had. The document must stay
// loaded while the stream is read.
std::unique_ptr<ReportStream> OpenEmfPlusReport(const MetafileDocument& document);

// The same report as entries of a line each, for the text view; an entry's record is the host
// comment record of its line. nullptr when nothing is loaded or the memory cannot be had. The
// document must stay loaded while the entries are used.
std::unique_ptr<WrittenEntries> OpenEmfPlusEntries(const MetafileDocument& document);
