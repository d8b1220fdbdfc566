// The lines of a report as the text view shows them: an index of the report's entries built
// once, from which any line is made on demand; the text between two places, and find.
#include "textview/line_model.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// Where each line of `entry` starts; an entry's last line ends with the entry, break or not.
void LineStarts(std::u16string_view entry, std::vector<size_t>* starts) {
    starts->clear();
    starts->push_back(0);
    for (size_t at = 0; at < entry.size(); ++at) {
        if (entry[at] == u'\n' && at + 1 < entry.size()) {
            starts->push_back(at + 1);
        }
    }
}

std::u16string_view WithoutBreak(std::u16string_view line) {
    if (!line.empty() && line.back() == u'\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == u'\r') {
            line.remove_suffix(1);
        }
    }
    return line;
}

char16_t Folded(char16_t unit) {
    if ((unit >= u'A' && unit <= u'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7)) {
        return static_cast<char16_t>(unit + 0x20);
    }
    return unit;
}

bool WordUnit(char16_t unit) {
    return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'Z') ||
           (unit >= u'a' && unit <= u'z') || unit == u'_' || unit >= 0xC0;
}

bool MatchesAt(std::u16string_view line, size_t at, std::u16string_view what,
               const FindOptions& options) {
    for (size_t i = 0; i < what.size(); ++i) {
        const char16_t a = line[at + i];
        const char16_t b = what[i];
        if (a != b && (options.match_case || Folded(a) != Folded(b))) {
            return false;
        }
    }
    if (options.whole_word) {
        const size_t end = at + what.size();
        if ((at > 0 && WordUnit(line[at - 1])) || (end < line.size() && WordUnit(line[end]))) {
            return false;
        }
    }
    return true;
}

// The first match in `line` starting in [from, to), or the last one when searching up; -1
// for none.
int64_t FindInLine(std::u16string_view line, std::u16string_view what, size_t from, size_t to,
                   const FindOptions& options) {
    if (what.size() > line.size()) {
        return -1;
    }
    to = std::min(to, line.size() - what.size() + 1);
    if (options.down) {
        for (size_t at = from; at < to; ++at) {
            if (MatchesAt(line, at, what, options)) {
                return static_cast<int64_t>(at);
            }
        }
    } else {
        for (size_t at = to; at > from; --at) {
            if (MatchesAt(line, at - 1, what, options)) {
                return static_cast<int64_t>(at - 1);
            }
        }
    }
    return -1;
}

}  // namespace

int TabLayout::NextStop(int x) const {
    for (int stop : stops) {
        if (stop > x) {
            return stop;
        }
    }
    const int step = interval > 0 ? interval : 1;
    return (x / step + 1) * step;
}

int TabLayout::Width(std::u16string_view line) const {
    return XOfColumn(line, static_cast<int32_t>(line.size()));
}

int TabLayout::XOfColumn(std::u16string_view line, int32_t column) const {
    int x = 0;
    const size_t end = std::min(line.size(), static_cast<size_t>(std::max(column, 0)));
    for (size_t i = 0; i < end; ++i) {
        x = line[i] == u'\t' ? NextStop(x) : x + cell;
    }
    return x;
}

int32_t TabLayout::ColumnAtX(std::u16string_view line, int x) const {
    int left = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const int right = line[i] == u'\t' ? NextStop(left) : left + cell;
        if (x < (left + right) / 2) {
            return static_cast<int32_t>(i);
        }
        left = right;
    }
    return static_cast<int32_t>(line.size());
}

void LineModel::Clear() {
    source_.reset();
    first_line_.clear();
    line_count_ = 1;
    text_units_ = 0;
    widest_ = 0;
    current_entry_ = -1;
    current_text_ = {};
}

void LineModel::Build(std::unique_ptr<ReportEntries> source, const TabLayout* layout) {
    Clear();
    if (source == nullptr) {
        return;
    }
    const int32_t count = source->count();
    try {
        first_line_.reserve(static_cast<size_t>(count) + 1);
    } catch (const std::bad_alloc&) {
        // Without the memory for its index the report is not shown: the model stays empty.
        return;
    }
    int64_t lines = 0;
    for (int32_t entry = 0; entry < count; ++entry) {
        first_line_.push_back(static_cast<int32_t>(std::min<int64_t>(lines, INT32_MAX - 1)));
        const std::u16string_view text = source->Entry(entry);
        text_units_ += static_cast<int64_t>(text.size());
        if (layout == nullptr) {
            lines += std::count(text.begin(), text.end(), u'\n');
            if (!text.empty() && text.back() != u'\n') {
                ++lines;
            }
            continue;
        }
        // One pass over the units counts the lines and measures them; a break takes no room.
        int x = 0;
        for (const char16_t unit : text) {
            if (unit == u'\n') {
                ++lines;
                widest_ = std::max(widest_, x);
                x = 0;
            } else if (unit == u'\t') {
                x = layout->NextStop(x);
            } else if (unit != u'\r') {
                x += layout->cell;
            }
        }
        if (!text.empty() && text.back() != u'\n') {
            ++lines;
            widest_ = std::max(widest_, x);
        }
    }
    // Past 2^31 lines the rest of the text is out of reach: the index stops there.
    line_count_ = static_cast<int32_t>(std::min<int64_t>(lines + 1, INT32_MAX));
    first_line_.push_back(line_count_ - 1);
    source_ = std::move(source);
}

