// The window program survives hostile files: each is opened through the Open command in the
// real main window, its records are stepped through with the navigation keys and the record
// index field with the picture painted at every step, a few filter rows are switched off and
// all six views are shown, and the window must still answer. A file that cannot be opened
// leaves everything as it was.
//
// A paint after a jump back plays every record up to the current one again, so stepping
// through a file can cost the square of its record count: a file is stepped record by record
// through its first and last records only, with typed positions in between, within a budget of
// played records (StepPlan). The good corpus is left to the tests that browse sound files.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

#include "app/filter_list.h"
#include "canvas/canvas_control_win.h"
#include "document/metafile_reader.h"
#include "tests/support/corpus.h"
#include "tests/support/hostile_metafiles.h"
#include "tests/win32/app_window_fixture.h"
#include "tests/win32/playback_watch.h"

namespace {

// How a file is stepped through: every record of its first and last `edge` records, at most
// `stride` positions typed in between, and the paints of the last edge and of the stride
// together playing about `plays` records at most.
struct StepPlan {
    int32_t edge;
    int32_t stride;
    int64_t plays;
};

constexpr StepPlan kGeneratedPlan{200, 50, 1000000};
constexpr StepPlan kCorpusPlan{20, 20, 150000};
constexpr UINT kAnswerMilliseconds = 10000;

int g_records_played = 0;

void CountPlayedRecord(int32_t) {
    ++g_records_played;
}

// Whether `path` can be opened at all: what the program's reader needs first of a file.
bool CanBeOpened(const std::string& path) {
    const MetafileReader& reader = DirectMetafileReader();
    void* metafile = reader.open(ToU16(path).c_str(), nullptr);
    if (metafile == nullptr) {
        return false;
    }
    reader.close(metafile);
    return true;
}

bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return window != nullptr && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                    kAnswerMilliseconds, &result) != 0;
}

// What the program shows of the loaded file.
struct Shown {
    std::wstring title;
    std::wstring index_field;
    std::wstring call_text;
    int32_t current_record;
    std::u16string path;
    int loaded;

    bool operator==(const Shown&) const = default;
};

std::string RegressionsDir() {
    std::string folder = ORVELLA_WINDOW_REGRESSIONS;
    // A Unix path handed to a Windows program under Wine: its root is drive Z.
    return folder.size() > 0 && folder[0] == '/' ? "Z:" + folder : folder;
}

class HostileWindowTest : public SharedAppWindowTest {
  protected:
    void SetUp() override {
        SharedAppWindowTest::SetUp();
        g_records_played = 0;
        watch_.emplace(CountPlayedRecord);
        ASSERT_TRUE(watch_->watching());
        anchor_ = WriteLongPicture(12, "anchor.emf");
    }

    void TearDown() override {
        watch_.reset();
        SharedAppWindowTest::TearDown();
    }

    // Opens the anchor file: a sound file, so that the next file has something to replace.
    void OpenAnchor() {
        Open(anchor_);
        ASSERT_TRUE(g_document.IsLoaded());
    }

    Shown Now() const {
        return Shown{TextOf(main_),    TextOf(IDC_RECORDINDEX), TextOf(IDC_CALLTEXT),
                     g_current_record, g_document.Path(),       g_document.IsLoaded()};
    }

    int32_t CanvasIndex() const {
        return static_cast<int32_t>(SendMessageW(Child(IDC_CANVAS), CVM_GETINDEX, 0, 0));
    }

    void ExpectEverythingAnswers() {
        EXPECT_TRUE(Answers(main_));
        for (int id : {IDC_MODESWITCHER, IDC_CANVAS, IDC_RECORDINDEX, IDC_CALLTEXT, IDC_REPORT,
                       IDC_FILTERLIST}) {
            EXPECT_TRUE(Answers(Child(id))) << "child " << id;
        }
    }

    // Whether the program stands at record `index` with the picture painted up to it: the
    // field, the call text and the canvas agree, and the canvas has no paint pending (the
    // paused player plays only the records a step crosses, and none for a picture it kept).
    // Fails once.
    bool AtRecord(int32_t index) {
        UpdateWindow(Child(IDC_CANVAS));
        const bool at = g_current_record == index && CanvasIndex() == index &&
                        TextOf(IDC_RECORDINDEX) == std::to_wstring(index) &&
                        TextOf(IDC_CALLTEXT) == CallPaneTextOf(index) &&
                        GetUpdateRect(Child(IDC_CANVAS), nullptr, FALSE) == 0;
        if (!at) {
            ADD_FAILURE() << "expected record " << index << ": current " << g_current_record
                          << ", canvas " << CanvasIndex() << ", played " << g_records_played;
        }
        g_records_played = 0;
        return at;
    }

