// The keyboard and the menu beyond the navigation keys: the views by command, Tab between the
// parts of "The EMF", the Edit commands sent to a text view, and the menu items that cannot act
// greyed.
#pragma once

#include <windows.h>

// IDM_NEXTVIEW, IDM_PREVIOUSVIEW (wrapping round) and IDM_VIEW_FIRST + i. 1 when `command`
// was one of them.
int OnViewCommand(HWND main_window, UINT command);

// IDM_COPY, IDM_SELECTALL, IDM_FIND, IDM_FINDNEXT, IDM_FINDPREVIOUS, sent on to the text view
// they act in. 1 when `command` was one of them.
int OnEditCommand(HWND main_window, UINT command);

// The text view the Edit commands act in: the focused text view of the main window, else the
// report of the view shown; nullptr when none applies.
HWND EditTarget(HWND main_window);

// WM_INITMENUPOPUP: greys the items of `menu` that cannot act now.
void GreyIdleMenuItems(HWND main_window, HMENU menu);

// Tab and Shift+Tab in "The EMF" move the focus round the picture, the call pane and the
// record-index field. True when `message` was such a key and was taken.
bool MoveFocusOnTab(HWND main_window, const MSG& message);

// Left and Right in the State view step through the records, as in the picture, so that the
// state can be followed record by record; Up, Down and the selection keys stay the text's.
// True when `message` was such a key and was taken.
bool StepFromStateView(HWND main_window, const MSG& message);
