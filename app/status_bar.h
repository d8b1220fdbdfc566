// The status bar at the foot of the main window: the current record, its type and offset, the
// zoom, the picture's size and the damage notice of the loaded file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "text/wide_text.h"

// Creates the status bar (control 506) with its size grip; nullptr when it cannot be created.
HWND CreateStatusBar(HWND main_window);

// Lets the status bar take its place at the bottom for the main window's new size, sets its
// parts' widths for the window's DPI and returns its height; 0 without a status bar.
int PlaceStatusBar(HWND main_window);

// Shows what the status bar says about the loaded file and the current record.
void UpdateStatusBar(HWND main_window);

// The answer to something the user asked (which record drew a point), shown in the last part
// before the damage notice until the current record next changes.
void SetStatusAnswer(HWND main_window, std::u16string_view answer);
void ClearStatusAnswer();
// The answer to the question which record drew a point: `record`, or -1 for none.
void ShowDrawnBy(HWND main_window, int32_t record);
// What record `record` drew: `pixels` of the picture changed, -1 for a record switched off;
// record -1 once that is no longer shown.
void ShowRecordDrew(HWND main_window, int32_t record, int64_t pixels);
// Where GDI and GDI+ differ at record `record`: `pixels` of the picture; record -1 once that is
// no longer shown.
void ShowDifferences(HWND main_window, int32_t record, int64_t pixels);