    // Presses `key`, or types `expected` into the record index field when `key` is 0, and
    // checks where the program stands. A step that stays where it is paints nothing by itself:
    // the picture is asked for anew.
    bool Step(WPARAM key, int32_t expected) {
        g_records_played = 0;
        if (expected == g_current_record) {
            InvalidateRect(Child(IDC_CANVAS), nullptr, FALSE);
        }
        if (key != 0) {
            Key(key);
        } else {
            TypeIndex(std::to_wstring(expected).c_str());
        }
        return AtRecord(expected);
    }

    // From the first record to the last: each record of both edges with the keys, the
    // positions between them typed into the record index field, and a page each way.
    void StepThroughRecords(const StepPlan& plan) {
        const int32_t last = LastRecordIndex(g_document.Store().count());
        if (last < 0) {
            // A file of no record read: the keys move nothing that can be shown.
            for (WPARAM key : {VK_HOME, VK_RIGHT, VK_END, VK_LEFT, VK_NEXT}) {
                Key(key);
                EXPECT_TRUE(Answers(main_));
            }
            return;
        }
        EXPECT_EQ(CanvasIndex(), last);
        // A paint plays at most every stored record, whatever the header claims.
        const int64_t played_per_paint = std::max<int64_t>(1, g_document.Store().count());
        const int32_t tail = static_cast<int32_t>(
            std::min<int64_t>(plan.edge, std::max<int64_t>(3, plan.plays / played_per_paint)));
        const int32_t positions = static_cast<int32_t>(std::min<int64_t>(
            plan.stride, std::max<int64_t>(3, 2 * plan.plays / played_per_paint)));

        if (!Step(VK_HOME, 0)) {
            return;
        }
        const int32_t head_end = std::min(last, plan.edge);
        for (int32_t i = 1; i <= head_end; ++i) {
            if (!Step(VK_RIGHT, i)) {
                return;
            }
        }
        const int32_t tail_start = std::max(head_end, last - tail);
        if (tail_start - head_end > 1) {
            const int32_t stride = (tail_start - head_end) / positions + 1;
            for (int64_t at = int64_t{head_end} + stride; at < tail_start; at += stride) {
                if (!Step(0, static_cast<int32_t>(at))) {
                    return;
                }
            }
        }
        if (!Step(VK_END, last)) {
            return;
        }
        for (int32_t i = last - 1; i >= tail_start; --i) {
            if (!Step(VK_LEFT, i)) {
                return;
            }
        }
        const int32_t page = RecordPageStep(RecordScrollBar{0, last, tail_start});
        Step(VK_PRIOR, tail_start - page < 0 ? 0 : tail_start - page);
        Step(VK_NEXT, tail_start);
    }

