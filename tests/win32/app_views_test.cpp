// The views: switching between them, and the reports the report control then holds.

#include "reports/call_list_report.h"
#include "reports/emfplus_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/support/corpus.h"
#include "tests/win32/app_window_fixture.h"
#include "textview/text_view_win.h"

namespace {

using AppViewsTest = AppWindowTest;

// The report control's whole text, as another program reads it.
std::u16string ReportControlText(HWND report) {
    const LRESULT length = SendMessageW(report, WM_GETTEXTLENGTH, 0, 0);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const LRESULT copied =
        SendMessageW(report, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

// Selects the start of the report: a rebuild of the report selects nothing.
void MarkReport(HWND report) {
    SetTextViewSelection(report, {0, 0}, {1, 0});
}

bool Marked(HWND report) {
    TextPos anchor;
    TextPos caret;
    return GetTextViewSelection(report, &anchor, &caret) && caret == TextPos{1, 0};
}

std::u16string ClipboardText() {
    std::u16string text;
    if (OpenClipboard(nullptr)) {
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        const char16_t* units =
            data != nullptr ? static_cast<const char16_t*>(GlobalLock(data)) : nullptr;
        if (units != nullptr) {
            text = units;
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

// The first difference between two texts, for a readable failure.
std::string FirstDifference(const std::u16string& actual, const std::u16string& expected) {
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    const size_t from = at > 40 ? at - 40 : 0;
    return "lengths " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
           ", first difference at " + std::to_string(at) + ": got \"" +
           ToUtf8(actual.substr(from, 80)) + "\", expected \"" + ToUtf8(expected.substr(from, 80)) +
           "\"";
}

TEST_F(AppViewsTest, TabsBuildAReportOnlyWhenAnotherReplacedIt) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    HWND report = Child(IDC_REPORT);
    // Before any file a text view leaves the control alone.
    ClickTab(1);
    EXPECT_EQ(g_view_mode, 1);
    EXPECT_EQ(g_report_state, -1);
    EXPECT_EQ(ReportControlText(report), u"");
    EXPECT_EQ(BuildReportView(main_, 1), 0);

    Open(WriteLongPicture(5, "views-five.emf"));
    ClickTab(1);
    EXPECT_EQ(g_report_state, 1);
    MarkReport(report);
    // The selected tab selected again changes nothing, not even the picture on screen.
    ValidateRect(main_, nullptr);
    ClickTab(1);
    EXPECT_TRUE(Marked(report));
    RECT update;
    EXPECT_FALSE(GetUpdateRect(main_, &update, FALSE));
    // Header, Filter, Header builds the header once.
    ClickTab(4);
    ClickTab(1);
    EXPECT_TRUE(Marked(report));
    // The record list, chosen from code, selects its tab and replaces the header.
    EXPECT_EQ(SwitchView(main_, 2), 1);
    EXPECT_EQ(SendMessageW(Child(IDC_MODESWITCHER), TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(g_report_state, 2);
    EXPECT_EQ(SwitchView(main_, 7), 0);
    EXPECT_EQ(g_view_mode, 2);
    ClickTab(1);
    EXPECT_EQ(g_report_state, 1);
    EXPECT_FALSE(Marked(report));
}

TEST_F(AppViewsTest, EachViewShowsOnlyItsControls) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteLongPicture(5, "views-shown.emf"));
    const int content[] = {IDC_CANVAS, IDC_CALLTEXT, IDC_RECORDINDEX, IDC_REPORT, IDC_FILTERLIST};
    const bool shown[6][5] = {
        {true, true, true, false, false},   {false, false, false, true, false},
        {false, false, false, true, false}, {false, false, false, true, false},
        {false, false, false, false, true}, {false, false, false, true, false}};
    SetFocus(main_);
    for (int mode : {4, 1, 5, 2, 3, 0}) {
        SCOPED_TRACE(mode);
        ClickTab(mode);
        EXPECT_EQ(g_view_mode, mode);
        // The keys go to what the view shows.
        const int focused = mode == 0 ? 0 : mode == 4 ? IDC_FILTERLIST : IDC_REPORT;
        EXPECT_EQ(GetFocus(), focused == 0 ? main_ : Child(focused));
        EXPECT_EQ(SendMessageW(Child(IDC_MODESWITCHER), TCM_GETCURSEL, 0, 0), mode);
        EXPECT_TRUE(IsWindowVisible(Child(IDC_MODESWITCHER)));
        for (int i = 0; i < 5; ++i) {
            if (Child(content[i]) != nullptr) {
                EXPECT_EQ(IsWindowVisible(Child(content[i])) != FALSE, shown[mode][i])
                    << "control " << content[i];
            }
        }
    }
}

// The control must answer with exactly the portable text of each report, line breaks, tabs
// and the dump's high characters included; so must the clipboard after Select All and Copy.
TEST_F(AppViewsTest, ReportControlHoldsThePortableReportTextsOfTheCorpus) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    for (const std::string& path : ListEmfFiles(corpus + "/good")) {
        SCOPED_TRACE(path);
        Open(path);
        if (!g_document.IsLoaded()) {
            continue;
        }
        for (int mode : {1, 2, 3, 5}) {
            SCOPED_TRACE(mode);
            ClickTab(mode);
            EXPECT_EQ(g_report_state, mode);
            ReportText expected;
            if (mode == 1) {
                BuildHeaderReportText(g_document, &expected);
            } else if (mode == 2) {
                BuildRecordListText(g_document, &expected);
            } else if (mode == 3) {
                BuildCallListText(g_document, &expected, 1);
            } else {
                CollectReport(*OpenEmfPlusReport(g_document), &expected);
            }
            const std::u16string joined = JoinReport(expected);
            const std::u16string held = ReportControlText(Child(IDC_REPORT));
            ASSERT_TRUE(held == joined) << FirstDifference(held, joined);
            if (g_document.Store().count() > 50000 && mode == 3) {
                SendMessageW(Child(IDC_REPORT), WM_COMMAND, kTextViewSelectAll, 0);
                SendMessageW(Child(IDC_REPORT), WM_COMMAND, kTextViewCopy, 0);
                const std::u16string copied = ClipboardText();
                EXPECT_TRUE(copied == joined) << FirstDifference(copied, joined);
            }
            // The first EMF+ line leads to the comment record that holds it.
            const int32_t host = TextViewLines(Child(IDC_REPORT))->RecordOfLine(0);
            if (mode == 5 && host >= 0) {
                SetTextViewSelection(Child(IDC_REPORT), {0, 0}, {0, 0});
                SendMessageW(Child(IDC_REPORT), WM_KEYDOWN, VK_RETURN, 0);
                Pump();
                EXPECT_EQ(g_view_mode, 0);
                EXPECT_EQ(g_current_record, host);
            }
        }
        ClickTab(0);
    }
    EXPECT_EQ(VerboseFlag(), 1);
}

// The Find dialog's request selects the next match and shows it; Enter on a line of a
// record's entry makes that record current in "The EMF", as a double-click does.
TEST_F(AppViewsTest, FindSelectsTheMatchAndARecordsLineGoesToIt) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteLongPicture(3000, "views-find.emf"));
    ClickTab(3);
    HWND report = Child(IDC_REPORT);
    SendMessageW(report, WM_COMMAND, kTextViewFind, 0);
    HWND dialog = FindWindowW(L"#32770", nullptr);
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, 0x480, L"2500\t");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    Pump();
    TextPos anchor;
    TextPos caret;
    ASSERT_TRUE(GetTextViewSelection(report, &anchor, &caret));
    LineModel* lines = TextViewLines(report);
    EXPECT_EQ(lines->Text(anchor, caret), u"2500\t");
    EXPECT_EQ(lines->RecordOfLine(anchor.line), 2500);
    EXPECT_LE(TextViewTopLine(report), anchor.line);
    EXPECT_GT(TextViewTopLine(report), anchor.line - 100);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump();

    struct Case {
        int view;
        int32_t record;
        bool double_click;
    };
    for (const Case c : {Case{3, 2500, false}, Case{2, 17, false}, Case{2, 4, true}}) {
        SCOPED_TRACE(c.record);
        ClickTab(c.view);
        lines = TextViewLines(report);
        int32_t line = 0;
        while (lines->RecordOfLine(line) != c.record) {
            ++line;
        }
        // The entry's last line leads there too.
        while (lines->RecordOfLine(line + 1) == c.record) {
            ++line;
        }
        SetTextViewSelection(report, {line, 0}, {line, 0});
        SetFocus(report);
        if (c.double_click) {
            HDC surface = GetDC(report);
            SelectObject(surface,
                         reinterpret_cast<HGDIOBJ>(SendMessageW(report, WM_GETFONT, 0, 0)));
            TEXTMETRICW metrics = {};
            GetTextMetricsW(surface, &metrics);
            ReleaseDC(report, surface);
            const int y =
                (line - TextViewTopLine(report)) * metrics.tmHeight + metrics.tmHeight / 2;
            const LPARAM at = MAKELPARAM(20, y);
            SendMessageW(report, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        } else {
            SendMessageW(report, WM_KEYDOWN, VK_RETURN, 0);
        }
        Pump();
        EXPECT_EQ(g_view_mode, 0);
        EXPECT_EQ(GetFocus(), main_);
        EXPECT_EQ(g_current_record, c.record);
        EXPECT_EQ(TextOf(IDC_CALLTEXT), CallPaneTextOf(c.record));
    }
}

// Switching to Records, GDI calls or Filter shows and selects the current record's entry or
// row, each time; the header has no entry in the call list and no row: nothing is selected.
TEST_F(AppViewsTest, TheRecordViewsFollowTheCurrentRecord) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteLongPicture(3000, "views-follow.emf"));
    HWND report = Child(IDC_REPORT);
    HWND list = Child(IDC_FILTERLIST);
    for (int32_t record : {5, 2500, 0}) {
        SCOPED_TRACE(record);
        TypeIndex(std::to_wstring(record).c_str());
        for (int view : {2, 3}) {
            ClickTab(view);
            TextPos anchor;
            TextPos caret;
            ASSERT_TRUE(GetTextViewSelection(report, &anchor, &caret));
            const TextPos from = std::min(anchor, caret);
            const TextPos to = std::max(anchor, caret);
            LineModel* lines = TextViewLines(report);
            if (view == 3 && record == 0) {
                EXPECT_EQ(from, to);
            } else {
                EXPECT_EQ(from.column, 0);
                EXPECT_EQ(to.column, 0);
                EXPECT_EQ(lines->RecordOfLine(from.line), record);
                EXPECT_NE(lines->RecordOfLine(from.line - 1), record);
                EXPECT_EQ(lines->RecordOfLine(to.line - 1), record);
                EXPECT_NE(lines->RecordOfLine(to.line), record);
                EXPECT_EQ(TextViewTopLine(report), from.line);
            }
            ClickTab(0);
        }
        ClickTab(4);
        const int row = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
        EXPECT_EQ(row, record - 1);
        EXPECT_EQ(ListView_GetSelectedCount(list), record > 0 ? 1u : 0u);
        if (row >= 0) {
            EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), row);
            const int top = ListView_GetTopIndex(list);
            EXPECT_TRUE(row >= top && row < top + ListView_GetCountPerPage(list)) << top;
        }
        ClickTab(0);
    }
}

