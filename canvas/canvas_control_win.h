// The canvas control's parts as its window procedure calls them, and its window storage.
#pragma once

#include <windows.h>

#include <cstdint>

#include "canvas/player_win.h"

class MetafileDocument;
class RecordFilter;
class StateTracker;

// One canvas window's own state, made at WM_NCCREATE and freed at WM_NCDESTROY; the window's
// GWLP_USERDATA points at it.
struct CanvasWindow {
    MetafileDocument* document = nullptr;
    // The records the playback leaves out; nullptr where none are.
    const RecordFilter* filter = nullptr;
    const Player* player = &kGdiPlayer;
    // The graphics state the overlay shows, or nullptr where none is followed.
    StateTracker* tracker = nullptr;
    // 1 while the next paint is to draw off-screen.
    int buffered_paint = 0;
    // The buttons' tooltips, or nullptr where they could not be made.
    HWND tips = nullptr;
    // The client point last pressed on the picture, which IDM_GOTODRAWER asks about.
    POINT last_press = {-1, -1};
    // What the last paint that showed the current record's drawing told the parent.
    int32_t drew_record = -1;
    int64_t drew_pixels = 0;
    // The EMF+ record of the current record up to which GDI+ plays (0-based); -1 for all of it.
    int32_t place = -1;
    // What the parent was told last of the pixels where GDI and GDI+ differ, and of the record
    // types GDI+ refused (a digest of the list).
    int32_t differences_record = -1;
    int64_t differences_pixels = 0;
    uint64_t refusals_told = 0;
    // The wheel's turn not yet acted on: less than a notch, from wheels that report finer.
    int wheel_remainder = 0;
};

// The window's state, or nullptr before it is made and after it is freed.
CanvasWindow* CanvasWindowOf(HWND window);

// The attached document, or nullptr.
MetafileDocument* AttachedDocument(HWND window);
// The attached document when it holds a loaded metafile, else nullptr.
MetafileDocument* LoadedDocument(HWND window);
int BufferedPaintFlag(HWND window);
void SetBufferedPaintFlag(HWND window, int flag);
// After a change of the view: the next paint draws off-screen; it is asked for at once.
void MarkViewChanged(HWND window);
// Sends WM_NOTIFY with `code` (CVN_INDEXCHANGED, CVN_VIEWCHANGED) to the parent.
void NotifyParent(HWND window, int32_t code);
// Tells the parent that the picture's place or size changed (CVN_VIEWCHANGED).
void NotifyViewChanged(HWND window);

// The record scroll bar.
void AttachDocument(HWND window, MetafileDocument* document, const RecordFilter* filter);
int32_t GetRecordIndex(HWND window);
// Makes `index` the current record, played whole.
void SetRecordIndex(HWND window, int32_t index);
// Makes `index` the current record, played by GDI+ up to its EMF+ record `place` (-1: whole).
void SetRecordPlace(HWND window, int32_t index, int32_t place);
void ScrollRecords(HWND window, int code, int thumb_position);

// Fit, zoom, the buttons' commands and their enabled states.
void FitToWindow(HWND window, int32_t width, int32_t height);
void ExecuteCanvasCommand(HWND window, int32_t command);
void UpdateButtonStates(HWND window);

// Painting.
void PaintCanvas(HWND window);
// Over the picture played up to `index`, when the overlay is on: the clip region in effect
// (the picture outside it dimmed) and the record's bounds, dashed.
void DrawStateOverlay(HDC surface, const CanvasWindow& canvas, const MetafileDocument& document,
                      int32_t index);
void DrawButtonPanel(HDC surface);
// The labels' font for the view's DPI, in which every label fits its button on `surface`; the
// caller deletes it. nullptr when no font can be had.
HFONT CreatePanelFont(HDC surface);

// The buttons' tooltips: made with the window, their rectangles moved with the panel.
void CreatePanelTips(HWND window);
void MovePanelTips(HWND window);
void DestroyPanelTips(HWND window);

// Tells the parent what the current record drew, when it differs from what it was told last.
void NotifyRecordDrew(HWND window, int32_t record, int64_t pixels);
// Tells the parent how many pixels of the picture GDI and GDI+ draw differently (record -1:
// that is no longer shown), when it differs from what it was told last.
void NotifyDifferences(HWND window, int32_t record, int64_t pixels);
// After a paint: tells the parent when the record types GDI+ refused changed; `gdiplus` says
// whether GDI+ drew at all (when not, there are none).
void NotifyGdiPlusRefusals(HWND window, bool gdiplus);
// Makes current the record that drew client point `at` and tells the parent (CVN_DRAWNBY).
void GoToRecordThatDrew(HWND window, POINT at);

// A client point as a point of the left picture: with both renderers shown, a point of the
// right one is moved onto the same place of the left.
POINT InPictureArea(HWND window, POINT at);

// The mouse and the cursor.
void OnLeftButtonDown(HWND window, int32_t x, int32_t y);
void OnMouseMove(HWND window, int32_t x, int32_t y);
void OnLeftButtonUp(HWND window);
void OnRightButtonDown(HWND window, WPARAM key_state);
// A notch steps one record (towards the user: the next), or with Ctrl zooms about the pointer.
void OnMouseWheel(HWND window, WPARAM wparam, LPARAM lparam);
void ChooseCursor(HWND window);
