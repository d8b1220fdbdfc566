// The main window: its class, its window procedure and its shutdown.
#pragma once

#include <windows.h>

// The application title (string 103) and the main window's class name (string 109).
extern wchar_t g_app_title[100];
extern wchar_t g_window_class_name[100];
// Kept when the main window is created; the children and the About box come from it.
extern HINSTANCE g_instance;
// Released when the main window is destroyed.
extern HFONT g_shared_font;

// Loads the two strings, initialises the common controls and registers the main window's
// class, the canvas's class and the text view's class. Failed registrations show up when the
// windows are created.
void PrepareMainWindow(HINSTANCE instance);

// Keeps the instance and creates the main window with its children; nullptr on failure.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
