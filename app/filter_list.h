// The filter list: one check box per drawing record; a cleared box keeps that record out of
// the canvas's playback. The list holds no rows of its own: it asks for the texts and boxes of
// the rows it shows, and the boxes are the bits of the record filter.
#pragma once

#include <windows.h>

#include <cstdint>

#include "document/record_filter.h"

// Which records are switched off, for the loaded document; reset by every fill.
extern RecordFilter g_record_filter;

// Creates the hidden filter list (control 505) in the main window with its two columns; nullptr
// when it cannot be created.
HWND CreateFilterList(HWND main_window, HINSTANCE instance);

// Gives the list one checked row per drawing record of the loaded document. 1 when filled;
// 0 when nothing is loaded or the list does not exist.
int FillFilterList(HWND main_window);

// Focuses, selects and scrolls to the row of record `record` alone; the header record and the
// last record have no row, and then no row is focused or selected.
void ShowRecordInFilterList(HWND list, int32_t record);

// WM_NOTIFY from the list: its rows' texts and boxes; the answer to the notification.
LRESULT OnFilterListNotify(const NMHDR* header);

// WM_CONTEXTMENU from the list at screen point `at` (-1 from the keyboard): check all, clear
// all, or switch every record of one type off or on.
void ShowFilterListMenu(HWND list, LPARAM at);

// The filter the canvas's playback is given: the record filter, which holds no records while
// the list has not been filled or is gone.
const RecordFilter* ListedRecordFilter();

// 1 when at least one record is switched off, else 0.
int AnyRecordUnchecked();

// Non-zero when the canvas is to play record `record_index` of the loaded document.
int IsRecordPlayed(uint32_t record_index);
