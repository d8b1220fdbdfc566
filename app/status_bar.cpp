// The status bar at the foot of the main window: the current record, its type and offset, the
// zoom, the picture's size and the damage notice of the loaded file.
#include "app/status_bar.h"

#include <commctrl.h>

#include <iterator>

#include "app/app_globals.h"
#include "app/main_window.h"
#include "app/navigation.h"
#include "app/resource.h"
#include "app/state_view.h"
#include "calls/call_text.h"
#include "canvas/canvas_view.h"
#include "canvas/gdiplus_player_win.h"
#include "emfplus/emfplus_names.h"
#include "reports/damage_notice.h"
#include "state/clip_region.h"
#include "state/state_tracker.h"
#include "state/state_walk.h"
#include "textview/screen_dpi_win.h"

namespace {

std::u16string g_answer;
// What the current record drew, while that is shown.
std::u16string g_drew;
// How many pixels GDI and GDI+ draw differently, while that is shown.
std::u16string g_differences;

// The parts, left to right; the damage notice takes what is left.
enum Part : int {
    kRecordPart,
    kTypePart,
    kRendererPart,
    kZoomPart,
    kSizePart,
    kDamagePart,
    kPartCount
};

// The widths of the parts before the last at 96 DPI.
constexpr int kPartWidths[] = {180, 260, 80, 70, 160};
static_assert(std::size(kPartWidths) == kPartCount - 1);

void SetPart(HWND bar, int part, const char16_t* text) {
    SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
}

// The header's rclFrame, in 0.01 mm; false when the header has none.
bool HeaderFrame(int32_t& left, int32_t& top, int32_t& right, int32_t& bottom) {
    RecordReader header(RecordView{g_document.Header(), g_document.HeaderSize()});
    left = header.I32(24);
    top = header.I32(28);
    right = header.I32(32);
    bottom = header.I32(36);
    return g_document.Header() != nullptr && header.ok();
}

// Hundredths as "12.34", with a sign where negative.
void AppendHundredths(WideText& out, int64_t hundredths) {
    if (hundredths < 0) {
        out.Append(u'-');
        hundredths = -hundredths;
    }
    out.Print(u"%u.%02d", static_cast<uint32_t>(hundredths / 100),
              static_cast<int32_t>(hundredths % 100));
}

void ShowRecord(HWND bar) {
    FixedWideText<64> text;
    const int32_t count = g_document.Store().count();
    if (!g_document.IsLoaded()) {
        text.Append(u"No file");
    } else if (g_current_record >= 0 && g_current_record < count) {
        text.Append(u"Record ");
        AppendGrouped(text, static_cast<uint32_t>(g_current_record));
        if (g_current_place >= 0) {
            text.Print(u".%d", g_current_place);
        }
        text.Append(u" of ");
        AppendGrouped(text, static_cast<uint32_t>(count));
    }
    SetPart(bar, kRecordPart, text.c_str());
}

void ShowType(HWND bar) {
    FixedWideText<96> text;
    const RecordView record = g_document.RecordAt(g_current_record);
    if (record) {
        const uint32_t type = RecordType(record);
        const char16_t* name = LookupRecordName(type);
        if (name != nullptr) {
            text.Append(name);
        } else {
            text.Print(u"Record type %u", type);
        }
        text.Append(u" at byte ");
        AppendGrouped(text, g_document.Store().OffsetAt(g_current_record));
    }
    SetPart(bar, kTypePart, text.c_str());
}

void ShowRenderer(HWND bar) {
    static constexpr const char16_t* kNames[] = {u"GDI", u"GDI+", u"GDI | GDI+"};
    SetPart(bar, kRendererPart, kNames[static_cast<int>(g_canvas_view.renderer) % 3]);
}

// What GDI+ refused to draw in the picture shown, most refused first: "GDI+ here does not
// draw: 756 EmfPlusDrawString, 321 EmfPlusDrawLines".
std::u16string RefusalText() {
    if (g_canvas_view.renderer == Renderer::kGdi || !g_document.IsLoaded()) {
        return {};
    }
    const std::vector<RefusedRecords>& refused = LastGdiPlusRefusals();
    FixedWideText<512> text;
    for (size_t i = 0; i < refused.size(); ++i) {
        text.Append(i == 0 ? u"GDI+ here does not draw: " : u", ");
        AppendGrouped(text, refused[i].count);
        text.Append(u' ');
        const char16_t* name = refused[i].type >= 0x4000 && refused[i].type <= 0xFFFF
                                   ? LookupEmfPlusName(static_cast<uint16_t>(refused[i].type))
                                   : LookupRecordName(refused[i].type);
        if (name != nullptr) {
            text.Append(name);
        } else {
            text.Print(u"type 0x%X", refused[i].type);
        }
    }
    return std::u16string(text.view());
}

// The shown width of the picture against its width at actual size, the frame's width in
// 0.01 mm at the window's DPI.
void ShowZoom(HWND main_window, HWND bar) {
    FixedWideText<32> text;
    int32_t left, top, right, bottom;
    const CanvasRect& picture = g_canvas_view.picture;
    const int64_t shown = int64_t{picture.right} - picture.left;
    if (HeaderFrame(left, top, right, bottom) && shown > 0) {
        const int64_t frame_dots = (int64_t{right} - left) * WindowDpi(main_window);
        // 100 * shown / (frame_dots / 2540), to the nearest percent.
        const int64_t percent =
            frame_dots > 0 ? (shown * 254000 + frame_dots / 2) / frame_dots : -1;
        if (percent >= 0 && percent <= INT32_MAX) {
            AppendGrouped(text, static_cast<uint32_t>(percent));
            text.Append(u"%");
        }
    }
    SetPart(bar, kZoomPart, text.c_str());
}

void ShowSize(HWND bar) {
    FixedWideText<64> text;
    int32_t left, top, right, bottom;
    if (HeaderFrame(left, top, right, bottom)) {
        AppendHundredths(text, int64_t{right} - left);
        text.Append(u" x ");
        AppendHundredths(text, int64_t{bottom} - top);
        text.Append(u" mm");
    }
    SetPart(bar, kSizePart, text.c_str());
}

}  // namespace