const std::vector<int>& LineModel::tab_stops() const {
    static const std::vector<int> none;
    return source_ != nullptr ? source_->tab_stops() : none;
}

int32_t LineModel::LoadEntryOf(int32_t line) {
    if (source_ == nullptr || line < 0 || line >= line_count_ - 1) {
        return -1;
    }
    // The last entry whose first line is at or before `line`; empty entries are skipped.
    const auto after = std::upper_bound(first_line_.begin(), first_line_.end() - 1, line);
    const int32_t entry = static_cast<int32_t>(after - first_line_.begin()) - 1;
    if (entry != current_entry_) {
        current_entry_ = entry;
        current_text_ = source_->Entry(entry);
        LineStarts(current_text_, &current_starts_);
    }
    return entry;
}

std::u16string_view LineModel::LineWithBreak(int32_t line) {
    const int32_t entry = LoadEntryOf(line);
    if (entry < 0) {
        return {};
    }
    const size_t within = static_cast<size_t>(line - first_line_[static_cast<size_t>(entry)]);
    if (within >= current_starts_.size()) {
        return {};
    }
    const size_t from = current_starts_[within];
    const size_t to =
        within + 1 < current_starts_.size() ? current_starts_[within + 1] : current_text_.size();
    return current_text_.substr(from, to - from);
}

std::u16string_view LineModel::Line(int32_t line) {
    return WithoutBreak(LineWithBreak(line));
}

int32_t LineModel::RecordOfLine(int32_t line) const {
    if (source_ == nullptr || line < 0 || line >= line_count_ - 1) {
        return -1;
    }
    const auto after = std::upper_bound(first_line_.begin(), first_line_.end() - 1, line);
    return source_->RecordOf(static_cast<int32_t>(after - first_line_.begin()) - 1);
}

int32_t LineModel::PlaceOfLine(int32_t line) const {
    if (source_ == nullptr || line < 0 || line >= line_count_ - 1) {
        return -1;
    }
    const auto after = std::upper_bound(first_line_.begin(), first_line_.end() - 1, line);
    return source_->PlaceOf(static_cast<int32_t>(after - first_line_.begin()) - 1);
}

bool LineModel::LinesOfRecord(int32_t record, int32_t* first, int32_t* end) const {
    const int32_t entry = source_ != nullptr ? source_->EntryOfRecord(record) : -1;
    if (entry < 0 || static_cast<size_t>(entry) + 1 >= first_line_.size()) {
        return false;
    }
    *first = first_line_[static_cast<size_t>(entry)];
    *end = first_line_[static_cast<size_t>(entry) + 1];
    return *first < *end;
}

TextPos LineModel::Clamp(TextPos at) {
    at.line = std::clamp(at.line, 0, line_count_ - 1);
    at.column = std::clamp(at.column, 0, static_cast<int32_t>(Line(at.line).size()));
    return at;
}

void LineModel::VisitText(TextPos from, TextPos to,
                          const std::function<bool(std::u16string_view)>& piece) {
    from = Clamp(from);
    to = Clamp(to);
    if (to < from) {
        std::swap(from, to);
    }
    for (int32_t line = from.line; line <= to.line; ++line) {
        std::u16string_view text = LineWithBreak(line);
        if (line == to.line) {
            text = text.substr(0, static_cast<size_t>(to.column));
        }
        if (line == from.line) {
            text = text.substr(std::min(text.size(), static_cast<size_t>(from.column)));
        }
        if (!text.empty() && !piece(text)) {
            return;
        }
    }
}

std::u16string LineModel::Text(TextPos from, TextPos to) {
    std::u16string text;
    try {
        VisitText(from, to, [&](std::u16string_view piece) {
            text.append(piece);
            return true;
        });
    } catch (const std::bad_alloc&) {
        return {};
    }
    return text;
}

bool LineModel::Find(std::u16string_view what, TextPos from, const FindOptions& options,
                     TextPos* match_start, TextPos* match_end) {
    if (what.empty() || source_ == nullptr) {
        return false;
    }
    from = Clamp(from);
    // Every line once, from `from`'s line round to it again; that line is searched on its
    // side of `from` first, and on the other side last.
    const int32_t lines = line_count_;
    for (int32_t step = 0; step <= lines; ++step) {
        const int32_t offset = options.down ? step : -step;
        const int32_t line = static_cast<int32_t>(
            ((static_cast<int64_t>(from.line) + offset) % lines + lines) % lines);
        const std::u16string_view text = Line(line);
        size_t begin = 0;
        size_t end = text.size() + 1;
        if (step == 0) {
            (options.down ? begin : end) = static_cast<size_t>(from.column);
        } else if (step == lines) {
            (options.down ? end : begin) = static_cast<size_t>(from.column);
        }
        const int64_t at = FindInLine(text, what, begin, end, options);
        if (at >= 0) {
            *match_start = {line, static_cast<int32_t>(at)};
            *match_end = {line, static_cast<int32_t>(at + static_cast<int64_t>(what.size()))};
            return true;
        }
    }
    return false;
}
