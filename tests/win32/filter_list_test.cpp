// The filter list: its columns, one checked row per drawing record in one-line form, and the
// two questions the canvas asks it while playing.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "app/app_globals.h"
#include "app/filter_list.h"
#include "app/resource.h"
#include "calls/call_text.h"
#include "tests/support/emf_builder.h"
#include "tests/win32/canvas_test_support.h"

namespace {

std::string RowText(HWND list, int row, int column) {
    wchar_t buffer[kCallTextUnits] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(kCallTextUnits);
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return ToUtf8(reinterpret_cast<const char16_t*>(buffer));
}

int Rows(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

bool Checked(HWND list, int row) {
    return ListView_GetCheckState(list, row) != 0;
}

std::string OneLineCallText(int32_t record_index) {
    const int verbose = VerboseFlag();
    SetVerboseFlag(0);
    FixedWideText<kCallTextUnits> text;
    BuildCallText(g_document.RecordAt(record_index), text);
    SetVerboseFlag(verbose);
    return ToUtf8(text.view());
}

// Header, a brush, its selection, a rectangle, end of file.
std::string WriteFiveRecords() {
    EmfBuilder picture;
    picture.Handles(2)
        .Add(RecordBuilder(39, 24).U32(8, 1).U32(12, BS_SOLID).U32(16, RGB(0, 128, 0)))
        .Add(RecordBuilder(37, 12).U32(8, 1))
        .Add(RecordBuilder(43, 24).I32(8, 10).I32(12, 10).I32(16, 90).I32(20, 90));
    return WriteTempFile("five.emf", picture.Build());
}

TEST(FilterList, IsCreatedHiddenWithItsTwoColumns) {
    CanvasHost host(200, 200);
    HWND list = host.AddFilterList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(list, GetDlgItem(host.parent(), IDC_FILTERLIST));
    EXPECT_FALSE(IsWindowVisible(list));
    const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, style & LVS_TYPEMASK);
    EXPECT_TRUE(style & LVS_NOSORTHEADER);
    const LRESULT extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(extended & LVS_EX_CHECKBOXES);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    wchar_t name[32] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = name;
    column.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(std::wstring(L"Number"), name);
    EXPECT_EQ(64, column.cx);
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(std::wstring(L"API Call"), name);
    EXPECT_EQ(600, column.cx);
}

TEST(FilterList, FillNeedsADocumentAndTheList) {
    CanvasHost host(200, 200);
    EXPECT_EQ(0, FillFilterList(host.parent()));
    host.AddFilterList();
    EXPECT_EQ(0, FillFilterList(host.parent()));
    EXPECT_EQ(0, AnyRecordUnchecked());
}

TEST(FilterList, HeaderAndEndOfFileAloneGiveNoRows) {
    CanvasHost host(200, 200);
    HWND list = host.AddFilterList();
    ASSERT_TRUE(host.Open(WriteTempFile("two.emf", EmfBuilder().Build())));
    EXPECT_EQ(1, FillFilterList(host.parent()));
    EXPECT_EQ(0, Rows(list));
    EXPECT_EQ(1, IsRecordPlayed(0));
    EXPECT_EQ(1, IsRecordPlayed(1));
    EXPECT_EQ(0, IsRecordPlayed(2));
    EXPECT_EQ(0, AnyRecordUnchecked());
}

TEST(FilterList, OneCheckedRowPerDrawingRecordInOneLineForm) {
    CanvasHost host(200, 200);
    HWND list = host.AddFilterList();
    SetVerboseFlag(1);
    ASSERT_TRUE(host.Open(WriteFiveRecords()));
    EXPECT_EQ(0, VerboseFlag());
    ASSERT_EQ(3, Rows(list));
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(std::to_string(row + 1), RowText(list, row, 0));
        EXPECT_TRUE(Checked(list, row));
        EXPECT_EQ(OneLineCallText(row + 1), RowText(list, row, 1));
    }
    // The brush record has a parameter block in verbose form; the list never shows it.
    EXPECT_EQ(0u, RowText(list, 0, 1).find("CreateBrushIndirect("));
    EXPECT_EQ(std::string::npos, RowText(list, 0, 1).find('\n'));
    EXPECT_EQ(0, AnyRecordUnchecked());
    for (uint32_t record = 0; record < 5; ++record) {
        EXPECT_EQ(1, IsRecordPlayed(record)) << record;
    }
    EXPECT_EQ(0, IsRecordPlayed(5));
}

TEST(FilterList, ClearedBoxSkipsItsRecordOnly) {
    CanvasHost host(200, 200);
    HWND list = host.AddFilterList();
    ASSERT_TRUE(host.Open(WriteFiveRecords()));
    ListView_SetCheckState(list, 0, FALSE);
    EXPECT_EQ(1, AnyRecordUnchecked());
    EXPECT_EQ(0, IsRecordPlayed(1));
    EXPECT_EQ(1, IsRecordPlayed(0));
    EXPECT_EQ(1, IsRecordPlayed(2));
    EXPECT_EQ(1, IsRecordPlayed(4));
}

TEST(FilterList, RefillChecksEveryBoxAgain) {
    CanvasHost host(200, 200);
    HWND list = host.AddFilterList();
    ASSERT_TRUE(host.Open(WriteFiveRecords()));
    ListView_SetCheckState(list, 0, FALSE);
    ListView_SetCheckState(list, 2, FALSE);
    ASSERT_TRUE(host.Open(WriteFiveRecords()));
    ASSERT_EQ(3, Rows(list));
    for (int row = 0; row < 3; ++row) {
        EXPECT_TRUE(Checked(list, row)) << row;
    }
    EXPECT_EQ(0, AnyRecordUnchecked());
}

TEST(FilterList, WithoutTheListOnlyHeaderAndLastRecordArePlayed) {
    CanvasHost host(200, 200);
    HWND list = host.AddFilterList();
    ASSERT_TRUE(host.Open(WriteFiveRecords()));
    DestroyWindow(list);
    EXPECT_EQ(1, IsRecordPlayed(0));
    EXPECT_EQ(0, IsRecordPlayed(2));
    EXPECT_EQ(1, IsRecordPlayed(4));
    EXPECT_EQ(0, AnyRecordUnchecked());
}

}  // namespace
