// The call list: every drawing record as its numbered call text, with parameter blocks.
#include "reports/call_list_report.h"

#include <new>

#include "calls/call_text.h"

namespace {

constexpr size_t kNumberUnits = 16;
static_assert(kNumberUnits + kCallTextUnits <= kReportLineUnits);

// The heading, then one line per record but the header and the end-of-file record: its
// number, a tab, its call text (which may run over several lines) and "\r\n".
class CallListStream : public ReportStream {
  public:
    explicit CallListStream(const MetafileDocument& document)
        : ReportStream({30, 160, 200}), document_(document) {}

  protected:
    size_t WriteLine(char16_t* out) override {
        const int32_t line = next_line_++;
        const int32_t count = document_.Store().count();
        WideText text(out, kReportLineUnits);
        if (line == 0) {
            text.Append(u"\r\nEMF GDI Calls \r\n\r\n");
        } else if (line == 1) {
            // The header and the end-of-file record are not calls; a store of fewer than two
            // records holds none.
            text.Print(u"Number of Calls: %d\r\n\r\n", count >= 2 ? count - 2 : 0);
        } else if (line - 1 < count - 1) {
            return WriteCallLine(line - 1, out);
        }
        return text.size();
    }

  private:
    // The call text is built in place, after its number, in a text of the call-text size.
    size_t WriteCallLine(int32_t index, char16_t* out) const {
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
    int32_t next_line_ = 0;
};

}  // namespace

std::unique_ptr<ReportStream> OpenCallList(const MetafileDocument& document, int verbose) {
    if (!document.IsLoaded()) {
        return nullptr;
    }
    std::unique_ptr<ReportStream> stream;
    try {
        stream = std::make_unique<CallListStream>(document);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (!stream->ok()) {
        return nullptr;
    }
    SetVerboseFlag(verbose);
    return stream;
}

int BuildCallListText(const MetafileDocument& document, ReportText* report, int verbose) {
    std::unique_ptr<ReportStream> stream = OpenCallList(document, verbose);
    if (stream == nullptr) {
        return 0;
    }
    return CollectReport(*stream, report);
}
