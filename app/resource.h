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

// Child controls of the main window.
#define IDC_REPORT 500
#define IDC_MODESWITCHER 501
#define IDC_RECORDINDEX 502
#define IDC_CALLTEXT 503
#define IDC_CANVAS 504
#define IDC_FILTERLIST 505
