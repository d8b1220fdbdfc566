// The canvas's message interface: its private messages and its notification code.
#pragma once

// Sent by the message loop to every child of the main window once the queue has drained
// after a paint.
#define UWM_IDLEREFRESH 0x0401
// Returns the current record index (the record scroll bar's position).
#define CVM_GETINDEX 0x5001
// wParam: the new current record index.
#define CVM_SETINDEX 0x5002
// wParam: the MetafileDocument to show.
#define CVM_SETDOCUMENT 0x5003
// WM_NOTIFY code sent to the parent when the record scroll bar moved.
#define CVN_INDEXCHANGED (-5001)