// The Find dialog belongs to the main window and, closed, gives the keyboard back to the view;
// a text that is nowhere is said so over the dialog, or over the main window without it.
TEST_F(AppViewsTest, TheFindDialogBelongsToTheMainWindowAndSaysWhatItCannotFind) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteLongPicture(5, "views-find-miss.emf"));
    SetForegroundWindow(main_);
    ClickTab(3);
    HWND report = Child(IDC_REPORT);
    SendMessageW(report, WM_COMMAND, kTextViewFind, 0);
    HWND dialog = FindWindowW(L"#32770", nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main_);
    SetDlgItemTextW(dialog, 0x480, L"xyz");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(g_seam_log.box_texts, std::vector<std::wstring>{L"Cannot find \"xyz\""});
    EXPECT_EQ(g_seam_log.box_owner, dialog);
    EXPECT_EQ(g_seam_log.box_caption, L"Orvella");
    EXPECT_EQ(g_seam_log.box_type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    Pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(GetFocus(), report);
    EXPECT_EQ(GetActiveWindow(), main_);
    SendMessageW(report, WM_COMMAND, kTextViewFindPrevious, 0);
    EXPECT_EQ(g_seam_log.box_texts.size(), 2u);
    EXPECT_EQ(g_seam_log.box_owner, main_);
}

}  // namespace
