// The current record: the record index field, the call pane, the navigation keys and
// the notifications of the tab control and the canvas.
#include "app/navigation.h"

#include <commctrl.h>

#include "app/app_globals.h"
#include "app/embedded_data.h"
#include "app/filter_list.h"
#include "app/platform_seams.h"
#include "app/resource.h"
#include "app/state_view.h"
#include "app/status_bar.h"
#include "app/view_switch.h"
#include "canvas/canvas_messages.h"
#include "canvas/canvas_view.h"
#include "canvas/canvas_window_win.h"
#include "emfplus/emfplus_steps.h"
#include "reports/call_list_report.h"
#include "reports/emfplus_line.h"
#include "textview/text_view_win.h"

int32_t g_current_record = 0;
int32_t g_current_place = -1;

namespace {

// The record scroll bar's code for a navigation key, or -1 for any other key.
int ScrollCodeOfKey(WPARAM key) {
    switch (key) {
        case VK_PRIOR:
            return SB_PAGELEFT;
        case VK_NEXT:
            return SB_PAGERIGHT;
        case VK_END:
            return SB_RIGHT;
        case VK_HOME:
            return SB_LEFT;
        case VK_LEFT:
        case VK_UP:
            return SB_LINELEFT;
        case VK_RIGHT:
        case VK_DOWN:
            return SB_LINERIGHT;
        default:
            return -1;
    }
}

void OnCanvasIndexChanged(HWND main_window, HWND canvas) {
    g_current_record = static_cast<int32_t>(SendMessageW(canvas, CVM_GETINDEX, 0, 0));
    g_current_place = -1;
    ClearStatusAnswer();
    ShowIndex(main_window);
    ShowCallText(main_window);
    StateViewFollow(main_window);
    UpdateStatusBar(main_window);
}

// Set while the program writes the field, whose change then is no number typed.
bool g_showing_index = false;

}  // namespace

int PushIndexToCanvas(HWND main_window) {
    if (!g_document.IsLoaded()) {
        return 0;
    }
    SendDlgItemMessageW(main_window, IDC_CANVAS, CVM_SETINDEX,
                        static_cast<WPARAM>(g_current_record), 0);
    return 1;
}

int ShowIndex(HWND main_window) {
    if (GetDlgItem(main_window, IDC_RECORDINDEX) == nullptr) {
        return 0;
    }
    g_showing_index = true;
    if (g_document.IsLoaded() && g_current_record >= 0) {
        SetDlgItemInt(main_window, IDC_RECORDINDEX, static_cast<UINT>(g_current_record), FALSE);
    } else {
        SetDlgItemTextW(main_window, IDC_RECORDINDEX, L"");
    }
    g_showing_index = false;
    return 1;
}

int ShowCallText(HWND main_window) {
    HWND pane = GetDlgItem(main_window, IDC_CALLTEXT);
    if (pane == nullptr) {
        return 0;
    }
    // Empty when no document is loaded. At an EMF+ record, its line as the EMF+ view has it.
    if (g_current_place >= 0) {
        SetTextViewSource(pane,
                          OpenEmfPlusLineEntries(g_document, g_current_record, g_current_place));
        return 1;
    }
    SetTextViewSource(pane, OpenCallTextEntries(g_document, g_current_record));
    return 1;
}

void SetCurrentRecord(HWND main_window, int32_t index, int update_field) {
    if (index == g_current_record && g_current_place < 0) {
        return;
    }
    g_current_record = index;
    g_current_place = -1;
    ClearStatusAnswer();
    PushIndexToCanvas(main_window);
    ShowCallText(main_window);
    if (update_field) {
        ShowIndex(main_window);
    }
    StateViewFollow(main_window);
    UpdateStatusBar(main_window);
}

void SetCurrentPlace(HWND main_window, int32_t index, int32_t place) {
    if (place < 0) {
        SetCurrentRecord(main_window, index, 1);
        return;
    }
    if (index == g_current_record && place == g_current_place) {
        return;
    }
    g_current_record = index;
    g_current_place = place;
    ClearStatusAnswer();
    SendDlgItemMessageW(main_window, IDC_CANVAS, CVM_SETPLACE, static_cast<WPARAM>(index),
                        static_cast<LPARAM>(place));
    ShowCallText(main_window);
    ShowIndex(main_window);
    StateViewFollow(main_window);
    UpdateStatusBar(main_window);
}

