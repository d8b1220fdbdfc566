// The text views: each report shown in the report control (the text view shared by them),
// built only when the control does not hold it already.
#include "app/report_views.h"

#include <memory>

#include "app/app_globals.h"
#include "app/resource.h"
#include "app/wait_cursor.h"
#include "reports/call_list_report.h"
#include "reports/emfplus_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "textview/text_view_win.h"

int g_report_state = -1;

namespace {

// A view that shows a report: its mode, and how its report's entries are made for a loaded
// document. A report of a further view is one more row.
struct ReportView {
    unsigned mode;
    std::unique_ptr<ReportEntries> (*open)(const MetafileDocument& document);
};

const ReportView kReportViews[] = {
    {1, [](const MetafileDocument& document) { return OpenHeaderEntries(document); }},
    {2,
     [](const MetafileDocument& document) -> std::unique_ptr<ReportEntries> {
         return OpenRecordListEntries(document);
     }},
    {3,
     [](const MetafileDocument& document) -> std::unique_ptr<ReportEntries> {
         return OpenCallListEntries(document, 1);
     }},
    {5,
     [](const MetafileDocument& document) -> std::unique_ptr<ReportEntries> {
         return OpenEmfPlusEntries(document);
     }},
};

const ReportView* ViewOfMode(unsigned mode) {
    for (const ReportView& view : kReportViews) {
        if (view.mode == mode) {
            return &view;
        }
    }
    return nullptr;
}

}  // namespace

bool IsReportView(unsigned mode) {
    return ViewOfMode(mode) != nullptr;
}

int BuildReportView(HWND main_window, unsigned mode) {
    const ReportView* view = ViewOfMode(mode);
    if (view == nullptr || !g_document.IsLoaded()) {
        return 0;
    }
    if (g_report_state == static_cast<int>(mode)) {
        return 1;
    }
    HWND control = GetDlgItem(main_window, IDC_REPORT);
    if (control == nullptr) {
        return 0;
    }
    // The control holds no report from here until the new one is in place.
    g_report_state = -1;
    WaitCursor wait;
    std::unique_ptr<ReportEntries> entries = view->open(g_document);
    const bool made = entries != nullptr;
    SetTextViewSource(control, std::move(entries));
    if (!made) {
        return 0;
    }
    g_report_state = static_cast<int>(mode);
    return 1;
}

void ForgetReport(HWND main_window) {
    g_report_state = -1;
    HWND control = GetDlgItem(main_window, IDC_REPORT);
    if (control != nullptr) {
        SetTextViewSource(control, nullptr);
    }
}

int BuildHeaderReport(HWND main_window) {
    return BuildReportView(main_window, 1);
}

int BuildRecordList(HWND main_window) {
    return BuildReportView(main_window, 2);
}

int BuildCallList(HWND main_window) {
    return BuildReportView(main_window, 3);
}
