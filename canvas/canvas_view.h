// The canvas's view state: picture rectangle, fit and zoom, the button panel and the drag.
#pragma once

#include <cstdint>

#include "canvas/canvas_commands.h"
#include "document/played_records.h"
#include "document/record_view.h"

struct CanvasPoint {
    int32_t x;
    int32_t y;
};

// Left, top, right, bottom; right and bottom are exclusive.
struct CanvasRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct CanvasButton {
    const char16_t* label;
    int32_t command;
    int32_t enabled;
    // What the button does, shown while the pointer rests on it.
    const char16_t* tip;
};

// Commands of the panel's buttons (the same ids as the shell's menu commands).
inline constexpr int32_t kCommandOpen = IDM_OPEN;
inline constexpr int32_t kCommandBackground = IDM_BACKGROUND;
inline constexpr int32_t kCommandZoomIn = IDM_ZOOMIN;
inline constexpr int32_t kCommandZoomOut = IDM_ZOOMOUT;
inline constexpr int32_t kCommandFit = IDM_FITIMAGE;
// Commands that no button has and that act only with a loaded document.
inline constexpr int32_t kCommandActualSize = IDM_ACTUALSIZE;
inline constexpr int32_t kCommandCopyPicture = IDM_COPYPICTURE;
inline constexpr int32_t kCommandSavePicture = IDM_SAVEPICTURE;
inline constexpr int32_t kCommandShowOverlay = IDM_SHOWOVERLAY;
inline constexpr int32_t kCommandGoToDrawer = IDM_GOTODRAWER;
inline constexpr int32_t kCommandShowDrawn = IDM_SHOWDRAWN;
inline constexpr int32_t kCommandRenderGdi = IDM_RENDERGDI;
inline constexpr int32_t kCommandRenderGdiPlus = IDM_RENDERGDIPLUS;
inline constexpr int32_t kCommandRenderBoth = IDM_RENDERBOTH;
inline constexpr int32_t kCommandShowDifferences = IDM_SHOWDIFFERENCES;

// What draws the picture: the platform's GDI, its GDI+, or both side by side (GDI on the left).
enum class Renderer : int32_t { kGdi, kGdiPlus, kBoth };

// The picture's ground at start, a COLORREF: RGB(255, 255, 225).
inline constexpr uint32_t kInitialBackground = 0x00E1FFFF;

// The one canvas's view state, process-wide.
struct CanvasView {
    CanvasPoint panel_origin{10, 10};
    CanvasRect picture{65535, 65535, 65535, 65535};
    int32_t fit_mode = 1;
    int32_t dragging = 0;
    // 0 moving the button panel, 1 panning the picture.
    int32_t drag_kind = 0;
    CanvasPoint drag_anchor{0, 0};
    CanvasButton buttons[6] = {
        {u"Open...", kCommandOpen, 1, u"Open a metafile (Ctrl+O)"},
        {u"Fit Image", kCommandFit, 0, u"Fit the picture to the window (Ctrl+Shift+F)"},
        {u"Zoom In", kCommandZoomIn, 0, u"Zoom in (Ctrl++)"},
        {u"Zoom Out", kCommandZoomOut, 0, u"Zoom out (Ctrl+-)"},
        {u"Back Ground...", kCommandBackground, 1, u"Choose the picture's background colour"},
        {u"GDI", kCommandRenderGdiPlus, 0,
         u"Draw the picture with GDI, GDI+ or both side by side, in turn (View menu)"},
    };
    // The picture's ground, a COLORREF.
    uint32_t background_color = kInitialBackground;
    // The screen's dots per inch the panel is drawn for; its sizes below are those of 96.
    int32_t panel_dpi = 96;
    // Whether the clip region and the current record's bounds are drawn over the picture.
    bool show_overlay = false;
    // Whether the pixels the current record changed are shown over the picture dimmed.
    bool show_drawn = false;
    Renderer renderer = Renderer::kGdi;
    // With both drawn: whether the GDI picture's place shows where the two pictures differ.
    bool show_differences = false;
};

extern CanvasView g_canvas_view;

// The button panel, in panel coordinates: a grip bar on top of six buttons. These are its
// sizes at 96 DPI; PanelSizeOf gives them at the view's DPI.
inline constexpr int32_t kButtonCount = 6;
inline constexpr int32_t kPanelWidth = 84;
inline constexpr int32_t kGripBarHeight = 10;
inline constexpr int32_t kButtonHeight = 18;
inline constexpr int32_t kPanelHeight = kGripBarHeight + kButtonCount * kButtonHeight;

