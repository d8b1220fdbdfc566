// The "State" view: the graphics state after the current record, one line per item in the
// report control, remade as the current record or the filter changes.
#include "app/state_view.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/app_globals.h"
#include "app/filter_list.h"
#include "app/navigation.h"
#include "app/report_views.h"
#include "app/view_switch.h"
#include "app/views.h"
#include "state/state_text.h"
#include "state/state_tracker.h"

namespace {

// One tracker for the loaded document: its checkpoints make each step a short walk.
StateTracker g_state_tracker;

class StateEntries : public ReportEntries {
  public:
    explicit StateEntries(std::vector<StateLine> lines)
        : ReportEntries({}), lines_(std::move(lines)) {}

    int32_t count() const override { return static_cast<int32_t>(lines_.size()); }
    std::u16string_view Entry(int32_t index) override {
        if (index < 0 || index >= count()) {
            return {};
        }
        entry_ = lines_[static_cast<size_t>(index)].text;
        entry_ += u"\r\n";
        return entry_;
    }
    // Headings and items no record set go nowhere.
    int32_t RecordOf(int32_t index) const override {
        if (index < 0 || index >= count()) {
            return -1;
        }
        const int32_t set_by = lines_[static_cast<size_t>(index)].set_by;
        return set_by >= 0 ? set_by : -1;
    }
    // The lines are the state's items, not a record's entries: showing a record selects none.
    int32_t EntryOfRecord(int32_t) const override { return -1; }

  private:
    std::vector<StateLine> lines_;
    std::u16string entry_;
};

}  // namespace

StateTracker* DocumentStateTracker() {
    return &g_state_tracker;
}

void ResetStateTracker() {
    g_state_tracker.Reset(g_document, ListedRecordFilter());
}

std::unique_ptr<ReportEntries> OpenStateEntries(const MetafileDocument& document) {
    if (!document.IsLoaded() || &document != &g_document) {
        return nullptr;
    }
    const GraphicsState* state = g_state_tracker.StateAt(g_current_record);
    if (state == nullptr) {
        return nullptr;
    }
    try {
        std::vector<StateLine> lines;
        if (!StateText(*state, g_state_tracker.PathOpenAtEnd(), &lines)) {
            return nullptr;
        }
        return std::make_unique<StateEntries>(std::move(lines));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void StateViewFollow(HWND main_window) {
    const bool shown = g_view_mode >= 0 && static_cast<unsigned>(g_view_mode) < kViewCount &&
                       kViews[g_view_mode].report_state == kStateReportState;
    if (g_report_state != kStateReportState && !shown) {
        return;
    }
    // The control's text is the state of another record: it is out of date from here.
    g_report_state = -1;
    if (shown) {
        BuildReportView(main_window, static_cast<unsigned>(g_view_mode));
    }
}
