// The State view: the state after the current record, following it and the filter, and a
// line that leads to the record that set its item.

#include "app/filter_list.h"
#include "app/keyboard.h"
#include "state/state_text.h"
#include "state/state_tracker.h"
#include "tests/win32/app_window_fixture.h"

namespace {

using AppStateViewTest = AppWindowTest;

constexpr int kStateView = 6;

std::u16string ControlText(HWND control) {
    std::u16string text(static_cast<size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1,
                        u'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// The state text after `current` under `filter`, its lines joined as the control shows them.
std::u16string ExpectedState(int32_t current, const RecordFilter* filter) {
    StateTracker tracker;
    tracker.Reset(g_document, filter);
    const GraphicsState* state = tracker.StateAt(current);
    std::vector<StateLine> lines;
    EXPECT_TRUE(state != nullptr && StateText(*state, tracker.PathOpenAtEnd(), &lines));
    std::u16string text;
    for (const StateLine& line : lines) {
        text += line.text + u"\r\n";
    }
    return text;
}

TEST_F(AppStateViewTest, FollowsTheCurrentRecordAndTheFilterAndLeadsToTheSettingRecord) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    // 1 transparent background, 2 text colour, 3 opaque background.
    EmfBuilder picture;
    picture.Add(RecordBuilder(18, 12).U32(8, TRANSPARENT));
    picture.Add(RecordBuilder(24, 12).U32(8, 0x00336699));
    picture.Add(RecordBuilder(18, 12).U32(8, OPAQUE));
    Open(WriteTempFile("state-view.emf", picture.Build()));
    HWND report = Child(IDC_REPORT);

    SetCurrentRecord(main_, 1, 1);
    ClickTab(kStateView);
    EXPECT_EQ(g_view_mode, kStateView);
    const std::u16string after_first = ExpectedState(1, nullptr);
    EXPECT_TRUE(ControlText(report) == after_first);
    // Stepping while the view is shown remakes it.
    SetCurrentRecord(main_, 3, 1);
    const std::u16string after_third = ExpectedState(3, nullptr);
    EXPECT_NE(after_third, after_first);
    EXPECT_TRUE(ControlText(report) == after_third);

    // Record 3 switched off in the filter list: the state walks again without it.
    ClickTab(4);
    HWND list = Child(IDC_FILTERLIST);
    ShowRecordInFilterList(list, 3);
    SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(g_record_filter.IsOff(3));
    ClickTab(kStateView);
    const std::u16string filtered = ExpectedState(3, ListedRecordFilter());
    EXPECT_NE(filtered, after_third);
    EXPECT_TRUE(ControlText(report) == filtered);
    // Left steps back a record and the view follows; Up stays the text's.
    EXPECT_FALSE(StepFromStateView(main_, MSG{report, WM_KEYDOWN, VK_UP, 0, 0, {}}));
    EXPECT_TRUE(StepFromStateView(main_, MSG{report, WM_KEYDOWN, VK_LEFT, 0, 0, {}}));
    EXPECT_EQ(g_current_record, 2);
    EXPECT_TRUE(ControlText(report) == ExpectedState(2, ListedRecordFilter()));

    // Enter on the text colour's line goes to the record that set it.
    LineModel* lines = TextViewLines(report);
    int32_t line = 0;
    while (line < lines->line_count() && lines->RecordOfLine(line) != 2) {
        ++line;
    }
    ASSERT_LT(line, lines->line_count());
    SetTextViewSelection(report, {line, 0}, {line, 0});
    SendMessageW(report, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(g_view_mode, 0);
    EXPECT_EQ(g_current_record, 2);
}

}  // namespace
