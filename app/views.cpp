// The main window's views, one row each in tab order: the tab's title, what the view shows and,
// for a view that shows a report, how its report is made.
#include "app/views.h"

#include <iterator>

#include "app/state_view.h"
#include "reports/call_list_report.h"
#include "reports/emfplus_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"

const View kViews[] = {
    {L"The EMF", ViewContent::kPicture, -1, nullptr, false},
    {L"Header", ViewContent::kReport, 1,
     [](const MetafileDocument& document) { return OpenHeaderEntries(document); }, false},
    {L"Records", ViewContent::kReport, 2,
     [](const MetafileDocument& document) -> std::unique_ptr<ReportEntries> {
         return OpenRecordListEntries(document);
     },
     true},
    {L"GDI calls", ViewContent::kReport, 3,
     [](const MetafileDocument& document) -> std::unique_ptr<ReportEntries> {
         return OpenCallListEntries(document, 1);
     },
     true},
    {L"Filter", ViewContent::kFilterList, -1, nullptr, true},
    {L"EMF+", ViewContent::kReport, 5,
     [](const MetafileDocument& document) -> std::unique_ptr<ReportEntries> {
         return OpenEmfPlusEntries(document);
     },
     false},
    {L"State", ViewContent::kReport, kStateReportState,
     [](const MetafileDocument& document) { return OpenStateEntries(document); }, false},
};

const unsigned kViewCount = static_cast<unsigned>(std::size(kViews));
