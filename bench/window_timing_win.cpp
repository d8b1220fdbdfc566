// Times the window program under the platform's real controls and player: a file opened
// through the file dialog's test seam, up to the painted window; each text view's first screen
// and Ctrl+A, Ctrl+C of the call list (left out with --skip-reports); the filter list's fill and
// its view; one navigation step at the last record. Each figure is split into the time spent
// inside the platform's controls and player, measured by making the same platform calls again on
// texts and records prepared beforehand, and the time of Orvella's own code, measured by running
// it alone. Every figure is the median of several runs.
//
//     orvella_win32_timing.exe [--repeat=N] [--skip-reports] FILE...
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/commands.h"
#include "app/filter_list.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/platform_seams.h"
#include "app/report_views.h"
#include "app/resource.h"
#include "app/view_switch.h"
#include "calls/call_text.h"
#include "canvas/canvas_control_win.h"
#include "canvas/canvas_messages.h"
#include "canvas/canvas_view.h"
#include "canvas/gdiplus_player_win.h"
#include "canvas/player_win.h"
#include "document/playback_copy.h"
#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/win32/playback_watch.h"
#include "textview/text_view_win.h"

namespace {

// --- Time -----------------------------------------------------------------------------------

double Now() {
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int g_repeat = 3;
// The report views of a long file take minutes while the rich edit holds their whole text.
bool g_skip_reports = false;

double MedianOf(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The median of g_repeat runs of `run`, which returns the seconds it took.
double Median(const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < g_repeat; ++i) {
        times.push_back(run());
    }
    return MedianOf(times);
}

// One figure: its total through the program, the time inside the platform's controls and
// player, and the time of Orvella's own code, each measured on its own.
struct Figure {
    const char* name;
    double total = 0;
    double platform = 0;
    double own = 0;
};

void PrintFigure(const Figure& figure) {
    const double total = figure.total > 0 ? figure.total : 1e-9;
    std::printf("  %-28s %9.1f ms   platform %9.1f ms (%5.1f %%)   own %8.1f ms (%5.1f %%)\n",
                figure.name, 1000 * figure.total, 1000 * figure.platform,
                100 * figure.platform / total, 1000 * figure.own, 100 * figure.own / total);
}

// --- The window under test ------------------------------------------------------------------

std::wstring g_answer;
double g_dialog_closed = 0;

BOOL WINAPI AnswerOpenDialog(LPOPENFILENAMEW dialog) {
    if (g_answer.empty() || g_answer.size() >= dialog->nMaxFile) {
        return FALSE;
    }
    lstrcpyW(dialog->lpstrFile, g_answer.c_str());
    g_answer.clear();
    g_dialog_closed = Now();
    return TRUE;
}

BOOL WINAPI CancelColorDialog(LPCHOOSECOLORW) {
    return FALSE;
}

BOOL WINAPI SilentBeep(UINT) {
    return TRUE;
}

BOOL WINAPI CancelSaveDialog(LPOPENFILENAMEW) {
    return FALSE;
}

// A refusal is timed like any other open; its box is answered at once.
int WINAPI SilentMessageBox(HWND, LPCWSTR, LPCWSTR, UINT) {
    return IDOK;
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool g_picture_played = false;

void NotePlayback(int32_t) {
    g_picture_played = true;
}

HWND CreateWindowUnderTest() {
    HWND main_window = CreateMainWindow(GetModuleHandleW(nullptr));
    if (main_window == nullptr) {
        return nullptr;
    }
    RECT outer = {0, 0, 1024, 768};
    AdjustWindowRectEx(&outer, WS_OVERLAPPEDWINDOW, TRUE, 0);
    SetWindowPos(main_window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOMOVE);
    ShowWindow(main_window, SW_SHOW);
    UpdateWindow(main_window);
    Pump();
    return main_window;
}

// A Unix path as the program under Wine sees it.
std::wstring WindowsPath(const char* path) {
    std::wstring wide;
    if (path[0] == '/') {
        wide = L"Z:";
    }
    for (const char* p = path; *p != 0; ++p) {
        wide += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return wide;
}

// --- The platform's part, made again on prepared inputs -----------------------------------

int CALLBACK SkipRecord(HDC, HANDLETABLE*, const ENHMETARECORD*, int, LPARAM) {
    return 1;
}

// The platform's metafile functions the load calls: reading the file, its header and its
// records, and the playback handle made from the guarded copy.
double PlatformLoad(const std::wstring& path, const PlaybackCopy& copy) {
    const double start = Now();
    HENHMETAFILE metafile = GetEnhMetaFileW(path.c_str());
    const UINT size = GetEnhMetaFileHeader(metafile, 0, nullptr);
    std::vector<BYTE> header(size);
    GetEnhMetaFileHeader(metafile, size, reinterpret_cast<ENHMETAHEADER*>(header.data()));
    EnumEnhMetaFile(nullptr, metafile, SkipRecord, nullptr, nullptr);
    DeleteEnhMetaFile(metafile);
    HENHMETAFILE playback =
        SetEnhMetaFileBits(static_cast<UINT>(copy.bytes.size()), copy.bytes.data());
    const double end = Now();
    DeleteEnhMetaFile(playback);
    return end - start;
}

// Orvella's own part of the load: reading the file, copying its records, the guarded copy.
double g_own_read = 0;
double g_own_store = 0;
double g_own_copy = 0;

double OwnLoad(const std::wstring& path, PlaybackCopy* copy) {
    const char16_t* path16 = reinterpret_cast<const char16_t*>(path.c_str());
    const MetafileReader& direct = DirectMetafileReader();
    MetafileDocument document;
    const double start = Now();
    void* file = direct.open(path16, nullptr);
    direct.close(file);
    const double read = Now();
    document.LoadFileWith(direct, path16);
    const double stored = Now();
    BuildPlaybackCopy(document.Store(), copy);
    const double end = Now();
    g_own_read = read - start;
    g_own_store = stored - read;
    g_own_copy = end - stored;
    return end - start;
}

// The list-view messages of the filter list's fill: emptied, then told its number of rows.
double PlatformFill(HWND list, int32_t rows) {
    const double start = Now();
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    return Now() - start;
}

// Everything the window does to show the platform's controls: the whole window repainted.
double RepaintWindow(HWND main_window) {
    const double start = Now();
    InvalidateRect(main_window, nullptr, TRUE);
    Pump();
    return Now() - start;
}

// The time `play` takes to draw onto a surface like the canvas's window, at the canvas's picture
// rectangle.
double TimedPictureAtCanvas(HWND canvas, const std::function<void(HDC, const RECT&)>& play) {
    HDC window_surface = GetDC(canvas);
    RECT client;
    GetClientRect(canvas, &client);
    HDC surface = CreateCompatibleDC(window_surface);
    HBITMAP bitmap = CreateCompatibleBitmap(window_surface, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(surface, bitmap);
    const CanvasRect& p = g_canvas_view.picture;
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    const double start = Now();
    play(surface, picture);
    const double end = Now();
    SelectObject(surface, previous);
    DeleteObject(bitmap);
    DeleteDC(surface);
    ReleaseDC(canvas, window_surface);
    return end - start;
}

// The player's part of a paint of the whole picture: the metafile played whole.
double PlatformWholePicture(HWND canvas) {
    return TimedPictureAtCanvas(canvas, [](HDC surface, const RECT& picture) {
        PlayEnhMetaFile(surface, static_cast<HENHMETAFILE>(g_document.Metafile()), &picture);
    });
}

struct FilteredPlayback {
    int32_t counter;
    int32_t index;
};

// The platform's calls of a playback record by record, up to `index`.
int CALLBACK PlayRecord(HDC surface, HANDLETABLE* handles, const ENHMETARECORD* record,
                        int handle_count, LPARAM data) {
    FilteredPlayback* playback = reinterpret_cast<FilteredPlayback*>(data);
    const int32_t counter = playback->counter;
    PlayEnhMetaFileRecord(surface, handles, record, static_cast<UINT>(handle_count));
    if (counter >= playback->index) {
        return 0;
    }
    playback->counter = counter + 1;
    return 1;
}

// The platform's part of a navigation step: the records played one by one up to `index`, the
// picture copied to the window, the call pane given the record's text and the number field
// set.
double PlatformStep(HWND main_window, int32_t index) {
    HWND canvas = GetDlgItem(main_window, IDC_CANVAS);
    HDC window_surface = GetDC(canvas);
    RECT client;
    GetClientRect(canvas, &client);
    const CanvasRect& p = g_canvas_view.picture;
    const RECT picture = {p.left, p.top, p.right, p.bottom};
    const double start = Now();
    HDC surface = CreateCompatibleDC(window_surface);
    HBITMAP bitmap = CreateCompatibleBitmap(window_surface, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(surface, bitmap);
    FilteredPlayback playback = {0, index};
    EnumEnhMetaFile(surface, static_cast<HENHMETAFILE>(g_document.Metafile()), PlayRecord,
                    &playback, &picture);
    BitBlt(window_surface, 0, 0, client.right, client.bottom, surface, 0, 0, SRCCOPY);
    SelectObject(surface, previous);
    DeleteObject(bitmap);
    DeleteDC(surface);
    DrawButtonPanel(window_surface);
    SCROLLINFO bar = {};
    bar.cbSize = sizeof(bar);
    bar.fMask = SIF_POS;
    bar.nPos = index;
    SetScrollInfo(canvas, SB_HORZ, &bar, TRUE);
    SetTextViewSource(GetDlgItem(main_window, IDC_CALLTEXT),
                      OpenCallTextEntries(g_document, index));
    SetDlgItemInt(main_window, IDC_RECORDINDEX, static_cast<UINT>(index), FALSE);
    Pump();
    const double end = Now();
    ReleaseDC(canvas, window_surface);
    return end - start;
}

// --- The figures ----------------------------------------------------------------------------

double g_open_command = 0;

// The steps of the Open command one by one, as the command takes them, and the paint after.
void PrintOpenSteps(HWND main_window, const std::wstring& path) {
    const char* const kSteps[] = {"load",      "attach to canvas",    "title, number, call text",
                                  "fill list", "view and invalidate", "messages and paints"};
    double seconds[6] = {};
    for (int run = 0; run < g_repeat; ++run) {
        double times[7];
        times[0] = Now();
        g_document.LoadFile(reinterpret_cast<const char16_t*>(path.c_str()));
        g_current_record =
            static_cast<int32_t>(static_cast<uint32_t>(g_document.HeaderRecordCount()) - 1u);
        g_report_state = -1;
        times[1] = Now();
        SendDlgItemMessageW(main_window, IDC_CANVAS, CVM_SETDOCUMENT,
                            reinterpret_cast<WPARAM>(&g_document),
                            reinterpret_cast<LPARAM>(ListedRecordFilter()));
        times[2] = Now();
        SetTitle(main_window, path.c_str());
        ShowIndex(main_window);
        ShowCallText(main_window);
        times[3] = Now();
        FillFilterList(main_window);
        times[4] = Now();
        SwitchView(main_window, 0);
        InvalidateRect(main_window, nullptr, TRUE);
        times[5] = Now();
        Pump();
        times[6] = Now();
        for (int step = 0; step < 6; ++step) {
            seconds[step] += (times[step + 1] - times[step]) / g_repeat;
        }
    }
    std::printf("  %-28s", "  the open's steps (mean)");
    for (int step = 0; step < 6; ++step) {
        std::printf(" %s %.1f ms%s", kSteps[step], 1000 * seconds[step], step < 5 ? "," : "\n");
    }
}

// From the file dialog's closing to the window painted with the file's picture: the Open
// command (load, fields, filter list, view) and the paint that follows.
double OpenOnce(HWND main_window, const std::wstring& path) {
    g_answer = path;
    g_picture_played = false;
    const playback_watch::PlaybackWatch watch(NotePlayback);
    SendMessageW(main_window, WM_COMMAND, IDM_OPEN, 0);
    const double command = Now() - g_dialog_closed;
    Pump();
    const double painted = Now() - g_dialog_closed;
    g_open_command = command;
    if (!g_picture_played) {
        std::printf("  (the canvas did not play the picture)\n");
    }
    return painted;
}

Figure Load(const std::wstring& path) {
    Figure load{"load"};
    const char16_t* path16 = reinterpret_cast<const char16_t*>(path.c_str());
    load.total = Median([&] {
        MetafileDocument document;
        const double start = Now();
        document.LoadFile(path16);
        return Now() - start;
    });
    PlaybackCopy copy;
    load.own = Median([&] { return OwnLoad(path, &copy); });
    load.platform = Median([&] { return PlatformLoad(path, copy); });
    return load;
}

Figure Fill(HWND main_window) {
    Figure fill{"fill the filter list"};
    fill.total = Median([&] {
        const double start = Now();
        FillFilterList(main_window);
        return Now() - start;
    });
    const int32_t count = g_document.Store().count();
    fill.own = Median([&] {
        const double start = Now();
        g_record_filter.Reset(count);
        return Now() - start;
    });
    // Leaves the list as the fill left it: the same rows, all checked.
    fill.platform = Median([&] {
        return PlatformFill(GetDlgItem(main_window, IDC_FILTERLIST), count > 2 ? count - 2 : 0);
    });
    return fill;
}

void ClickTab(HWND main_window, int index) {
    HWND tabs = GetDlgItem(main_window, IDC_MODESWITCHER);
    RECT item;
    SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    Pump();
}

std::unique_ptr<ReportEntries> OpenEntries(int mode) {
    if (mode == 1) {
        return OpenHeaderEntries(g_document);
    }
    if (mode == 2) {
        return OpenRecordListEntries(g_document);
    }
    return OpenCallListEntries(g_document, 1);
}

// A text view selected from "The EMF", up to its first screen painted. Orvella's part is the
// index of the report's lines; the platform's part, the view's first screen painted again. The
// three take turns, so that a slower moment of the machine falls on all three alike.
Figure ReportView(HWND main_window, int mode, const char* name) {
    Figure view{name};
    std::vector<double> totals;
    std::vector<double> owns;
    std::vector<double> platforms;
    for (int run = 0; run < g_repeat; ++run) {
        g_report_state = -1;
        double start = Now();
        ClickTab(main_window, mode);
        totals.push_back(Now() - start);
        platforms.push_back(RepaintWindow(main_window));
        ClickTab(main_window, 0);
        start = Now();
        LineModel lines;
        lines.Build(OpenEntries(mode));
        owns.push_back(Now() - start);
    }
    view.total = MedianOf(totals);
    view.own = MedianOf(owns);
    view.platform = MedianOf(platforms);
    g_report_state = -1;
    return view;
}

// The clipboard given `text` as Unicode text.
double PlatformClipboard(HWND owner, const std::u16string& text) {
    const double start = Now();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    void* target = GlobalLock(memory);
    std::memcpy(target, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    GlobalUnlock(memory);
    OpenClipboard(owner);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    return Now() - start;
}

// Ctrl+A, Ctrl+C in the "GDI calls" view: the whole call list on the clipboard.
Figure CopyCallList(HWND main_window) {
    Figure copy{"Ctrl+A, Ctrl+C of the calls"};
    ClickTab(main_window, 3);
    HWND view = GetDlgItem(main_window, IDC_REPORT);
    copy.total = Median([&] {
        const double start = Now();
        SendMessageW(view, WM_COMMAND, kTextViewSelectAll, 0);
        SendMessageW(view, WM_COMMAND, kTextViewCopy, 0);
        return Now() - start;
    });
    LineModel* lines = TextViewLines(view);
    std::u16string text;
    copy.own = Median([&] {
        const double start = Now();
        text = lines->Text({}, lines->End());
        return Now() - start;
    });
    copy.platform = Median([&] { return PlatformClipboard(view, text); });
    ClickTab(main_window, 0);
    g_report_state = -1;
    return copy;
}

// From the last record one step back, with its repaint: the paused player shows a picture it
// kept on the way there; the platform's part is a playback of every record but the last.
Figure NavigationStep(HWND main_window) {
    Figure step{"one step back at the last"};
    SetFocus(main_window);
    step.total = Median([&] {
        SendMessageW(main_window, WM_KEYDOWN, VK_END, 0);
        Pump();
        const double start = Now();
        SendMessageW(main_window, WM_KEYDOWN, VK_LEFT, 0);
        UpdateWindow(GetDlgItem(main_window, IDC_CANVAS));
        Pump();
        return Now() - start;
    });
    const int32_t index = g_current_record;
    step.own = Median([&] {
        const double start = Now();
        FixedWideText<kCallTextUnits> text;
        BuildCallText(g_document.RecordAt(index), text);
        return Now() - start;
    });
    step.platform = Median([&] { return PlatformStep(main_window, index); });
    SendMessageW(main_window, WM_KEYDOWN, VK_END, 0);
    Pump();
    return step;
}

// One step forward to the last record, with its repaint: one more record played onto the
// paused playback.
double StepForward(HWND main_window) {
    return Median([&] {
        // From the start to the record before the last, so that the last is still to play.
        SendMessageW(main_window, WM_KEYDOWN, VK_HOME, 0);
        UpdateWindow(GetDlgItem(main_window, IDC_CANVAS));
        SendMessageW(main_window, WM_KEYDOWN, VK_END, 0);
        SendMessageW(main_window, WM_KEYDOWN, VK_LEFT, 0);
        UpdateWindow(GetDlgItem(main_window, IDC_CANVAS));
        Pump();
        const double start = Now();
        SendMessageW(main_window, WM_KEYDOWN, VK_RIGHT, 0);
        UpdateWindow(GetDlgItem(main_window, IDC_CANVAS));
        Pump();
        return Now() - start;
    });
}

// A double-click at the picture's centre at the last record, answered in the status bar.
double DrawnBy(HWND main_window) {
    HWND canvas = GetDlgItem(main_window, IDC_CANVAS);
    const CanvasRect& p = g_canvas_view.picture;
    const LPARAM centre = MAKELPARAM((p.left + p.right) / 2, (p.top + p.bottom) / 2);
    return Median([&] {
        SendMessageW(main_window, WM_KEYDOWN, VK_END, 0);
        Pump();
        const double start = Now();
        SendMessageW(canvas, WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
        Pump();
        return Now() - start;
    });
}

// The "Filter" view selected from "The EMF": the list shown with the rows of its first screen
// made, and back.
double FilterView(HWND main_window) {
    return Median([&] {
        const double start = Now();
        ClickTab(main_window, 4);
        UpdateWindow(GetDlgItem(main_window, IDC_FILTERLIST));
        const double end = Now();
        ClickTab(main_window, 0);
        return end - start;
    });
}

// The picture at the last record played by `player` as the canvas plays it (with the filter
// list the window gives).
double PlayerPicture(HWND canvas, const Player& player) {
    return TimedPictureAtCanvas(canvas, [&](HDC surface, const RECT& picture) {
        player.play(surface, picture, g_document, ListedRecordFilter(),
                    g_document.Store().count() - 1);
    });
}

// With the Ctrl key held as the thread's keyboard state has it, so that a sent key is Ctrl+key.
void HoldControl(bool held) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = held ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Where GDI+ draws: the picture, one step back and forward at the last record, and one EMF+
// record back from the last (Ctrl+Left) and forward to it (Ctrl+Right), each with its repaint.
void TimeGdiPlus(HWND main_window) {
    HWND canvas = GetDlgItem(main_window, IDC_CANVAS);
    const double gdi = Median([&] { return PlayerPicture(canvas, kGdiPlayer); });
    const double plus = Median([&] { return PlayerPicture(canvas, kGdiPlusPlayer); });
    std::printf("  %-28s %9.1f ms with GDI, %.1f ms with GDI+\n", "the picture at the last",
                1000 * gdi, 1000 * plus);
    SendMessageW(canvas, WM_COMMAND, IDM_RENDERGDIPLUS, 0);
    Pump();
    const auto key = [&](WPARAM code, bool control) {
        HoldControl(control);
        SendMessageW(main_window, WM_KEYDOWN, code, 0);
        HoldControl(false);
        UpdateWindow(canvas);
        Pump();
    };
    const auto timed = [&](WPARAM code, bool control) {
        const double start = Now();
        key(code, control);
        return Now() - start;
    };
    const double back = Median([&] {
        key(VK_END, false);
        return timed(VK_LEFT, false);
    });
    const double forward = Median([&] {
        key(VK_END, false);
        key(VK_LEFT, false);
        return timed(VK_RIGHT, false);
    });
    const double sub_back = Median([&] {
        key(VK_END, false);
        return timed(VK_LEFT, true);
    });
    const double sub_forward = Median([&] {
        key(VK_END, false);
        key(VK_LEFT, true);
        key(VK_LEFT, true);
        return timed(VK_RIGHT, true);
    });
    std::printf("  %-28s %9.1f ms back, %.1f ms forward\n", "GDI+: a step at the last", 1000 * back,
                1000 * forward);
    std::printf("  %-28s %9.1f ms back, %.1f ms forward\n", "GDI+: an EMF+ sub-step",
                1000 * sub_back, 1000 * sub_forward);
    SendMessageW(canvas, WM_COMMAND, IDM_RENDERGDI, 0);
    key(VK_END, false);
}

void TimeFile(HWND main_window, const char* file) {
    const std::wstring path = WindowsPath(file);
    std::printf("%s\n", file);
    // A first open warms the file cache and the fonts, as any earlier use of the program has.
    OpenOnce(main_window, path);
    if (!g_document.IsLoaded()) {
        std::printf("  cannot be opened\n");
        return;
    }
    std::printf("  %d records, medians of %d runs\n", g_document.Store().count(), g_repeat);
    Figure painted{"open to painted window"};
    painted.total = Median([&] { return OpenOnce(main_window, path); });
    const double command = g_open_command;
    const Figure load = Load(path);
    const Figure fill = Fill(main_window);
    const double picture =
        Median([&] { return PlatformWholePicture(GetDlgItem(main_window, IDC_CANVAS)); });
    const double repaint = Median([&] { return RepaintWindow(main_window); });
    painted.platform = load.platform + fill.platform + repaint;
    painted.own = load.own + fill.own;
    PrintFigure(painted);
    std::printf("  %-28s %9.1f ms in the last run\n", "  of which the Open command",
                1000 * command);
    PrintOpenSteps(main_window, path);
    PrintFigure(load);
    std::printf("  %-28s read %.1f ms, read and store %.1f ms, guarded copy %.1f ms (last run)\n",
                "  own part of the load", 1000 * g_own_read, 1000 * g_own_store, 1000 * g_own_copy);
    PrintFigure(fill);
    std::printf("  %-28s %9.1f ms   of which playing the picture %.1f ms\n",
                "repaint the whole window", 1000 * repaint, 1000 * picture);
    if (!g_skip_reports) {
        PrintFigure(ReportView(main_window, 1, "\"Header\" view"));
        PrintFigure(ReportView(main_window, 2, "\"Records\" view"));
        PrintFigure(ReportView(main_window, 3, "\"GDI calls\" view"));
        PrintFigure(CopyCallList(main_window));
    }
    std::printf("  %-28s %9.1f ms\n", "\"Filter\" view", 1000 * FilterView(main_window));
    PrintFigure(NavigationStep(main_window));
    std::printf("  %-28s %9.1f ms\n", "one step forward to the last",
                1000 * StepForward(main_window));
    HWND canvas = GetDlgItem(main_window, IDC_CANVAS);
    SendMessageW(canvas, WM_COMMAND, IDM_SHOWDRAWN, 0);
    std::printf("  %-28s %9.1f ms\n", "  the same with D shown", 1000 * StepForward(main_window));
    SendMessageW(canvas, WM_COMMAND, IDM_SHOWDRAWN, 0);
    std::printf("  %-28s %9.1f ms\n", "which record drew the centre", 1000 * DrawnBy(main_window));
    TimeGdiPlus(main_window);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: orvella_win32_timing [--repeat=N] [--skip-reports] FILE...\n");
        return 2;
    }
    PrepareMainWindow(GetModuleHandleW(nullptr));
    g_platform = {AnswerOpenDialog, CancelColorDialog, SilentBeep, CancelSaveDialog,
                  SilentMessageBox};
    HWND main_window = CreateWindowUnderTest();
    if (main_window == nullptr) {
        std::fprintf(stderr, "orvella_win32_timing: the main window cannot be created\n");
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        std::string argument;
        for (const wchar_t* p = argv[i]; *p != 0; ++p) {
            argument += static_cast<char>(*p);
        }
        if (argument == "--skip-reports") {
            g_skip_reports = true;
            continue;
        }
        if (argument.rfind("--repeat=", 0) == 0) {
            g_repeat = std::max(1, std::atoi(argument.c_str() + 9));
            continue;
        }
        TimeFile(main_window, argument.c_str());
        std::fflush(stdout);
    }
    DestroyWindow(main_window);
    Pump();
    return 0;
}
