// The canvas's message interface: its private messages and its notification code.
#pragma once

#include <cstdint>

// Sent by the message loop to every child of the main window once the queue has drained
// after a paint.
inline constexpr uint32_t UWM_IDLEREFRESH = 0x0401;
// Returns the current record index (the record scroll bar's position).
inline constexpr uint32_t CVM_GETINDEX = 0x5001;
// wParam: the new current record index.
inline constexpr uint32_t CVM_SETINDEX = 0x5002;
// wParam: the MetafileDocument to show; lParam: the RecordFilter of the records its playback
// leaves out, or 0 where none are.
inline constexpr uint32_t CVM_SETDOCUMENT = 0x5003;
// wParam: the StateTracker that follows the attached document and its filter, which the
// overlay asks for the state at the current record; 0 for none.
inline constexpr uint32_t CVM_SETSTATETRACKER = 0x5004;
// wParam: the Player that draws the picture (kGdiPlayer, the one at start, for 0).
inline constexpr uint32_t CVM_SETPLAYER = 0x5005;
// wParam: the new current record index; lParam: the EMF+ record of it up to which GDI+ plays
// (0-based, as the EMF+ view numbers them), or -1 for the whole record.
inline constexpr uint32_t CVM_SETPLACE = 0x5006;
// Returns the EMF+ record of the current record up to which GDI+ plays, or -1 for all of it.
inline constexpr uint32_t CVM_GETPLACE = 0x5007;
// WM_NOTIFY code sent to the parent when the record scroll bar moved.
inline constexpr int32_t CVN_INDEXCHANGED = -5001;
// WM_NOTIFY code sent to the parent once a double-click or IDM_GOTODRAWER asked which record
// drew a point of the picture; the header is the first member of a CanvasDrawnBy
// (canvas/canvas_window_win.h). The canvas has made that record current before, when there
// was one.
inline constexpr int32_t CVN_DRAWNBY = -5003;
// WM_NOTIFY code sent to the parent after a paint that showed what the current record drew, and
// once when that mode ends; the header is the first member of a CanvasRecordDrew.
inline constexpr int32_t CVN_RECORDDREW = -5004;
// WM_NOTIFY code sent to the parent after a paint that showed where GDI and GDI+ differ, and
// once when that is no longer shown; the header is the first member of a CanvasRecordDrew whose
// pixels are those that differ.
inline constexpr int32_t CVN_DIFFERENCES = -5005;
// WM_NOTIFY code sent to the parent after a paint when the record types GDI+ refused to draw
// changed (LastGdiPlusRefusals in canvas/gdiplus_player_win.h has them).
inline constexpr int32_t CVN_GDIPLUSREFUSED = -5006;
// WM_NOTIFY code sent to the parent when the picture's place or size changed (fit, zoom, pan,
// actual size, a new size of the canvas).
inline constexpr int32_t CVN_VIEWCHANGED = -5002;
