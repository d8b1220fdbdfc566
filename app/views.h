// The main window's views, one row each in tab order: the tab's title, what the view shows and,
// for a view that shows a report, how its report is made.
#pragma once

#include <memory>

#include "reports/report_text.h"

class MetafileDocument;

enum class ViewContent {
    kPicture,     // the canvas with the record-index field and the call pane
    kReport,      // a report in the report control
    kFilterList,  // the filter list
};

struct View {
    const wchar_t* title;
    ViewContent content;
    // For a report view, the report state while the report control holds its report (see
    // g_report_state) and the maker of its entries for a loaded document; else -1 and nullptr.
    int report_state;
    std::unique_ptr<ReportEntries> (*make_report)(const MetafileDocument& document);
    // Whether switching to the view shows and selects the current record's entry or row.
    bool follows_record;
};

// The view mode is an index into this table, and so is the tab control's selection.
extern const View kViews[];
extern const unsigned kViewCount;
