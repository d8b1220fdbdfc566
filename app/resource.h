// Identifiers of the program's resources, commands and child controls (read by the resource
// compiler as well as by the code).
#pragma once

// The canvas's button commands and its hand cursor.
#include "canvas/canvas_commands.h"

// Strings, menu, accelerators, dialog and icons.
#define IDS_APP_TITLE 103
#define IDC_ORVELLA 109
#define IDD_ABOUTBOX 103
#define IDI_ORVELLA 107
#define IDI_SMALL 108
#define IDC_ABOUT_TEXT 1000
#define IDC_ABOUT_ICON 1001

// Commands.
#define IDM_ABOUT 113
#define IDM_EXIT 114
// Edit: the focused text view's copy, select all and find.
#define IDM_COPY 124
#define IDM_SELECTALL 125
#define IDM_FIND 126
#define IDM_FINDNEXT 127
#define IDM_FINDPREVIOUS 128
// View: the next and the previous view, as Ctrl+Tab and Ctrl+Shift+Tab; then one command per
// view in tab order, IDM_VIEW_FIRST for the first (Ctrl+1 to Ctrl+7).
#define IDM_NEXTVIEW 133
#define IDM_PREVIOUSVIEW 134
#define IDM_VIEW_FIRST 140

// Child controls of the main window.
#define IDC_REPORT 500
#define IDC_MODESWITCHER 501
#define IDC_RECORDINDEX 502
#define IDC_CALLTEXT 503
#define IDC_CANVAS 504
#define IDC_FILTERLIST 505
#define IDC_STATUSBAR 506
