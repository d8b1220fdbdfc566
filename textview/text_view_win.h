// The read-only text view of the reports: a window that shows the lines of a report made on
// demand, with scrolling, selection, copy, find and a step to the record of a line.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "reports/report_text.h"
#include "textview/line_model.h"

inline constexpr wchar_t kTextViewClassName[] = L"OrvellaTextView";

// Sent to the parent as WM_NOTIFY when the person asks for the record of a line (double-click
// or Enter on a line of a record's entry).
inline constexpr UINT kTextViewGoToRecord = 0x7E01;
struct TextViewGoTo {
    NMHDR header;
    int32_t record;
    // The line's place inside the record (an EMF+ record of a comment, 0-based), or -1.
    int32_t place;
};

// Sent to the parent as WM_NOTIFY as the context menu opens, so that the parent may add items of
// its own for the record of the line the menu is about (ids from kTextViewParentItems to
// kTextViewParentItems + 0xFF), and again, with the item's id, when the person chose one of them.
inline constexpr UINT kTextViewMenuOpening = 0x7E02;
inline constexpr UINT kTextViewMenuChosen = 0x7E03;
inline constexpr UINT kTextViewParentItems = 0x7F00;
struct TextViewMenu {
    NMHDR header;
    HMENU menu;
    // The record of the line the menu is about (under the pointer, or the caret's from the
    // keyboard) and its place inside the record, or -1.
    int32_t record;
    int32_t place;
    UINT command;
};

// The commands of the view's context menu, of Ctrl+F, F3 and Shift+F3; the view also takes
// them as WM_COMMAND. Find Next and Find Previous search for the last text looked for again,
// and open the Find dialog when nothing was looked for yet.
inline constexpr UINT kTextViewCopy = 0x7E10;
inline constexpr UINT kTextViewSelectAll = 0x7E11;
inline constexpr UINT kTextViewFind = 0x7E12;
inline constexpr UINT kTextViewFindNext = 0x7E13;
inline constexpr UINT kTextViewFindPrevious = 0x7E14;

// Tells the person that a text is not in the view; MessageBoxW unless a test answers it.
extern int(WINAPI* g_text_view_message_box)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

bool RegisterTextViewClass(HINSTANCE instance);

// Shows the lines of `source` from the top with nothing selected; an empty view for nullptr.
// The index of the report's lines is built here, every entry made once.
void SetTextViewSource(HWND view, std::unique_ptr<ReportEntries> source);

// The view's lines; nullptr for a window that is not a text view.
LineModel* TextViewLines(HWND view);

// The selection: from `anchor`, where it was started, to `caret`, where it ends.
bool GetTextViewSelection(HWND view, TextPos* anchor, TextPos* caret);
void SetTextViewSelection(HWND view, TextPos anchor, TextPos caret);
// The first line shown.
int32_t TextViewTopLine(HWND view);
// Shows record `record`'s entry from its first line at the top and selects its lines; a
// record the report has no entry of leaves nothing selected and the view where it was.
void TextViewShowRecord(HWND view, int32_t record);

// Hands a message meant for a text view's open Find dialog to that dialog; true when it took
// it. The message loop calls it for every message.
bool TextViewDialogMessage(MSG* message);
