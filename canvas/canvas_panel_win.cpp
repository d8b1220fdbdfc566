// Drawing the canvas's see-through button panel: a grip bar and five tinted, labelled buttons.
#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"

namespace {

// Each pixel under a button becomes itself AND the tint, bit by bit (the raster operation
// "destination AND pattern"), so the picture shows through, darker and bluish.
constexpr COLORREF kButtonTint = 0x00FFE6E6;
constexpr DWORD kDestinationAndPattern = 0x00A000C9;
constexpr int kLabelFontHeight = 15;

// Outlines a w x h box with the current pen, its right and bottom lines included.
void Outline(HDC surface, int w, int h) {
    MoveToEx(surface, 0, 0, nullptr);
    LineTo(surface, w, 0);
    LineTo(surface, w, h);
    LineTo(surface, 0, h);
    LineTo(surface, 0, 0);
}

void Tint(HDC surface) {
    LOGBRUSH brush_style = {BS_SOLID, kButtonTint, 0};
    HBRUSH brush = CreateBrushIndirect(&brush_style);
    HGDIOBJ previous = SelectObject(surface, brush);
    BitBlt(surface, 0, 0, kPanelWidth, kButtonHeight, nullptr, 0, 0, kDestinationAndPattern);
    SelectObject(surface, previous);
    DeleteObject(brush);
}

void DrawLabel(HDC surface, const wchar_t* label, RECT rect, COLORREF color) {
    SetTextColor(surface, color);
    DrawTextW(surface, label, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// The label is drawn twice: a light copy one pixel to the lower right gives it relief.
void DrawLabels(HDC surface, const char16_t* label, int32_t enabled) {
    LOGFONTW font_style = {};
    font_style.lfHeight = kLabelFontHeight;
    lstrcpyW(font_style.lfFaceName, L"Arial");
    HFONT font = CreateFontIndirectW(&font_style);
    HGDIOBJ previous = SelectObject(surface, font);
    SetBkMode(surface, TRANSPARENT);
    const wchar_t* text = reinterpret_cast<const wchar_t*>(label);
    RECT rect = {0, 0, kPanelWidth, kButtonHeight};
    OffsetRect(&rect, 1, 1);
    DrawLabel(surface, text, rect, GetSysColor(COLOR_BTNHIGHLIGHT));
    OffsetRect(&rect, -1, -1);
    DrawLabel(surface, text, rect, GetSysColor(enabled != 0 ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    SelectObject(surface, previous);
    DeleteObject(font);
}

void DrawGripBar(HDC surface) {
    SetBkColor(surface, GetSysColor(COLOR_ACTIVECAPTION));
    const RECT bar = {0, 0, kPanelWidth, kGripBarHeight};
    ExtTextOutW(surface, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr);
    Outline(surface, kPanelWidth, kGripBarHeight);
}

// In the button's own coordinates.
void DrawCanvasButton(HDC surface, const char16_t* label, int32_t enabled) {
    Tint(surface);
    DrawLabels(surface, label, enabled);
    Outline(surface, kPanelWidth, kButtonHeight);
}

}  // namespace

// The panel is drawn with the surface's origin moved to it, one element below the other.
void DrawButtonPanel(HDC surface) {
    POINT previous;
    SetViewportOrgEx(surface, g_canvas_view.panel_origin.x, g_canvas_view.panel_origin.y,
                     &previous);
    DrawGripBar(surface);
    OffsetViewportOrgEx(surface, 0, kGripBarHeight, nullptr);
    for (const CanvasButton& button : g_canvas_view.buttons) {
        DrawCanvasButton(surface, button.label, button.enabled);
        OffsetViewportOrgEx(surface, 0, kButtonHeight, nullptr);
    }
    SetViewportOrgEx(surface, previous.x, previous.y, nullptr);
}
