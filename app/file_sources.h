// Files that come from outside the file dialog: the one the command line names at start, and
// those dropped on the main window.
#pragma once

#include <windows.h>

#include <shellapi.h>

// Posted by the main window's creation. lParam: a command line (program name first) whose
// first argument is the file to open, or 0; with no file named the file dialog opens.
inline constexpr UINT UWM_STARTUP = WM_APP + 0x20;

// The command line the start-up reads, kept for the program's lifetime by the caller; nullptr
// (the default) opens the file dialog at start.
void SetStartUpCommandLine(const wchar_t* command_line);
const wchar_t* StartUpCommandLine();

// UWM_STARTUP: opens the file the command line names, or asks for one.
void OnStartUp(HWND main_window, const wchar_t* command_line);

// WM_DROPFILES: opens the first file dropped and releases the drop.
void OnDropFiles(HWND main_window, HDROP drop);
