// Records the sample metafiles shipped in samples/ through the platform's GDI.
//
// Run it under Wine (tools/make-samples.sh) or on Windows with the folder to write into as
// its one argument. Each picture exercises a family of records: shapes and paths, text and
// fonts, bitmaps, clipping with a world transform.
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A4 landscape in 0.01 mm, the frame every sample is recorded into.
constexpr RECT kFrame = {0, 0, 29700, 21000};

HDC BeginRecording(const std::wstring& path, const wchar_t* description) {
    HDC reference = GetDC(nullptr);
    HDC dc = CreateEnhMetaFileW(reference, path.c_str(), &kFrame, description);
    ReleaseDC(nullptr, reference);
    if (dc != nullptr) {
        // Logical units of 0.1 mm, so coordinates read as millimetres times ten.
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, 2970, 2100, nullptr);
        const int width = GetDeviceCaps(dc, HORZRES) * 2970 / (GetDeviceCaps(dc, HORZSIZE) * 10);
        const int height = GetDeviceCaps(dc, VERTRES) * 2100 / (GetDeviceCaps(dc, VERTSIZE) * 10);
        SetViewportExtEx(dc, width, height, nullptr);
    }
    return dc;
}

bool EndRecording(HDC dc) {
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    if (metafile == nullptr) {
        return false;
    }
    DeleteEnhMetaFile(metafile);
    return true;
}

HFONT MakeFont(const wchar_t* face, int height, int weight, bool italic, int escapement) {
    LOGFONTW font = {};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfEscapement = escapement;
    font.lfOrientation = escapement;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

void DrawShapes(HDC dc) {
    HPEN outline = CreatePen(PS_SOLID, 8, RGB(30, 30, 90));
    HBRUSH orange = CreateSolidBrush(RGB(240, 140, 40));
    HBRUSH hatched = CreateHatchBrush(HS_DIAGCROSS, RGB(40, 120, 200));
    HGDIOBJ old_pen = SelectObject(dc, outline);
    HGDIOBJ old_brush = SelectObject(dc, orange);

    Rectangle(dc, 150, 150, 850, 650);
    SelectObject(dc, hatched);
    Ellipse(dc, 1000, 150, 1800, 650);
    RoundRect(dc, 1950, 150, 2800, 650, 200, 200);

    SelectObject(dc, GetStockObject(LTGRAY_BRUSH));
    Pie(dc, 150, 800, 850, 1500, 850, 1150, 500, 800);
    Chord(dc, 1000, 800, 1800, 1500, 1800, 1300, 1000, 1000);
    Arc(dc, 1950, 800, 2800, 1500, 2800, 1150, 1950, 1150);

    // A star as a polygon, a zig-zag as a polyline.
    POINT star[10];
    for (int i = 0; i < 10; ++i) {
        const double angle = -3.14159265 / 2 + i * 3.14159265 / 5;
        const double radius = i % 2 == 0 ? 300 : 120;
        star[i] = POINT{static_cast<LONG>(500 + radius * std::cos(angle)),
                        static_cast<LONG>(1800 + radius * std::sin(angle))};
    }
    SelectObject(dc, orange);
    SetPolyFillMode(dc, WINDING);
    Polygon(dc, star, 10);
    POINT zigzag[8];
    for (int i = 0; i < 8; ++i) {
        zigzag[i] = POINT{1000 + i * 110, i % 2 == 0 ? 1600 : 2000};
    }
    Polyline(dc, zigzag, 8);

    // A path filled and stroked, with a Bezier curve in it.
    HPEN dashed = CreatePen(PS_DASH, 1, RGB(200, 0, 0));
    SelectObject(dc, dashed);
    BeginPath(dc);
    MoveToEx(dc, 1950, 1600, nullptr);
    const POINT curve[3] = {{2200, 1500}, {2500, 2050}, {2800, 1700}};
    PolyBezierTo(dc, curve, 3);
    LineTo(dc, 2800, 2000);
    LineTo(dc, 1950, 2000);
    CloseFigure(dc);
    EndPath(dc);
    StrokeAndFillPath(dc);

    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(dashed);
    DeleteObject(outline);
    DeleteObject(orange);
    DeleteObject(hatched);
}

void DrawText(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    HFONT title = MakeFont(L"Arial", -160, FW_BOLD, false, 0);
    HFONT italic = MakeFont(L"Times New Roman", -110, FW_NORMAL, true, 0);
    HFONT turned = MakeFont(L"Arial", -90, FW_NORMAL, false, 450);
    HGDIOBJ old_font = SelectObject(dc, title);

    SetTextColor(dc, RGB(20, 60, 140));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    const wchar_t heading[] = L"Orvella sample: text";
    TextOutW(dc, 150, 150, heading, lstrlenW(heading));

    SelectObject(dc, italic);
    SetTextColor(dc, RGB(120, 30, 30));
    const wchar_t line[] = L"ExtTextOut, clipped to its rectangle: \u00e9t\u00e9 \u20ac 5";
    RECT clip = {150, 500, 1800, 650};
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(255, 240, 200));
    ExtTextOutW(dc, 150, 500, ETO_OPAQUE | ETO_CLIPPED, &clip, line, lstrlenW(line), nullptr);
    SetBkMode(dc, TRANSPARENT);

    SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    const char ansi[] = "Centred 8-bit text \"quoted\"";
    ExtTextOutA(dc, 1485, 1000, 0, nullptr, ansi, lstrlenA(ansi), nullptr);

    SelectObject(dc, turned);
    SetTextAlign(dc, TA_LEFT | TA_BOTTOM);
    SetTextColor(dc, RGB(0, 110, 60));
    const wchar_t slanted[] = L"Turned by 45 degrees";
    TextOutW(dc, 400, 1900, slanted, lstrlenW(slanted));

    SelectObject(dc, old_font);
    DeleteObject(title);
    DeleteObject(italic);
    DeleteObject(turned);
}

