// The call list: every drawing record as its numbered call text, with parameter blocks.
#include "reports/call_list_report.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "calls/call_text.h"

namespace {

constexpr size_t kNumberUnits = 16;
static_assert(kNumberUnits + kCallTextUnits <= kReportLineUnits);

// The call list's tab stops, which the call text of one record keeps, so that its parameter
// blocks stand as they do in the list.
const std::vector<int> kCallTabStops = {30, 160, 200};

// The heading's two entries, then one entry per record but the header and the end-of-file
// record: its number, a tab, its call text (which may run over several lines) and "\r\n".
class CallListEntries : public WrittenEntries {
  public:
    explicit CallListEntries(const MetafileDocument& document)
        : WrittenEntries(kCallTabStops), document_(document) {}

    // The header and the end-of-file record are not calls; a store of fewer than two records
    // holds none.
    int32_t count() const override {
        const int32_t records = document_.Store().count();
        return records >= 2 ? records : 2;
    }
    int32_t RecordOf(int32_t index) const override {
        return index >= 2 && index < count() ? index - 1 : -1;
    }
    int32_t EntryOfRecord(int32_t record) const override {
        return record >= 1 && record <= count() - 2 ? record + 1 : -1;
    }

  protected:
    size_t WriteEntry(int32_t index, char16_t* out) const override {
        const int32_t records = document_.Store().count();
        WideText text(out, kReportLineUnits);
        if (index == 0) {
            text.Append(u"\r\nEMF GDI Calls \r\n\r\n");
        } else if (index == 1) {
            text.Print(u"Number of Calls: %d\r\n\r\n", records >= 2 ? records - 2 : 0);
        } else if (index < count()) {
            return WriteCallEntry(index - 1, out);
        }
        return text.size();
    }

  private:
    // The call text is built in place, after its number, in a text of the call-text size.
    size_t WriteCallEntry(int32_t index, char16_t* out) const {
        WideText number(out, kNumberUnits);
        number.Print(u"%d\t", index);
        size_t length = number.size();
        WideText call(out + length, kCallTextUnits);
        BuildCallText(document_.RecordAt(index), call);
        length += call.size();
        out[length++] = u'\r';
        out[length++] = u'\n';
        return length;
    }

    const MetafileDocument& document_;
};

// One record's verbose call text as one entry, made whole when it is opened: the verbose flag
// the other views read stays as it was, and the text no longer depends on it.
class CallTextEntry : public ReportEntries {
  public:
    CallTextEntry(int32_t record, std::u16string text)
        : ReportEntries(kCallTabStops), record_(record), text_(std::move(text)) {}

    int32_t count() const override { return 1; }
    std::u16string_view Entry(int32_t index) override {
        return index == 0 ? std::u16string_view(text_) : std::u16string_view();
    }
    int32_t RecordOf(int32_t index) const override { return index == 0 ? record_ : -1; }
    int32_t EntryOfRecord(int32_t record) const override { return record == record_ ? 0 : -1; }

  private:
    int32_t record_;
    std::u16string text_;
};

}  // namespace

std::unique_ptr<ReportEntries> OpenCallTextEntries(const MetafileDocument& document,
                                                   int32_t record) {
    const RecordView view = document.RecordAt(record);
    if (!view) {
        return nullptr;
    }
    try {
        std::u16string text(kCallTextUnits + 2, u'\0');
        WideText call(text.data(), kCallTextUnits);
        const int verbose = VerboseFlag();
        SetVerboseFlag(1);
        BuildCallText(view, call);
        SetVerboseFlag(verbose);
        size_t length = call.size();
        // Every line ends in a break; a text that ends in one already gets no empty line.
        if (length == 0 || text[length - 1] != u'\n') {
            text[length++] = u'\r';
            text[length++] = u'\n';
        }
        text.resize(length);
        return std::make_unique<CallTextEntry>(record, std::move(text));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

std::unique_ptr<ReportStream> OpenCallList(const MetafileDocument& document, int verbose) {
    return StreamEntries(OpenCallListEntries(document, verbose));
}

std::unique_ptr<WrittenEntries> OpenCallListEntries(const MetafileDocument& document, int verbose) {
    if (!document.IsLoaded()) {
        return nullptr;
    }
    std::unique_ptr<CallListEntries> entries;
    try {
        entries = std::make_unique<CallListEntries>(document);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!entries->ok()) {
        return nullptr;
    }
    SetVerboseFlag(verbose);
    return entries;
}

int BuildCallListText(const MetafileDocument& document, ReportText* report, int verbose) {
    std::unique_ptr<ReportStream> stream = OpenCallList(document, verbose);
    if (stream == nullptr) {
        return 0;
    }
    return CollectReport(*stream, report);
}
