// The Records view's "Save embedded data...": the pictures, documents and profiles a record
// carries, offered in the view's context menu and written where the person says.
#pragma once

#include <windows.h>

#include "textview/text_view_win.h"

// The items of the context menu's notice: while the Records view is shown, one per payload of
// the menu's record, none for a record without any.
void OfferEmbeddedData(const TextViewMenu* menu);

// One of those items was chosen: asks where to save that payload, proposing
// "NAME-R.ext" beside the metafile, and writes it there. A cancelled dialog writes nothing; a
// file that cannot be written is said in a message box.
void OnEmbeddedDataChosen(HWND main_window, const TextViewMenu* menu);