// Every coordinate of the picture rectangle stays within this distance of the client origin,
// so that the zoom's products, the pan's sums and the one-pixel border all fit in 32 bits and
// stay inside what the platform's drawing accepts.
inline constexpr int32_t kPictureCoordinateLimit = 1 << 26;

// Left press results of HitTestPanel besides a button row (0 .. 4).
inline constexpr int kHitOutsidePanel = -2;
inline constexpr int kHitGripBar = -1;

// Scroll codes of the record scroll bar (the platform's SB_ values).
enum RecordScrollCode {
    kScrollLineLeft = 0,
    kScrollLineRight = 1,
    kScrollPageLeft = 2,
    kScrollPageRight = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollLeft = 6,
    kScrollRight = 7,
};

bool PointInCanvasRect(const CanvasRect& rect, int32_t x, int32_t y);

struct PanelSize {
    int32_t width;
    int32_t grip_bar_height;
    int32_t button_height;
    // The grip bar and the buttons, which tile the panel exactly.
    int32_t height;
};
// The panel's sizes at the view's DPI, rounded; exactly the constants above at 96 DPI.
PanelSize PanelSizeOf(const CanvasView& view);

// The panel in client coordinates.
CanvasRect GetPanelRect(const CanvasView& view);
// The grip bar and button row `row` in panel coordinates.
CanvasRect GripBarRect(const CanvasView& view);
CanvasRect ButtonRect(const CanvasView& view, int row);
// What a press at client point (x, y) meets: kHitOutsidePanel, kHitGripBar or a button row.
int HitTestPanel(const CanvasView& view, int32_t x, int32_t y);

// The enabled flag of the button with `command`; 0 when no button has it.
int32_t IsCommandEnabled(const CanvasView& view, int32_t command);
// Enables Open and Back Ground always, Fit Image, Zoom In, Zoom Out and the renderer's button
// exactly when a loaded document is attached. 1 when any flag changed.
int UpdateButtonStates(CanvasView& view, int loaded);

// Sets the renderer; the renderer's button then names it and offers the next in turn.
void SetRenderer(CanvasView& view, Renderer renderer);
// The width of one picture's area in a client area `client_width` wide: half of it when both
// renderers are shown side by side.
int32_t PictureAreaWidth(const CanvasView& view, int32_t client_width);

// The header's rclFrame (in 0.01 mm); false when the header is too short to hold it.
bool ReadPictureFrame(RecordView header, CanvasRect* frame);
// Fits `frame` into a client area of width x height: the largest rectangle of the frame's
// proportions, centred, stored as the picture rectangle.
void FitPicture(CanvasView& view, const CanvasRect& frame, int32_t width, int32_t height);
// Zooms the picture by 6/5 (in) or 5/6 (out) about the centre of a client area of
// width x height and leaves fit mode. A Zoom In that would take the picture beyond
// kPictureCoordinateLimit leaves it as it is.
void ZoomPicture(CanvasView& view, int32_t width, int32_t height, bool zoom_in);
// The same step about client point (x, y), which keeps its place in the picture: the point
// under the pointer stays under it.
void ZoomPictureAt(CanvasView& view, int32_t x, int32_t y, bool zoom_in);
// Shows `frame` (in 0.01 mm) at the size it has on a screen of `dpi` dots per inch, centred in
// a client area of width x height, and leaves fit mode. A size that would take the picture
// beyond kPictureCoordinateLimit changes nothing and gives false.
bool ShowActualSize(CanvasView& view, const CanvasRect& frame, int32_t dpi, int32_t width,
                    int32_t height);

// Moves the panel with a drag of its grip bar to client point (x, y), keeping the panel
// inside a client area of width x height; the anchor follows the panel.
void MovePanel(CanvasView& view, int32_t width, int32_t height, int32_t x, int32_t y);
// Moves the picture with the pointer to client point (x, y), one to one, but never beyond
// kPictureCoordinateLimit.
void PanPicture(CanvasView& view, int32_t x, int32_t y);

// The record scroll bar's range and position.
struct RecordScrollBar {
    int32_t minimum;
    int32_t maximum;
    int32_t position;
};
// One twentieth of the records, at least 1.
int32_t RecordPageStep(const RecordScrollBar& bar);
// The position a scroll code leads to; the present position for codes that move nothing.
// `track_position` is the thumb's position while it is dragged.
int32_t ScrollRecordPosition(const RecordScrollBar& bar, int code, int32_t track_position);