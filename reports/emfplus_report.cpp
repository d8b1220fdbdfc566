// The EMF+ report: one line per EMF+ record and per comment of other data, made on demand from
// an index of the comment records, as a stream or one line at a time.
#include "reports/emfplus_report.h"

#include <algorithm>
#include <new>
#include <optional>

#include "emfplus/emfplus_names.h"

namespace {

// The longest name: "Unknown(0xXXXX)", a public comment's name, "(unreadable)".
constexpr size_t kNameUnits = 64;

// The note that ends the lines of a comment whose walk stopped at a broken record.
void DescribeBrokenWalk(const EmfPlusWalker& walker, WideText& out) {
    const uint32_t at = walker.end_offset();
    const uint32_t left = walker.bytes_left();
    switch (walker.end()) {
        case WalkEnd::kShortHeader:
            out.Print(u"%u bytes at byte %u are too few for a record head: not read", left, at);
            return;
        case WalkEnd::kSizeTooSmall:
            out.Print(u"Size %u at byte %u is below 12", walker.bad_size(), at);
            break;
        case WalkEnd::kSizeUnaligned:
            out.Print(u"Size %u at byte %u is not a multiple of 4", walker.bad_size(), at);
            break;
        case WalkEnd::kSizePastData:
            out.Print(u"Size %u at byte %u runs past the comment's data", walker.bad_size(), at);
            break;
        case WalkEnd::kComplete:
            return;
    }
    out.Print(u": the last %u bytes of the comment are not read", left);
}

}  // namespace

EmfPlusCursor::EmfPlusCursor(const EmfPlusIndex& index, size_t host)
    : index_(index),
      record_(index.store().RecordAt(index.hosts()[host].record)),
      record_index_(index.hosts()[host].record),
      kind_(ClassifyComment(record_)),
      walker_(record_),
      split_(index.hosts()[host].split) {}

bool EmfPlusCursor::Next(EmfPlusLineInfo* info, WideText* name, WideText* fields) {
    if (done_) {
        return false;
    }
    *info = EmfPlusLineInfo{};
    info->record = record_index_;
    RecordReader host(record_);
    if (kind_ != CommentKind::kEmfPlus) {
        done_ = true;
        info->type = static_cast<int32_t>(kEmrGdiComment);
        info->size = RecordSizeField(record_);
        info->data_size = host.Has(8, 4) ? host.U32(8) : 0;
        if (name != nullptr && fields != nullptr) {
            DecodeCommentFields(record_, *name, *fields);
        }
        return true;
    }
    EmfPlusRecordRef record;
    if (walker_.Next(&record)) {
        info->place = place_++;
        info->type = record.type;
        info->flags = record.flags;
        info->size = record.size;
        info->data_size = record.data_size;
        ObjectPart part;
        const bool decode = name != nullptr && fields != nullptr;
        if (record.type == kEmfPlusObject) {
            const ObjectPartPlace place = split_.Advance(record);
            const SplitObject* object = index_.split_objects().Find(place.slot);
            part.part = place.part;
            if (part.part > 0 && object != nullptr) {
                part.parts = object->parts;
                part.bytes = object->bytes;
                part.consistent = object->consistent;
                // The first part is decoded as the whole object; built only for its line.
                if (decode && part.part == 1 &&
                    index_.split_objects().Reassemble(place.slot, whole_)) {
                    part.whole = RecordView{whole_.data(), static_cast<uint32_t>(whole_.size())};
                }
            }
        }
        if (decode) {
            NameEmfPlusRecord(record.type, *name);
            DecodeEmfPlusFields(record, part, *fields);
        }
        return true;
    }
    done_ = true;
    if (walker_.end() == WalkEnd::kComplete) {
        return false;
    }
    info->place = place_;
    if (name != nullptr && fields != nullptr) {
        name->Clear();
        name->Append(u"(unreadable)");
        fields->Clear();
        DescribeBrokenWalk(walker_, *fields);
    }
    return true;
}

EmfPlusIndex::EmfPlusIndex(const RecordStore& store) : store_(store) {
    for (int32_t i = 0; i < store.count(); ++i) {
        const RecordView record = store.RecordAt(i);
        const CommentKind kind = ClassifyComment(record);
        if (kind == CommentKind::kNotComment) {
            continue;
        }
        EmfPlusHost host;
        host.record = i;
        host.first_line = lines_;
        host.split = split_objects_.tracker();
        if (kind == CommentKind::kEmfPlus) {
            EmfPlusWalker walker(record);
            EmfPlusRecordRef plus;
            while (walker.Next(&plus)) {
                ++host.lines;
                ++emfplus_records_;
                if (plus.type == kEmfPlusObject) {
                    split_objects_.Add(plus);
                }
            }
            if (walker.end() != WalkEnd::kComplete) {
                ++host.lines;
            }
        } else {
            host.lines = 1;
        }
        if (host.lines > 0) {
            lines_ += host.lines;
            hosts_.push_back(host);
        }
    }
}

