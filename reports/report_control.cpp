// Filling the report control (the rich edit shared by the three text views) with a report.
#include "reports/report_control.h"

#include <richedit.h>

#include <cstring>

#include "app/app_globals.h"
#include "app/child_controls.h"
#include "app/resource.h"
#include "app/wait_cursor.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"

int g_report_state = -1;

namespace {

// The control whose whole text is known to carry the report format: formatting a text of
// millions of units again costs seconds, and gives the same result.
HWND g_formatted_control = nullptr;

}  // namespace

namespace {

constexpr LRESULT kReplaceAboveUnits = 0x10000;

// Where the control's reads have got to in the report's chunks.
struct ReportSource {
    const ReportText* report;
    size_t chunk;
    size_t offset;
};

// How many of `available` units to hand over when at most `room` fit: a read ends after a
// line feed, so that a "\r\n" never straddles two reads (the rich edit would make two line
// breaks of it). A line longer than a read is cut where neither a "\r\n" nor a surrogate
// pair is split.
size_t UnitsToHand(const char16_t* text, size_t available, size_t room) {
    if (available <= room) {
        return available;
    }
    size_t cut = room;
    while (cut > 0 && text[cut - 1] != u'\n') {
        --cut;
    }
    if (cut > 0) {
        return cut;
    }
    cut = room;
    const char16_t last = text[cut - 1];
    if (last == u'\r' || (last >= 0xD800 && last <= 0xDBFF)) {
        --cut;
    }
    return cut;
}

DWORD CALLBACK ReadReport(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* written) {
    ReportSource* source = reinterpret_cast<ReportSource*>(cookie);
    const std::vector<std::u16string>& chunks = source->report->chunks;
    while (source->chunk < chunks.size() && source->offset >= chunks[source->chunk].size()) {
        ++source->chunk;
        source->offset = 0;
    }
    *written = 0;
    if (source->chunk >= chunks.size() || capacity < 2) {
        return 0;
    }
    const std::u16string& chunk = chunks[source->chunk];
    const char16_t* text = chunk.data() + source->offset;
    const size_t units = UnitsToHand(text, chunk.size() - source->offset,
                                     static_cast<size_t>(capacity) / sizeof(char16_t));
    std::memcpy(buffer, text, units * sizeof(char16_t));
    source->offset += units;
    *written = static_cast<LONG>(units * sizeof(char16_t));
    return 0;
}

// Builds a long list with the control's redrawing locked, and shows it from the top.
template <typename Builder>
int BuildList(HWND main_window, int state, Builder build) {
    if (!g_document.IsLoaded()) {
        return 0;
    }
    if (g_report_state == state) {
        return 1;
    }
    if (GetDlgItem(main_window, IDC_REPORT) == nullptr) {
        return 0;
    }
    WaitCursor wait;
    ReportText report;
    build(&report);
    HWND control = ResetReportControl(main_window, report);
    LockWindowUpdate(control);
    const int inserted = InsertReportText(control, report);
    SendMessageW(control, EM_SCROLL, SB_TOP, 0);
    LockWindowUpdate(nullptr);
    if (inserted) {
        g_report_state = state;
    }
    return inserted;
}

// Empties the report control. The rich edit takes time that grows with the square of the
// line count to delete a long text, so a control that holds more than a little text is
// replaced by a fresh one in its place instead.
HWND EmptyReportControl(HWND main_window) {
    HWND old_control = GetDlgItem(main_window, IDC_REPORT);
    if (SendMessageW(old_control, WM_GETTEXTLENGTH, 0, 0) < kReplaceAboveUnits) {
        SetWindowTextW(old_control, L"");
        return old_control;
    }
    RECT place;
    GetWindowRect(old_control, &place);
    MapWindowPoints(nullptr, main_window, reinterpret_cast<POINT*>(&place), 2);
    const bool visible = IsWindowVisible(old_control) != FALSE;
    SetWindowLongPtrW(old_control, GWLP_ID, 0);
    HWND control = CreateReportControl(main_window);
    if (control == nullptr) {
        SetWindowLongPtrW(old_control, GWLP_ID, IDC_REPORT);
        SetWindowTextW(old_control, L"");
        return old_control;
    }
    SetWindowPos(control, old_control, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : 0));
    DestroyWindow(old_control);
    return control;
}

}  // namespace

HWND ResetReportControl(HWND main_window, const ReportText& report) {
    HWND control = EmptyReportControl(main_window);
    std::vector<int> stops(report.tab_stops);
    SendMessageW(control, EM_SETTABSTOPS, stops.size(), reinterpret_cast<LPARAM>(stops.data()));
    g_formatted_control = nullptr;
    FormatReportControl(control);
    return control;
}

void FormatReportControl(HWND control) {
    if (control == nullptr || control == g_formatted_control) {
        return;
    }
    CHARFORMATW format = {};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_SIZE | CFM_FACE | CFM_CHARSET | CFM_BOLD;
    format.yHeight = 175;
    format.bCharSet = ANSI_CHARSET;
    format.bPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpyW(format.szFaceName, L"Courier New");
    SendMessageW(control, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    g_formatted_control = control;
}

int InsertReportText(HWND control, const ReportText& report) {
    ReportSource source = {&report, 0, 0};
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadReport;
    SendMessageW(control, EM_STREAMIN, SF_TEXT | SF_UNICODE | SFF_SELECTION,
                 reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0 ? 1 : 0;
}

int BuildHeaderReport(HWND main_window) {
    if (!g_document.IsLoaded()) {
        return 0;
    }
    if (g_report_state == 1) {
        return 1;
    }
    if (GetDlgItem(main_window, IDC_REPORT) == nullptr) {
        return 0;
    }
    WaitCursor wait;
    ReportText report;
    report.tab_stops = {70};
    HWND control = ResetReportControl(main_window, report);
    if (!BuildHeaderReportText(g_document, &report)) {
        return 0;
    }
    const int inserted = InsertReportText(control, report);
    if (inserted) {
        g_report_state = 1;
    }
    return inserted;
}

int BuildRecordList(HWND main_window) {
    return BuildList(main_window, 2,
                     [](ReportText* report) { BuildRecordListText(g_document, report); });
}

int BuildCallList(HWND main_window) {
    return BuildList(main_window, 3,
                     [](ReportText* report) { BuildCallListText(g_document, report, 1); });
}