    // Switches off the first, the middle and the last row with the space bar, as a user does,
    // and paints the last and the middle record with them off.
    void SwitchOffFilterRows() {
        ClickTab(4);
        HWND list = Child(IDC_FILTERLIST);
        const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        const int expected_rows = g_document.Store().count() - 2;
        EXPECT_EQ(rows, expected_rows < 0 ? 0 : expected_rows);
        if (rows > 0) {
            SetFocus(list);
            for (int row : {0, rows / 2, rows - 1}) {
                if (IsRecordPlayed(static_cast<uint32_t>(row) + 1) == 0) {
                    continue;  // the middle row of a short list is also the first or last
                }
                LVITEMW item = {};
                item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
                item.state = LVIS_FOCUSED | LVIS_SELECTED;
                SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(&item));
                SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
                SendMessageW(list, WM_KEYUP, VK_SPACE, 0);
                Pump();
                EXPECT_EQ(IsRecordPlayed(static_cast<uint32_t>(row) + 1), 0) << "row " << row;
            }
            EXPECT_EQ(AnyRecordUnchecked(), 1);
        }
        ClickTab(0);
        const int32_t last = LastRecordIndex(g_document.Store().count());
        if (last >= 0) {
            Step(VK_END, last);
            Step(0, last / 2);
        }
    }

    // Every view, each a tab click.
    void ShowEveryView() {
        for (int mode : {1, 2, 3, 5, 4, 0}) {
            ClickTab(mode);
            EXPECT_EQ(g_view_mode, mode);
            EXPECT_TRUE(Answers(main_)) << "view " << mode;
        }
    }

    // A file the program refused: when no reader can open it, nothing changed; when it was
    // opened but could not be held, the document is empty and the rest is as it was. Either
    // way the window answers, and no key or view brings anything back.
    void ExpectRefused(const std::string& path, const Shown& before) {
        if (!CanBeOpened(path)) {
            EXPECT_TRUE(Now() == before) << "a file no reader opens changed what is shown";
        } else {
            EXPECT_FALSE(g_document.IsLoaded());
            EXPECT_EQ(TextOf(main_), before.title);
            EXPECT_EQ(TextOf(IDC_CALLTEXT), before.call_text);
            EXPECT_EQ(g_current_record, before.current_record);
        }
        const int32_t current = g_current_record;
        for (WPARAM key : {VK_HOME, VK_RIGHT, VK_END}) {
            Key(key);
        }
        if (!g_document.IsLoaded()) {
            const int beeps = g_seam_log.beeps;
            TypeIndex(L"0");
            EXPECT_EQ(g_seam_log.beeps, beeps + 1);
            EXPECT_EQ(g_current_record, current);
        }
        ShowEveryView();
        ExpectEverythingAnswers();
        if (!g_document.IsLoaded()) {
            OpenAnchor();
        }
    }

    // Opens `path` and goes through it as a user would; prints how long it took.
    void Browse(const std::string& path, const StepPlan& plan) {
        SCOPED_TRACE(path);
        const auto start = std::chrono::steady_clock::now();
        const Shown before = Now();
        Open(path);
        ExpectEverythingAnswers();
        const bool loaded =
            g_document.IsLoaded() && std::u16string(g_document.Path()) == ToU16(path);
        if (!loaded) {
            ExpectRefused(path, before);
        } else {
            EXPECT_EQ(g_current_record, LastRecordIndex(g_document.Store().count()));
            EXPECT_EQ(TextOf(main_), Wide(path) + L" - Orvella");
            StepThroughRecords(plan);
            SwitchOffFilterRows();
            ShowEveryView();
            ExpectEverythingAnswers();
            if (LastRecordIndex(g_document.Store().count()) >= 0) {
                EXPECT_EQ(CanvasIndex(), g_current_record);
            }
        }
        std::printf(
            "%-40s %s in %5.1f s\n", path.substr(path.find_last_of("/\\") + 1).c_str(),
            loaded ? "shown  " : "refused",
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        std::fflush(stdout);
    }

    void BrowseFolder(const std::string& folder, const StepPlan& plan) {
        ASSERT_NE(CreateWindowUnderTest(), nullptr);
        SKIP_WITHOUT_CANVAS();
        OpenAnchor();
        const std::vector<std::string> paths = ListEmfFiles(folder);
        for (const std::string& path : paths) {
            Browse(path, plan);
        }
        std::printf("%zu files from %s\n", paths.size(), folder.c_str());
    }

    std::string anchor_;
    std::optional<playback_watch::PlaybackWatch> watch_;
};

// Malformed files, files of damaged records, and every record type filled with hostile values.
TEST_F(HostileWindowTest, SurvivesEveryGeneratedFile) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    SKIP_WITHOUT_CANVAS();
    OpenAnchor();
    for (const auto& files : {MalformedMetafiles(), HostileMetafiles(), EveryTypeMetafiles()}) {
        for (const HostileMetafile& file : files) {
            Browse(WriteTempFile(file.name + ".emf", file.bytes), kGeneratedPlan);
        }
    }
}

TEST_F(HostileWindowTest, SurvivesTheCorruptedCorpus) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    BrowseFolder(corpus + "/corrupted", kCorpusPlan);
}

// Every file that once crashed or hung the window program.
TEST_F(HostileWindowTest, SurvivesEveryKeptRegression) {
    BrowseFolder(RegressionsDir(), kGeneratedPlan);
}

}  // namespace