// A 64 x 64 24-bit gradient, drawn stretched, copied with a raster operation, and used as a
// pattern brush.
void DrawBitmaps(HDC dc) {
    constexpr int kSide = 64;
    std::vector<BYTE> bits(kSide * kSide * 3);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            BYTE* pixel = &bits[(y * kSide + x) * 3];
            pixel[0] = static_cast<BYTE>(x * 4);        // blue
            pixel[1] = static_cast<BYTE>(y * 4);        // green
            pixel[2] = static_cast<BYTE>(255 - x * 2);  // red
        }
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSide;
    info.bmiHeader.biHeight = kSide;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 150, 150, 1200, 900, 0, 0, kSide, kSide, bits.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);

    HDC memory = CreateCompatibleDC(dc);
    void* section_bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &section_bits, nullptr, 0);
    if (section != nullptr && section_bits != nullptr) {
        CopyMemory(section_bits, bits.data(), bits.size());
        HGDIOBJ old_bitmap = SelectObject(memory, section);
        BitBlt(dc, 1500, 150, kSide, kSide, memory, 0, 0, SRCCOPY);
        StretchBlt(dc, 1500, 400, 1200, 650, memory, 0, 0, kSide, kSide, NOTSRCCOPY);
        SelectObject(memory, old_bitmap);

        HBRUSH pattern = CreatePatternBrush(section);
        HGDIOBJ old_brush = SelectObject(dc, pattern);
        Ellipse(dc, 150, 1200, 1350, 1950);
        SelectObject(dc, old_brush);
        DeleteObject(pattern);
        DeleteObject(section);
    }
    DeleteDC(memory);

    HBRUSH grey = CreateSolidBrush(RGB(90, 90, 90));
    HGDIOBJ old_brush = SelectObject(dc, grey);
    PatBlt(dc, 1500, 1200, 1200, 200, PATCOPY);
    SelectObject(dc, old_brush);
    DeleteObject(grey);
}

// A clip region made of two rectangles, a world transform that rotates and scales, and
// drawing inside both.
void DrawClipAndTransform(HDC dc) {
    SaveDC(dc);
    HRGN left = CreateRectRgn(0, 0, 500, 700);
    HRGN right = CreateRectRgn(600, 100, 1100, 800);
    CombineRgn(left, left, right, RGN_OR);
    ExtSelectClipRgn(dc, left, RGN_COPY);
    DeleteObject(left);
    DeleteObject(right);
    HBRUSH stripes = CreateHatchBrush(HS_BDIAGONAL, RGB(160, 0, 120));
    HGDIOBJ old_brush = SelectObject(dc, stripes);
    Rectangle(dc, 100, 100, 2800, 2000);
    SelectObject(dc, old_brush);
    DeleteObject(stripes);
    RestoreDC(dc, -1);

    SaveDC(dc);
    SetGraphicsMode(dc, GM_ADVANCED);
    const double angle = 20.0 * 3.14159265 / 180.0;
    XFORM turn = {static_cast<FLOAT>(std::cos(angle)),
                  static_cast<FLOAT>(std::sin(angle)),
                  static_cast<FLOAT>(-std::sin(angle)),
                  static_cast<FLOAT>(std::cos(angle)),
                  1900.0f,
                  500.0f};
    SetWorldTransform(dc, &turn);
    XFORM grow = {1.5f, 0.0f, 0.0f, 1.5f, 0.0f, 0.0f};
    ModifyWorldTransform(dc, &grow, MWT_LEFTMULTIPLY);
    IntersectClipRect(dc, -300, -300, 450, 600);
    HBRUSH teal = CreateSolidBrush(RGB(0, 150, 150));
    old_brush = SelectObject(dc, teal);
    Rectangle(dc, -200, -200, 400, 400);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, -250, -250, 450, 450);
    SelectObject(dc, old_brush);
    DeleteObject(teal);
    RestoreDC(dc, -1);
}

bool Record(const std::wstring& folder, const wchar_t* name, const wchar_t* description,
            void (*draw)(HDC)) {
    HDC dc = BeginRecording(folder + L"\\" + name, description);
    if (dc == nullptr) {
        return false;
    }
    draw(dc);
    return EndRecording(dc);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring folder = argc > 1 ? argv[1] : L".";
    bool ok = true;
    ok &= Record(folder, L"shapes.emf", L"Orvella\0Shapes and paths\0\0", DrawShapes);
    ok &= Record(folder, L"text.emf", L"Orvella\0Text and fonts\0\0", DrawText);
    ok &= Record(folder, L"bitmaps.emf", L"Orvella\0Bitmaps\0\0", DrawBitmaps);
    ok &= Record(folder, L"clip-transform.emf", L"Orvella\0Clip region and transform\0\0",
                 DrawClipAndTransform);
    return ok ? 0 : 1;
}
