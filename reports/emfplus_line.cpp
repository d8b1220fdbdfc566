#include "reports/emfplus_line.h"

#include <new>
#include <string>

#include "reports/emfplus_report.h"

namespace {

class OneLine : public ReportEntries {
  public:
    OneLine(std::u16string text, int32_t record, int32_t place)
        : ReportEntries({60, 200}), text_(std::move(text)), record_(record), place_(place) {}
    int32_t count() const override { return 1; }
    std::u16string_view Entry(int32_t) override { return text_; }
    int32_t RecordOf(int32_t) const override { return record_; }
    int32_t PlaceOf(int32_t) const override { return place_; }

  private:
    std::u16string text_;
    int32_t record_;
    int32_t place_;
};

// The index of the document last asked about.
struct KeptIndex {
    const MetafileDocument* document = nullptr;
    uint32_t serial = 0;
    std::unique_ptr<EmfPlusIndex> index;
};

KeptIndex g_kept;

}  // namespace

std::unique_ptr<ReportEntries> OpenEmfPlusLineEntries(const MetafileDocument& document,
                                                      int32_t record, int32_t place) {
    if (!document.IsLoaded() || place < 0) {
        return nullptr;
    }
    try {
        if (g_kept.document != &document || g_kept.serial != document.Serial() || !g_kept.index) {
            g_kept.index.reset();
            g_kept.index = std::make_unique<EmfPlusIndex>(document.Store());
            g_kept.document = &document;
            g_kept.serial = document.Serial();
        }
        const EmfPlusIndex& index = *g_kept.index;
        const int64_t host = index.HostOf(record);
        if (host < 0) {
            return nullptr;
        }
        EmfPlusCursor cursor(index, static_cast<size_t>(host));
        EmfPlusLineInfo info;
        for (int64_t line = index.hosts()[size_t(host)].first_line;
             cursor.Next(&info, nullptr, nullptr); ++line) {
            if (info.place == place) {
                FixedWideText<kReportLineUnits> text;
                index.WriteLine(line, text);
                std::u16string entry(text.view());
                entry += u"\r\n";
                return std::make_unique<OneLine>(std::move(entry), record, place);
            }
        }
    } catch (const std::bad_alloc&) {
        g_kept = KeptIndex{};
    }
    return nullptr;
}
