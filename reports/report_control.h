// Filling the report control (the rich edit shared by the three text views) with a report.
#pragma once

#include <windows.h>

#include <vector>

#include "reports/report_text.h"

// Which report the report control holds: -1 none, 1 header, 2 record list, 3 call list.
extern int g_report_state;

// Each builds its report into the main window's report control unless the control holds it
// already. 1 on success or when it is already shown; 0 when nothing is loaded, the control
// is missing or the control refused the text.
int BuildHeaderReport(HWND main_window);
int BuildRecordList(HWND main_window);
int BuildCallList(HWND main_window);

// Replace the control's selection with the whole text of `report`, or of what `stream` makes.
// 1 when the control took it.
int InsertReportText(HWND control, const ReportText& report);
int InsertReportStream(HWND control, ReportStream& stream);

// Empties the main window's report control, sets the report's tab stops and its character
// format, and returns the control.
HWND ResetReportControl(HWND main_window, const std::vector<int>& tab_stops);

// Gives the control's whole text the reports' format: 8.75-point "Courier New", not bold.
void FormatReportControl(HWND control);
