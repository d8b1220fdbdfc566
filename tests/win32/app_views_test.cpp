// The five views: switching between them, and the reports the report control then holds.
#include <richedit.h>

#include <chrono>
#include <cstdio>

#include "reports/call_list_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/win32/app_window_fixture.h"

namespace {

using AppViewsTest = AppWindowTest;

// The report control's whole text, with its line breaks as "\r\n".
std::u16string ReportControlText(HWND report) {
    GETTEXTLENGTHEX length_query = {GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const LRESULT length =
        SendMessageW(report, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length_query), 0);
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    GETTEXTEX query = {};
    query.cb = static_cast<DWORD>(text.size() * sizeof(char16_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;
    const LRESULT copied = SendMessageW(report, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query),
                                        reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

// Appends a marker to the report control's text: a rebuild of the report removes it.
void MarkReport(HWND report) {
    SendMessageW(report, EM_SETREADONLY, FALSE, 0);
    SendMessageW(report, EM_SETSEL, -1, -1);
    SendMessageW(report, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"#marker#"));
    SendMessageW(report, EM_SETREADONLY, TRUE, 0);
}

bool Marked(HWND report) {
    return ReportControlText(report).find(u"#marker#") != std::u16string::npos;
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

TEST_F(AppViewsTest, SelectingTheSelectedTabAgainChangesNothing) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteSaveDcFile("views-five.emf", 5));
    ClickTab(1);
    ASSERT_EQ(g_view_mode, 1);
    EXPECT_EQ(g_report_state, 1);
    HWND report = Child(IDC_REPORT);
    MarkReport(report);
    ValidateRect(main_, nullptr);
    ClickTab(1);
    EXPECT_EQ(g_view_mode, 1);
    EXPECT_TRUE(Marked(report));
    EXPECT_TRUE(IsWindowVisible(report));
    RECT update;
    EXPECT_FALSE(GetUpdateRect(main_, &update, FALSE));
}

TEST_F(AppViewsTest, EachViewShowsOnlyItsControls) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteSaveDcFile("views-shown.emf", 5));
    const int content[] = {IDC_CANVAS, IDC_CALLTEXT, IDC_RECORDINDEX, IDC_REPORT, IDC_FILTERLIST};
    const bool shown[5][5] = {{true, true, true, false, false},
                              {false, false, false, true, false},
                              {false, false, false, true, false},
                              {false, false, false, true, false},
                              {false, false, false, false, true}};
    for (int mode : {4, 1, 2, 3, 0}) {
        SCOPED_TRACE(mode);
        ClickTab(mode);
        EXPECT_EQ(g_view_mode, mode);
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

TEST_F(AppViewsTest, HeaderFilterHeaderBuildsTheHeaderOnce) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteSaveDcFile("views-once.emf", 5));
    HWND report = Child(IDC_REPORT);
    ClickTab(1);
    MarkReport(report);
    ClickTab(4);
    ClickTab(1);
    EXPECT_TRUE(Marked(report));
    EXPECT_EQ(g_report_state, 1);
    // The record list in between replaces it, so the header is built again.
    ClickTab(2);
    EXPECT_EQ(g_report_state, 2);
    ClickTab(1);
    EXPECT_EQ(g_report_state, 1);
    EXPECT_FALSE(Marked(report));
}

TEST_F(AppViewsTest, SwitchViewFromCodeSelectsItsTab) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteSaveDcFile("views-code.emf", 5));
    EXPECT_EQ(SwitchView(main_, 2), 1);
    EXPECT_EQ(SendMessageW(Child(IDC_MODESWITCHER), TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SwitchView(main_, 5), 0);
    EXPECT_EQ(g_view_mode, 2);
}

TEST_F(AppViewsTest, TextViewsBeforeAnyFileLeaveTheControlAlone) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    ClickTab(1);
    EXPECT_EQ(g_view_mode, 1);
    EXPECT_EQ(g_report_state, -1);
    EXPECT_EQ(ReportControlText(Child(IDC_REPORT)), u"");
    EXPECT_EQ(BuildHeaderReport(main_), 0);
}

TEST_F(AppViewsTest, ReportFormatIsCourierNewNotBold) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteSaveDcFile("views-format.emf", 5));
    ClickTab(2);
    CHARFORMATW format = {};
    format.cbSize = sizeof(format);
    SendMessageW(Child(IDC_REPORT), EM_SETSEL, 0, -1);
    SendMessageW(Child(IDC_REPORT), EM_GETCHARFORMAT, SCF_SELECTION,
                 reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, L"Courier New");
    EXPECT_EQ(format.yHeight, 175);
    EXPECT_FALSE(format.dwEffects & CFE_BOLD);
}

// The control must end up holding exactly the portable text of each report, line breaks,
// tabs and the dump's high characters included, for a file of tens of thousands of records.
TEST_F(AppViewsTest, ReportControlHoldsThePortableReportTexts) {
    const std::string corpus = CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no corpus folder beside the checkout";
    }
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(corpus + "/good/test-105.emf");
    ASSERT_TRUE(g_document.IsLoaded());
    ASSERT_GT(g_document.Store().count(), 50000);
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        const auto start = std::chrono::steady_clock::now();
        ClickTab(mode);
        const auto seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("view %d built in %.1f s\n", mode, seconds);
        EXPECT_EQ(g_report_state, mode);
        ReportText expected;
        if (mode == 1) {
            BuildHeaderReportText(g_document, &expected);
        } else if (mode == 2) {
            BuildRecordListText(g_document, &expected);
        } else {
            BuildCallListText(g_document, &expected, 1);
        }
        const std::u16string joined = JoinReport(expected);
        const std::u16string held = ReportControlText(Child(IDC_REPORT));
        EXPECT_TRUE(held == joined) << FirstDifference(held, joined);
        if (mode > 1) {
            EXPECT_EQ(SendMessageW(Child(IDC_REPORT), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        }
    }
    EXPECT_EQ(VerboseFlag(), 1);
}

}  // namespace
