// The "State" view: the graphics state after the current record, one line per item in the
// report control, remade as the current record or the filter changes.
#pragma once

#include <windows.h>

#include <memory>

#include "reports/report_text.h"

class MetafileDocument;
class StateTracker;

// The report state of the State view while the report control holds the state of the
// current record under the current filter.
inline constexpr int kStateReportState = 7;

// Follows the loaded document under the filter list's filter again; call after every open and
// every change of the filter.
void ResetStateTracker();
// The one tracker of the loaded document, which the overlay on the picture asks too.
StateTracker* DocumentStateTracker();

// The state after the current record as report entries, one per line; a line's record is the
// record that set its item (-1 for headings and defaults). nullptr when nothing is loaded or
// memory ran out.
std::unique_ptr<ReportEntries> OpenStateEntries(const MetafileDocument& document);

// The current record or the filter changed: the State view's report, when shown, is remade;
// when hidden, it is marked out of date so that switching to the view makes it afresh.
void StateViewFollow(HWND main_window);