// The program's own changes to the field change nothing. Only the records read can be shown,
// however many the header claims.
void OnIndexFieldCommand(HWND main_window, HWND, UINT code) {
    if (code != EN_CHANGE || g_showing_index) {
        return;
    }
    BOOL valid = FALSE;
    const UINT number = GetDlgItemInt(main_window, IDC_RECORDINDEX, &valid, FALSE);
    if (!valid) {
        return;
    }
    const int32_t count = g_document.Store().count();
    if (count <= 0 || number >= static_cast<UINT>(count)) {
        g_platform.message_beep(0xFFFFFFFF);
        return;
    }
    SetCurrentRecord(main_window, static_cast<int32_t>(number), 0);
}

void OnNavigationKey(HWND main_window, WPARAM key) {
    // O, D and X, without Ctrl or Alt, show or hide the overlay, what the record drew and
    // where GDI and GDI+ differ.
    if ((key == 'O' || key == 'D' || key == 'X') && GetKeyState(VK_CONTROL) >= 0 &&
        GetKeyState(VK_MENU) >= 0) {
        SendDlgItemMessageW(main_window, IDC_CANVAS, WM_COMMAND,
                            key == 'O'   ? IDM_SHOWOVERLAY
                            : key == 'D' ? IDM_SHOWDRAWN
                                         : IDM_SHOWDIFFERENCES,
                            0);
        return;
    }
    // Ctrl+Right and Ctrl+Left step one EMF+ record where GDI+ draws.
    if ((key == VK_LEFT || key == VK_RIGHT) && GetKeyState(VK_CONTROL) < 0 &&
        GetKeyState(VK_MENU) >= 0 && g_canvas_view.renderer != Renderer::kGdi) {
        if (g_document.IsLoaded()) {
            PlaybackPlace to;
            if (StepEmfPlusRecord(g_document, ListedRecordFilter(),
                                  {g_current_record, g_current_place}, key == VK_RIGHT, &to)) {
                SetCurrentPlace(main_window, to.record, to.place);
            } else {
                g_platform.message_beep(MB_OK);
            }
        }
        return;
    }
    const int code = ScrollCodeOfKey(key);
    if (!g_document.IsLoaded() || code < 0) {
        return;
    }
    SendDlgItemMessageW(main_window, IDC_CANVAS, WM_HSCROLL, static_cast<WPARAM>(code), 0);
}

LRESULT OnNotify(HWND main_window, const NMHDR* header) {
    switch (header->idFrom) {
        case IDC_MODESWITCHER:
            SwitchView(main_window,
                       static_cast<unsigned>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
            break;
        case IDC_CANVAS:
            if (header->code == static_cast<UINT>(CVN_VIEWCHANGED)) {
                UpdateStatusBar(main_window);
            } else if (header->code == static_cast<UINT>(CVN_INDEXCHANGED)) {
                OnCanvasIndexChanged(main_window, header->hwndFrom);
            } else if (header->code == static_cast<UINT>(CVN_RECORDDREW)) {
                const auto* drew = reinterpret_cast<const CanvasRecordDrew*>(header);
                ShowRecordDrew(main_window, drew->record, drew->pixels);
            } else if (header->code == static_cast<UINT>(CVN_DIFFERENCES)) {
                const auto* differ = reinterpret_cast<const CanvasRecordDrew*>(header);
                ShowDifferences(main_window, differ->record, differ->pixels);
            } else if (header->code == static_cast<UINT>(CVN_GDIPLUSREFUSED)) {
                UpdateStatusBar(main_window);
            } else if (header->code == static_cast<UINT>(CVN_DRAWNBY)) {
                ShowDrawnBy(main_window, reinterpret_cast<const CanvasDrawnBy*>(header)->record);
            }
            break;
        case IDC_FILTERLIST:
            return OnFilterListNotify(header);
        case IDC_REPORT:
            // A record chosen in a report: the picture up to it, with its call text.
            // An EMF+ line where GDI+ draws: the picture up to exactly that EMF+ record.
            if (header->code == kTextViewMenuOpening) {
                OfferEmbeddedData(reinterpret_cast<const TextViewMenu*>(header));
            } else if (header->code == kTextViewMenuChosen) {
                OnEmbeddedDataChosen(main_window, reinterpret_cast<const TextViewMenu*>(header));
            } else if (header->code == kTextViewGoToRecord) {
                const auto* go_to = reinterpret_cast<const TextViewGoTo*>(header);
                if (go_to->record >= 0 && go_to->record < g_document.Store().count()) {
                    SetCurrentPlace(main_window, go_to->record,
                                    g_canvas_view.renderer != Renderer::kGdi ? go_to->place : -1);
                    SwitchView(main_window, 0);
                }
            }
            break;
        default:
            // The call pane's record is the current one already: a double-click there does
            // nothing.
            break;
    }
    return 0;
}
