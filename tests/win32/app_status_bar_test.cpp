// The records a file offers, the record-index field and the status bar: a damaged file offers
// only the records read, the field always shows the current record and fits its numbers, and
// the status bar follows the current record and the picture.
#include "app/status_bar.h"

#include <cmath>

#include "tests/support/corpus.h"
#include "tests/win32/app_window_fixture.h"
#include "textview/screen_dpi_win.h"

namespace {

using AppStatusBarTest = SharedAppWindowTest;

std::wstring PartText(HWND bar, int part) {
    wchar_t text[256] = L"";
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

int ScrollMaximum(HWND canvas) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE;
    GetScrollInfo(canvas, SB_HORZ, &info);
    return info.nMax;
}

// Whatever the header claims, the current record, the record scroll bar, the keys and the
// field stop at the last record read; the status bar counts those.
void ExpectOnlyTheStoredRecords(HWND main_window, int32_t stored) {
    const int32_t last = stored - 1;
    EXPECT_EQ(g_document.Store().count(), stored);
    EXPECT_EQ(g_current_record, last);
    EXPECT_EQ(ScrollMaximum(GetDlgItem(main_window, IDC_CANVAS)), last);
    SendMessageW(main_window, WM_KEYDOWN, VK_HOME, 0);
    SendMessageW(main_window, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(g_current_record, last);
    SetDlgItemTextW(main_window, IDC_RECORDINDEX, std::to_wstring(stored).c_str());
    EXPECT_EQ(g_seam_log.beeps, 1);
    EXPECT_EQ(g_current_record, last);
    EXPECT_EQ(PartText(GetDlgItem(main_window, IDC_STATUSBAR), 0),
              L"Record " + std::to_wstring(last) + L" of " + std::to_wstring(stored));
}

TEST_F(AppStatusBarTest, AHeaderClaimingMoreRecordsThanTheFileHoldsOffersOnlyThoseRead) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    EmfBuilder picture;
    for (int i = 0; i < 28; ++i) {
        picture.Add(RecordBuilder(18, 12).U32(8, TRANSPARENT));
    }
    Open(WriteTempFile("claims-2034.emf", picture.HeaderU32(52, 2034).Build()));
    ASSERT_GT(g_document.HeaderRecordCount(), 2000);
    ExpectOnlyTheStoredRecords(main_, 30);
}

TEST_F(AppStatusBarTest, TheDamagedCorpusFileOffersOnlyTheRecordsRead) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(corpus + "/corrupted/bad_corrupted_2017-02-11-230400.emf");
    ASSERT_TRUE(g_document.IsLoaded());
    ASSERT_GT(g_document.HeaderRecordCount(), 2000);
    ExpectOnlyTheStoredRecords(main_, 30);
}

TEST_F(AppStatusBarTest, ShowsTheRecordItsTypeAndOffsetTheZoomAndTheSize) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    HWND bar = Child(IDC_STATUSBAR);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(PartText(bar, 0), L"No file");
    EmfBuilder picture;
    for (int i = 0; i < 1232; ++i) {
        picture.Add(RecordBuilder(18, 12).U32(8, TRANSPARENT));
    }
    Open(WriteTempFile("status-1234.emf", picture.Frame(0, 0, 21000, 29700).Build()));
    EXPECT_EQ(PartText(bar, 0), L"Record 1,233 of 1,234");
    // The header is 108 bytes, each record before the last 12.
    EXPECT_EQ(PartText(bar, 1), L"EMR_EOF at byte 14,892");
    TypeIndex(L"1");
    EXPECT_EQ(PartText(bar, 0), L"Record 1 of 1,234");
    EXPECT_EQ(PartText(bar, 1), L"EMR_SETBKMODE at byte 108");
    Key(VK_RIGHT);
    EXPECT_EQ(PartText(bar, 1), L"EMR_SETBKMODE at byte 120");
    EXPECT_EQ(PartText(bar, 2), L"GDI");
    EXPECT_EQ(PartText(bar, 4), L"210.00 x 297.00 mm");
    // The shown width against the frame's 210 mm at the screen's DPI.
    const int shown = g_canvas_view.picture.right - g_canvas_view.picture.left;
    const long percent = std::lround(100.0 * shown * 2540 / (21000.0 * WindowDpi(main_)));
    EXPECT_EQ(PartText(bar, 3), std::to_wstring(percent) + L"%");
    EXPECT_EQ(PartText(bar, 5), L"");
}

TEST_F(AppStatusBarTest, AppendGroupedPutsACommaBetweenGroupsOfThree) {
    for (const auto& [value, text] :
         {std::pair{0u, u"0"}, std::pair{999u, u"999"}, std::pair{1000u, u"1,000"},
          std::pair{4294967295u, u"4,294,967,295"}}) {
        FixedWideText<32> out;
        AppendGrouped(out, value);
        EXPECT_EQ(out.view(), std::u16string_view(text));
    }
}

// A refused number does not stay: Enter, Escape and leaving the field show the current record.
TEST_F(AppStatusBarTest, TheIndexFieldShowsTheCurrentRecordAgainWhenLeft) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteLongPicture(37, "field-37.emf"));
    SetForegroundWindow(main_);
    HWND field = Child(IDC_RECORDINDEX);
    for (int leave = 0; leave < 3; ++leave) {
        SetFocus(field);
        for (const wchar_t* typed : {L"9", L"99", L"999"}) {
            TypeIndex(typed);
        }
        EXPECT_EQ(g_current_record, 9);
        EXPECT_EQ(TextOf(field), L"999");
        if (leave < 2) {
            SendMessageW(field, WM_KEYDOWN, leave == 0 ? VK_RETURN : VK_ESCAPE, 0);
        } else {
            SetFocus(Child(IDC_CALLTEXT));
        }
        EXPECT_EQ(TextOf(field), L"9") << leave;
    }
}

// Wide enough for the largest record number of the file, and never narrower than at start.
TEST_F(AppStatusBarTest, TheIndexFieldFitsTheLargestRecordNumber) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    HWND field = Child(IDC_RECORDINDEX);
    RECT start;
    GetWindowRect(field, &start);
    Open(WriteLongPicture(237749, "field-237749.emf"));
    TypeIndex(L"237748");
    RECT format;
    SendMessageW(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    HDC dc = GetDC(field);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
    SIZE text = {};
    GetTextExtentPoint32W(dc, L"237748", 6, &text);
    SelectObject(dc, previous);
    ReleaseDC(field, dc);
    EXPECT_GE(format.right - format.left, text.cx);
    EXPECT_GE(static_cast<int16_t>(SendMessageW(field, EM_POSFROMCHAR, 0, 0) & 0xFFFF),
              format.left);
    Open(WriteLongPicture(20, "field-20.emf"));
    RECT small;
    GetWindowRect(field, &small);
    EXPECT_EQ(small.right - small.left, start.right - start.left);
}

}  // namespace
