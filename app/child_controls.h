// The main window's children: their creation, the shared font and the layout.
#pragma once

#include <windows.h>

// The gap between the canvas and the call pane at 96 DPI: the border the user drags to give
// the pane another height.
inline constexpr int kPaneGap = 5;

// Creates the children in their order (tab control, canvas, record-index field, call pane,
// report control, filter list, status bar), accepts dropped files and posts the start-up. A
// child that cannot be created is left out.
void CreateChildren(HWND main_window);

// Creates the hidden report control (id 500), the text view of the reports; nullptr on
// failure.
HWND CreateReportControl(HWND main_window);

// Places the children for a client area of `width` x `height` at the main window's DPI: the
// status bar at the bottom, the tab control and the views above it; in "The EMF" the canvas
// over the record-index field and the call pane beside it.
void LayOutChildren(HWND main_window, int width, int height);
// The same for the main window's client area as it is.
void LayOutAgain(HWND main_window);

// Gives the call pane `height` pixels, kept between two lines of the shared font and most of
// the area above the tabs, for the rest of the session (0: its default of about five lines),
// and lays the children out again.
void SetCallPaneHeight(HWND main_window, int height);

// Gives the shared "Courier New" font to an edit field, creating the font on first use at the
// DPI of the field's parent.
void SetSharedFont(HWND edit);
// Makes the shared font again at the main window's DPI and gives it to the fields that have it.
void RemakeSharedFont(HWND main_window);
// The height of a line of the shared font.
int SharedFontLineHeight();