int64_t EmfPlusIndex::HostOf(int32_t record) const {
    const auto it = std::lower_bound(
        hosts_.begin(), hosts_.end(), record,
        [](const EmfPlusHost& host, int32_t value) { return host.record < value; });
    if (it == hosts_.end() || it->record != record) {
        return -1;
    }
    return it - hosts_.begin();
}

size_t EmfPlusIndex::HostOfLine(int64_t line) const {
    const auto it = std::upper_bound(
        hosts_.begin(), hosts_.end(), line,
        [](int64_t value, const EmfPlusHost& host) { return value < host.first_line; });
    return it == hosts_.begin() ? 0 : static_cast<size_t>(it - hosts_.begin() - 1);
}

void EmfPlusIndex::WriteLine(int64_t line, WideText& out) const {
    out.Clear();
    if (!has_lines()) {
        if (line == 0) {
            out.Append(kNoEmfPlusLine);
        }
        return;
    }
    if (line < 0 || line >= lines_) {
        return;
    }
    const size_t host = HostOfLine(line);
    EmfPlusCursor cursor(*this, host);
    EmfPlusLineInfo info;
    for (int64_t skip = line - hosts_[host].first_line; skip > 0; --skip) {
        cursor.Next(&info, nullptr, nullptr);
    }
    FixedWideText<kNameUnits> name;
    FixedWideText<kReportLineUnits> fields;
    if (cursor.Next(&info, &name, &fields)) {
        WriteEmfPlusLine(info, name.view(), fields.view(), out);
    }
}

void WriteEmfPlusLine(const EmfPlusLineInfo& info, std::u16string_view name,
                      std::u16string_view fields, WideText& out) {
    if (info.place >= 0) {
        out.Print(u"%d.%d\t", info.record, info.place);
    } else {
        out.Print(u"%d\t", info.record);
    }
    out.Append(name);
    out.Append(u'\t');
    out.Append(fields);
}

namespace {

// The report's lines as entries. Lines are asked for in order far more often than not (the
// view's index pass, painting, copying, finding), so the cursor of the last line made carries on
// to the next line instead of walking its comment again from the start.
class EmfPlusEntries : public WrittenEntries {
  public:
    explicit EmfPlusEntries(const RecordStore& store) : WrittenEntries({60, 200}), index_(store) {}

    int32_t count() const override {
        return static_cast<int32_t>(std::min<int64_t>(index_.line_count(), INT32_MAX));
    }

    int32_t RecordOf(int32_t index) const override {
        if (!index_.has_lines() || index < 0 || index >= count()) {
            return -1;
        }
        return index_.hosts()[index_.HostOfLine(index)].record;
    }

    int32_t PlaceOf(int32_t index) const override {
        if (!index_.has_lines() || index < 0 || index >= count()) {
            return -1;
        }
        const size_t host = index_.HostOfLine(index);
        EmfPlusCursor cursor(index_, host);
        EmfPlusLineInfo info;
        for (int64_t line = index_.hosts()[host].first_line; line <= index; ++line) {
            if (!cursor.Next(&info, nullptr, nullptr)) {
                return -1;
            }
        }
        return info.place;
    }

  protected:
    size_t WriteEntry(int32_t index, char16_t* out) const override {
        // Room for the line end after the longest line.
        WideText text(out, kReportLineUnits - 2);
        if (!index_.has_lines()) {
            text.Append(kNoEmfPlusLine);
        } else {
            const size_t host = index_.HostOfLine(index);
            if (!cursor_ || host != cursor_host_ || index < next_line_) {
                cursor_.emplace(index_, host);
                cursor_host_ = host;
                next_line_ = index_.hosts()[host].first_line;
            }
            EmfPlusLineInfo info;
            for (; next_line_ < index; ++next_line_) {
                cursor_->Next(&info, nullptr, nullptr);
            }
            if (cursor_->Next(&info, &name_, &fields_)) {
                WriteEmfPlusLine(info, name_.view(), fields_.view(), text);
            }
            ++next_line_;
        }
        const size_t length = text.size();
        out[length] = u'\r';
        out[length + 1] = u'\n';
        return length + 2;
    }

  private:
    EmfPlusIndex index_;
    mutable std::optional<EmfPlusCursor> cursor_;
    mutable size_t cursor_host_ = 0;
    mutable int64_t next_line_ = 0;
    mutable FixedWideText<kNameUnits> name_;
    mutable FixedWideText<kReportLineUnits> fields_;
};

}  // namespace

std::unique_ptr<ReportStream> OpenEmfPlusReport(const MetafileDocument& document) {
    return StreamEntries(OpenEmfPlusEntries(document));
}

std::unique_ptr<WrittenEntries> OpenEmfPlusEntries(const MetafileDocument& document) {
    if (!document.IsLoaded()) {
        return nullptr;
    }
    std::unique_ptr<EmfPlusEntries> entries;
    try {
        entries = std::make_unique<EmfPlusEntries>(document.Store());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!entries->ok()) {
        return nullptr;
    }
    return entries;
}
