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

// What the control reads: a report held whole, or a stream that makes each chunk when the
// control has taken the one before.
struct ReportSource {
    const ReportText* report;
    ReportStream* stream;
    size_t next_chunk;
    std::u16string_view pending;
};

std::u16string_view NextPiece(ReportSource* source) {
    if (source->stream != nullptr) {
        return source->stream->NextChunk();
    }
    const std::vector<std::u16string>& chunks = source->report->chunks;
    while (source->next_chunk < chunks.size()) {
        const std::u16string& chunk = chunks[source->next_chunk++];
        if (!chunk.empty()) {
            return chunk;
        }
    }
    return {};
}

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
    *written = 0;
    if (capacity < 2) {
        return 0;
    }
    if (source->pending.empty()) {
        source->pending = NextPiece(source);
    }
    const size_t units = UnitsToHand(source->pending.data(), source->pending.size(),
                                     static_cast<size_t>(capacity) / sizeof(char16_t));
    std::memcpy(buffer, source->pending.data(), units * sizeof(char16_t));
    source->pending.remove_prefix(units);
    *written = static_cast<LONG>(units * sizeof(char16_t));
    return 0;
}

int StreamIntoControl(HWND control, ReportSource* source) {
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(source);
    stream.pfnCallback = ReadReport;
    SendMessageW(control, EM_STREAMIN, SF_TEXT | SF_UNICODE | SFF_SELECTION,
                 reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0 ? 1 : 0;
}

// Builds a long list with the control's redrawing locked, and shows it from the top. The list
// is made a chunk at a time while the control reads it, so it is never held whole.
template <typename Opener>
int BuildList(HWND main_window, int state, Opener open) {
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
    std::unique_ptr<ReportStream> stream = open();
    if (stream == nullptr) {
        return 0;
    }
    HWND control = ResetReportControl(main_window, stream->tab_stops());
    LockWindowUpdate(control);
    const int inserted = InsertReportStream(control, *stream);
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

HWND ResetReportControl(HWND main_window, const std::vector<int>& tab_stops) {
    HWND control = EmptyReportControl(main_window);
    std::vector<int> stops(tab_stops);
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
    ReportSource source = {&report, nullptr, 0, {}};
    return StreamIntoControl(control, &source);
}

int InsertReportStream(HWND control, ReportStream& stream) {
    ReportSource source = {nullptr, &stream, 0, {}};
    return StreamIntoControl(control, &source);
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
    HWND control = ResetReportControl(main_window, {70});
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
    return BuildList(main_window, 2, [] { return OpenRecordList(g_document); });
}

int BuildCallList(HWND main_window) {
    return BuildList(main_window, 3, [] { return OpenCallList(g_document, 1); });
}
