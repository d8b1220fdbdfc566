// The text views: each report shown in the report control (the text view shared by them),
// built only when the control does not hold it already.
#pragma once

#include <windows.h>

// Which report the report control holds: -1 none, else the report state of the view it is the
// report of (1 header, 2 record list, 3 call list, 5 EMF+ records, 7 the state after the current
// record).
extern int g_report_state;

// Whether view `mode` shows a report in the report control.
bool IsReportView(unsigned mode);

// Shows the report of view `mode` in the main window's report control unless the control holds
// it already. 1 on success or when it is already shown; 0 when nothing is loaded, the control
// is missing, `mode` has no report or the report cannot be made (the control is then empty and
// the report state -1).
int BuildReportView(HWND main_window, unsigned mode);

// Empties the report control and sets the report state to -1: its report was made from a
// document that is gone.
void ForgetReport(HWND main_window);
