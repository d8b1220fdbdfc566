// The current record: the record index field, the call pane, the navigation keys and
// the notifications of the tab control and the canvas.
#pragma once

#include <windows.h>

#include <cstdint>

// The record up to which the canvas plays and whose call text is shown; 0 at start, the
// last record after each open.
extern int32_t g_current_record;
// The EMF+ record of the current record up to which GDI+ plays (0-based), or -1 for the whole
// record; it goes back to -1 whenever the record changes otherwise.
extern int32_t g_current_place;

// Sends the current record to the canvas. 0 when no document is loaded, else 1.
int PushIndexToCanvas(HWND main_window);
// Shows the current record's number in the record-index field. 0 when the field is missing.
int ShowIndex(HWND main_window);
// Shows the current record's verbose call text in the call pane. 0 when the pane is missing.
int ShowCallText(HWND main_window);
// Moves to record `index`; the record-index field follows only when `update_field` is set.
void SetCurrentRecord(HWND main_window, int32_t index, int update_field);
// Moves to EMF+ record `place` of record `index` (the whole record for -1): the canvas plays up
// to it where GDI+ draws, the call pane shows its EMF+ line and the field the record.
void SetCurrentPlace(HWND main_window, int32_t index, int32_t place);

// Command 502: a number typed into the record-index field moves there, or beeps when it is
// past the last record.
void OnIndexFieldCommand(HWND main_window, HWND field, UINT code);
// WM_KEYDOWN of the main window: the navigation keys drive the canvas's record scroll bar.
void OnNavigationKey(HWND main_window, WPARAM key);
// WM_NOTIFY of the main window: tab selections, the canvas's record changes, the filter
// list's rows and a record chosen in a report, which becomes the current record shown in
// "The EMF". The answer to the notification.
LRESULT OnNotify(HWND main_window, const NMHDR* header);
