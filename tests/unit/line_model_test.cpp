// The text view's lines against the reports' whole texts: the line index, any line made on
// its own, the text between two places, find, and the record of a line.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "reports/call_list_report.h"
#include "reports/emfplus_report.h"
#include "reports/header_report.h"
#include "reports/record_list_report.h"
#include "tests/support/emf_builder.h"
#include "textview/line_model.h"

namespace {

// The report's whole text and its lines (breaks left out), as the stream makes them.
struct Expected {
    std::u16string text;
    std::vector<std::u16string> lines;
    // Where each line starts in the text.
    std::vector<size_t> starts;
};

Expected Split(std::u16string text) {
    Expected expected;
    size_t start = 0;
    for (size_t at = 0; at <= text.size(); ++at) {
        if (at == text.size() || text[at] == u'\n') {
            size_t end = at;
            if (end > start && at < text.size() && text[end - 1] == u'\r') {
                --end;
            }
            expected.starts.push_back(start);
            expected.lines.push_back(text.substr(start, end - start));
            start = at + 1;
        }
    }
    expected.text = std::move(text);
    return expected;
}

std::unique_ptr<ReportEntries> OpenReport(const MetafileDocument& document, int report,
                                          std::u16string* text) {
    ReportText whole;
    if (report == 1) {
        BuildHeaderReportText(document, &whole);
        *text = JoinReport(whole);
        return OpenHeaderEntries(document);
    }
    if (report == 2) {
        BuildRecordListText(document, &whole);
        *text = JoinReport(whole);
        return OpenRecordListEntries(document);
    }
    if (report == 3) {
        BuildCallListText(document, &whole, 1);
        *text = JoinReport(whole);
        return OpenCallListEntries(document, 1);
    }
    CollectReport(*OpenEmfPlusReport(document), &whole);
    *text = JoinReport(whole);
    return OpenEmfPlusEntries(document);
}

// Checks the model of each report of `document` against the report's text.
void CheckReports(const MetafileDocument& document, uint32_t seed) {
    std::mt19937 random(seed);
    for (int report : {1, 2, 3, 5}) {
        SCOPED_TRACE(report);
        std::u16string text;
        LineModel model;
        model.Build(OpenReport(document, report, &text));
        const Expected expected = Split(std::move(text));
        ASSERT_EQ(model.line_count(), static_cast<int32_t>(expected.lines.size()));
        EXPECT_EQ(model.text_units(), static_cast<int64_t>(expected.text.size()));
        EXPECT_TRUE(model.Text({}, model.End()) == expected.text);

        // Lines in any order, so that entries are made again out of turn.
        auto any_line = [&] { return static_cast<int32_t>(random() % expected.lines.size()); };
        for (int i = 0; i < 200; ++i) {
            const int32_t line = any_line();
            ASSERT_TRUE(model.Line(line) == expected.lines[static_cast<size_t>(line)]) << line;
        }
        // The text between two places, either way round.
        for (int i = 0; i < 30; ++i) {
            TextPos a{any_line(), 0};
            TextPos b{any_line(), 0};
            a.column = static_cast<int32_t>(random() % (expected.lines[a.line].size() + 1));
            b.column = static_cast<int32_t>(random() % (expected.lines[b.line].size() + 1));
            const size_t from =
                std::min(expected.starts[a.line] + a.column, expected.starts[b.line] + b.column);
            const size_t to =
                std::max(expected.starts[a.line] + a.column, expected.starts[b.line] + b.column);
            ASSERT_TRUE(model.Text(a, b) == expected.text.substr(from, to - from));
        }
        // A piece of a line is found where it first occurs from the top, and again from there
        // up to the same place going round the end.
        const std::u16string& line = expected.lines[static_cast<size_t>(any_line())];
        if (line.size() >= 6) {
            const std::u16string what = line.substr((line.size() - 5) / 2, 5);
            const size_t first = expected.text.find(what);
            TextPos start;
            TextPos end;
            ASSERT_TRUE(model.Find(what, {}, {.match_case = true}, &start, &end));
            EXPECT_EQ(expected.starts[start.line] + start.column, first);
            EXPECT_EQ(end.column - start.column, 5);
            TextPos again;
            ASSERT_TRUE(model.Find(what, start, {.down = false, .match_case = true}, &again, &end));
            EXPECT_EQ(expected.starts[again.line] + again.column, expected.text.rfind(what));
        }
        // Every line of a record's entry leads to that record: a record's entry starts with
        // its number and a tab, and runs up to the next such line or the end. An EMF+ line
        // leads to the comment record it names before its dot or tab.
        int32_t record = -1;
        for (int32_t l = 0; l + 1 < model.line_count(); ++l) {
            const std::u16string& text_line = expected.lines[static_cast<size_t>(l)];
            const size_t tab = text_line.find(u'\t');
            const size_t digits = text_line.find_first_not_of(u"0123456789");
            if (report == 5) {
                const bool named = digits > 0 && digits != std::u16string::npos &&
                                   (text_line[digits] == u'.' || text_line[digits] == u'\t');
                record = named ? std::stoi(ToUtf8(text_line.substr(0, digits))) : -1;
            } else if (report > 1 && tab != std::u16string::npos && tab > 0 && digits == tab) {
                record = std::stoi(ToUtf8(text_line.substr(0, tab)));
            }
            ASSERT_EQ(model.RecordOfLine(l), record) << l;
        }
    }
}

TEST(LineModel, MatchesTheReportsOfAGeneratedFile) {
    EmfBuilder file;
    for (int i = 0; i < 600; ++i) {
        // Empty, short and long records, and a record of an unknown type.
        file.Add(RecordBuilder(i % 7 == 0 ? 999 : 33 + i % 40, 8 + 4 * (i % 300)));
    }
    MetafileDocument document;
    ASSERT_EQ(document.LoadFile(ToU16(WriteTempFile("line-model.emf", file.Build())).c_str()), 1);
    CheckReports(document, 1);
}

TEST(LineModel, MatchesTheReportsOfTheCorpus) {
    const std::string corpus = CorpusDir();
    if (corpus.empty()) {
        GTEST_SKIP() << "no corpus folder beside the checkout";
    }
    uint32_t seed = 1;
    for (const std::string& path : ListEmfFiles(corpus + "/good")) {
        SCOPED_TRACE(path);
        MetafileDocument document;
        if (document.LoadFile(ToU16(path).c_str())) {
            CheckReports(document, ++seed);
        }
    }
}

TEST(LineModel, FindsByCaseWholeWordAndDirection) {
    ReportText report;
    report.chunks = {u"Alpha beta\r\nalphabet ALPHA\r\n"};
    LineModel model;
    model.Build(std::make_unique<HeldEntries>(report));
    struct Case {
        FindOptions options;
        TextPos from;
        TextPos found;
    };
    const Case cases[] = {
        {{}, {0, 0}, {0, 0}},
        {{}, {0, 1}, {1, 0}},
        {{.match_case = true}, {0, 1}, {1, 0}},
        {{.match_case = true}, {1, 1}, {1, 0}},  // round the end to the same line
        {{.whole_word = true}, {0, 1}, {1, 9}},
        {{.down = false}, {1, 9}, {1, 0}},
        {{.down = false}, {0, 0}, {1, 9}},        // round the top
        {{.whole_word = true}, {1, 10}, {0, 0}},  // round the end
    };
    for (const Case& c : cases) {
        TextPos start;
        TextPos end;
        ASSERT_TRUE(model.Find(u"alpha", c.from, c.options, &start, &end));
        EXPECT_EQ(start, c.found) << c.from.line << ":" << c.from.column;
        EXPECT_EQ(end, (TextPos{c.found.line, c.found.column + 5}));
    }
    TextPos start;
    TextPos end;
    EXPECT_FALSE(model.Find(u"gamma", {}, {}, &start, &end));
    EXPECT_FALSE(model.Find(u"", {}, {}, &start, &end));
}

TEST(TabLayout, PlacesColumnsAtTheStopsThenAtTheInterval) {
    const TabLayout layout{10, {60, 300}, 48};
    const std::u16string_view line = u"12\tname\tsize\tdump";
    EXPECT_EQ(layout.XOfColumn(line, 2), 20);
    EXPECT_EQ(layout.XOfColumn(line, 3), 60);
    EXPECT_EQ(layout.XOfColumn(line, 8), 300);
    // Past the last stop: 340 goes on to 384, the next multiple of 48.
    EXPECT_EQ(layout.XOfColumn(line, 13), 384);
    EXPECT_EQ(layout.Width(line), 424);
    EXPECT_EQ(layout.ColumnAtX(line, 14), 1);
    EXPECT_EQ(layout.ColumnAtX(line, 100), 7);
    EXPECT_EQ(layout.ColumnAtX(line, 5000), 17);
}

}  // namespace
