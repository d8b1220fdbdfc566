// The filter list: one check box per drawing record; a cleared box keeps that record out of
// the canvas's playback.
#pragma once

#include <windows.h>

#include <cstdint>

// Creates the hidden filter list (control 505) in the main window with its two columns and
// keeps its handle for the two queries; nullptr when it cannot be created.
HWND CreateFilterList(HWND main_window, HINSTANCE instance);

// Fills the list with one checked row per drawing record of the loaded document, in one-line
// form. 1 when filled; 0 when nothing is loaded or the list does not exist.
int FillFilterList(HWND main_window);

// 1 when at least one row is unchecked, else 0.
int AnyRecordUnchecked();

// Non-zero when the canvas is to play record `record_index`.
int IsRecordPlayed(uint32_t record_index);
