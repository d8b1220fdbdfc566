// The ids the canvas sends and loads: its buttons' commands, which are the shell's menu
// commands too, and its hand cursor. Plain definitions, so that the resource compiler reads
// them as well.
#pragma once

#define IDM_OPEN 110
#define IDM_BACKGROUND 112
#define IDM_ZOOMIN 117
#define IDM_ZOOMOUT 118
#define IDM_FITIMAGE 119
#define IDC_PANHAND 120
// The picture's size as its frame gives it on this screen; the picture as shown, copied to the
// clipboard or saved as PNG.
#define IDM_ACTUALSIZE 121
#define IDM_COPYPICTURE 122
#define IDM_SAVEPICTURE 123
// How the picture is drawn: with GDI, with GDI+, or both side by side.
#define IDM_RENDERGDI 130
#define IDM_RENDERGDIPLUS 131
#define IDM_RENDERBOTH 132
// With both drawn: shows or hides, in the GDI picture's place, where the two pictures differ.
#define IDM_SHOWDIFFERENCES 137
// Shows or hides the overlay of the clip region and the current record's bounds.
#define IDM_SHOWOVERLAY 129
// Makes current the record that drew the point last clicked on the picture.
#define IDM_GOTODRAWER 135
// Shows or hides the pixels the current record changed.
#define IDM_SHOWDRAWN 136
