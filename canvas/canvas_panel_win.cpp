// Drawing the canvas's see-through button panel: a grip bar and five tinted, labelled buttons.
#include "canvas/canvas_control_win.h"
#include "canvas/canvas_view.h"

namespace {

// Each pixel under a button becomes itself AND the tint, bit by bit (the raster operation
// "destination AND pattern"), so the picture shows through, darker and bluish.
constexpr COLORREF kButtonTint = 0x00FFE6E6;
constexpr DWORD kDestinationAndPattern = 0x00A000C9;
// The label font's height at 96 DPI, where every label fits, and the room kept free on either
// side of a label.
constexpr int kLabelFontHeight = 15;
constexpr int kLabelMargin = 4;

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

HFONT CreateLabelFont(int height) {
    LOGFONTW font_style = {};
    font_style.lfHeight = height;
    lstrcpyW(font_style.lfFaceName, L"Arial");
    return CreateFontIndirectW(&font_style);
}

// Whether every label, in the font selected into `surface`, fits `width` with its margins.
bool LabelsFit(HDC surface, int width) {
    for (const CanvasButton& button : g_canvas_view.buttons) {
        SIZE extent;
        const wchar_t* label = Wide(button.label);
        if (!GetTextExtentPoint32W(surface, label, lstrlenW(label), &extent) ||
            extent.cx + 2 * kLabelMargin > width) {
            return false;
        }
    }
    return true;
}

// Outlines a w x h box with the current pen, its right and bottom lines included.
void Outline(HDC surface, int w, int h) {
    MoveToEx(surface, 0, 0, nullptr);
    LineTo(surface, w, 0);
    LineTo(surface, w, h);
    LineTo(surface, 0, h);
    LineTo(surface, 0, 0);
}

void Tint(HDC surface, const PanelSize& size) {
    LOGBRUSH brush_style = {BS_SOLID, kButtonTint, 0};
    HBRUSH brush = CreateBrushIndirect(&brush_style);
    HGDIOBJ previous = SelectObject(surface, brush);
    BitBlt(surface, 0, 0, size.width, size.button_height, nullptr, 0, 0, kDestinationAndPattern);
    SelectObject(surface, previous);
    DeleteObject(brush);
}

void DrawLabel(HDC surface, const wchar_t* label, RECT rect, COLORREF color) {
    SetTextColor(surface, color);
    DrawTextW(surface, label, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

// The label is drawn twice: a light copy one pixel to the lower right gives it relief.
void DrawLabels(HDC surface, const PanelSize& size, const char16_t* label, int32_t enabled) {
    SetBkMode(surface, TRANSPARENT);
    const wchar_t* text = Wide(label);
    RECT rect = {0, 0, size.width, size.button_height};
    OffsetRect(&rect, 1, 1);
    DrawLabel(surface, text, rect, GetSysColor(COLOR_BTNHIGHLIGHT));
    OffsetRect(&rect, -1, -1);
    DrawLabel(surface, text, rect, GetSysColor(enabled != 0 ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

void DrawGripBar(HDC surface, const PanelSize& size) {
    SetBkColor(surface, GetSysColor(COLOR_ACTIVECAPTION));
    const RECT bar = {0, 0, size.width, size.grip_bar_height};
    ExtTextOutW(surface, 0, 0, ETO_OPAQUE, &bar, nullptr, 0, nullptr);
    Outline(surface, size.width, size.grip_bar_height);
}

// In the button's own coordinates.
void DrawCanvasButton(HDC surface, const PanelSize& size, const char16_t* label, int32_t enabled) {
    Tint(surface, size);
    DrawLabels(surface, size, label, enabled);
    Outline(surface, size.width, size.button_height);
}

}  // namespace

// The face the platform gives for Arial is measured: the font steps down from its scaled
// height until the widest label fits, so that no label is cut at its edges. The height found
// is kept for the DPI it was found for.
HFONT CreatePanelFont(HDC surface) {
    static int32_t found_dpi = 0;
    static int found_height = 0;
    const PanelSize size = PanelSizeOf(g_canvas_view);
    const int32_t dpi = g_canvas_view.panel_dpi;
    if (found_dpi == dpi && found_height > 0) {
        return CreateLabelFont(found_height);
    }
    const int smallest = 6;
    int height = (kLabelFontHeight * size.button_height + kButtonHeight / 2) / kButtonHeight;
    for (; height > smallest; --height) {
        HFONT font = CreateLabelFont(height);
        if (font == nullptr) {
            return nullptr;
        }
        HGDIOBJ previous = SelectObject(surface, font);
        const bool fits = LabelsFit(surface, size.width);
        SelectObject(surface, previous);
        if (fits) {
            found_dpi = dpi;
            found_height = height;
            return font;
        }
        DeleteObject(font);
    }
    return CreateLabelFont(height);
}

// The panel is drawn with the surface's origin moved to it, one element below the other.
void DrawButtonPanel(HDC surface) {
    const PanelSize size = PanelSizeOf(g_canvas_view);
    HFONT font = CreatePanelFont(surface);
    HGDIOBJ previous_font = font != nullptr ? SelectObject(surface, font) : nullptr;
    POINT previous;
    SetViewportOrgEx(surface, g_canvas_view.panel_origin.x, g_canvas_view.panel_origin.y,
                     &previous);
    DrawGripBar(surface, size);
    OffsetViewportOrgEx(surface, 0, size.grip_bar_height, nullptr);
    for (const CanvasButton& button : g_canvas_view.buttons) {
        DrawCanvasButton(surface, size, button.label, button.enabled);
        OffsetViewportOrgEx(surface, 0, size.button_height, nullptr);
    }
    SetViewportOrgEx(surface, previous.x, previous.y, nullptr);
    if (font != nullptr) {
        SelectObject(surface, previous_font);
        DeleteObject(font);
    }
}