HWND CreateStatusBar(HWND main_window) {
    return CreateWindowExW(
        0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, main_window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUSBAR)), g_instance, nullptr);
}

int PlaceStatusBar(HWND main_window) {
    HWND bar = GetDlgItem(main_window, IDC_STATUSBAR);
    if (bar == nullptr) {
        return 0;
    }
    // The bar places and sizes itself at the bottom of its parent.
    SendMessageW(bar, WM_SIZE, 0, 0);
    const int dpi = WindowDpi(main_window);
    int edges[kPartCount];
    int right = 0;
    for (int part = 0; part < kPartCount - 1; ++part) {
        right += ScaledToDpi(kPartWidths[part], dpi);
        edges[part] = right;
    }
    edges[kPartCount - 1] = -1;
    SendMessageW(bar, SB_SETPARTS, kPartCount, reinterpret_cast<LPARAM>(edges));
    RECT rect;
    GetWindowRect(bar, &rect);
    return rect.bottom - rect.top;
}

void UpdateStatusBar(HWND main_window) {
    HWND bar = GetDlgItem(main_window, IDC_STATUSBAR);
    if (bar == nullptr) {
        return;
    }
    ShowRecord(bar);
    ShowType(bar);
    ShowRenderer(bar);
    ShowZoom(main_window, bar);
    ShowSize(bar);
    std::u16string last;
    for (const std::u16string& piece : {g_drew, g_differences, g_answer, RefusalText()}) {
        if (!last.empty() && !piece.empty()) {
            last += u"  ";
        }
        last += piece;
    }
    const std::u16string damage = DamageNotice(g_document);
    if (!last.empty() && !damage.empty()) {
        last += u"  ";
    }
    last += damage;
    SetPart(bar, kDamagePart, last.c_str());
}

void SetStatusAnswer(HWND main_window, std::u16string_view answer) {
    g_answer.assign(answer);
    UpdateStatusBar(main_window);
}

void ClearStatusAnswer() {
    g_answer.clear();
}

void ShowRecordDrew(HWND main_window, int32_t record, int64_t pixels) {
    FixedWideText<160> text;
    if (record < 0) {
        // The mode is off.
    } else if (pixels < 0) {
        text.Append(u"This record is switched off in the filter: it changed nothing");
    } else if (pixels > 0) {
        text.Append(u"This record changed ");
        AppendGrouped(text, static_cast<uint32_t>(pixels > UINT32_MAX ? UINT32_MAX : pixels));
        text.Append(pixels == 1 ? u" pixel of the picture" : u" pixels of the picture");
    } else {
        text.Append(u"This record changed nothing in the picture");
        // Where the state says why: a path not yet filled or stroked, an empty clip.
        const GraphicsState* state = DocumentStateTracker()->StateAt(record);
        Region clip;
        if (state != nullptr && state->dc.path.value != PathBracket::kNone) {
            text.Append(u" (it is inside a path bracket, drawn only when the path is)");
        } else if (state != nullptr && EffectiveClip(state->dc, DeviceSurface(*state), &clip) &&
                   clip.kind == RegionKind::kRects && clip.count() == 0) {
            text.Append(u" (the clip region is empty)");
        }
    }
    g_drew.assign(text.view());
    UpdateStatusBar(main_window);
}

void ShowDifferences(HWND main_window, int32_t record, int64_t pixels) {
    FixedWideText<96> text;
    if (record >= 0 && pixels == 0) {
        text.Append(u"GDI and GDI+ draw this picture alike");
    } else if (record >= 0) {
        text.Append(u"GDI and GDI+ differ in ");
        AppendGrouped(text, static_cast<uint32_t>(pixels > UINT32_MAX ? UINT32_MAX : pixels));
        text.Append(pixels == 1 ? u" pixel" : u" pixels");
    }
    g_differences.assign(text.view());
    UpdateStatusBar(main_window);
}

void ShowDrawnBy(HWND main_window, int32_t record) {
    FixedWideText<128> text;
    if (record < 0) {
        text.Append(u"No record up to this one changed the point");
    } else {
        text.Append(u"Drawn by record ");
        AppendGrouped(text, static_cast<uint32_t>(record));
        const char16_t* name = LookupRecordName(RecordType(g_document.RecordAt(record)));
        if (name != nullptr) {
            text.Append(u" (");
            text.Append(name);
            text.Append(u")");
        }
    }
    SetStatusAnswer(main_window, text.view());
}
