// The main window's commands: Open, the background colour, the picture copied or saved, and
// the window title.
#pragma once

#include <windows.h>

// The colour dialog's 16 custom colours, kept from one use of the dialog to the next.
extern COLORREF g_custom_colors[16];

// Shows the file dialog over `owner`, starting in the samples folder beside the program.
// 1 when the user chose a file (its path is in `path`), else 0.
int ChooseFile(HWND owner, wchar_t* path, DWORD path_units);

// Command 110: asks for a file and opens it with OpenPath.
void OnOpenCommand(HWND main_window);

// Shows the file at `path` from its last record in "The EMF": 1 when it was opened. A file that
// cannot be opened changes nothing shown, and a message box says why.
int OpenPath(HWND main_window, const wchar_t* path);

// Command 112: asks for the picture's background colour and repaints with it.
void OnBackgroundColorCommand(HWND main_window);

// Puts the picture as shown on the clipboard; a message box says why it could not.
void OnCopyPictureCommand(HWND main_window);

// Asks where to save the picture as shown, proposing the metafile's name with ".png", and
// writes it there as PNG; a message box says why it could not. A cancelled dialog writes
// nothing.
void OnSavePictureCommand(HWND main_window);

// The title becomes "<path> - <application title>". Always 1.
int SetTitle(HWND main_window, const wchar_t* path);
