// Files from outside the file dialog: the command line at start and a drop on the window; the
// dialog's file types; the refusal of a damaged file.
#include <shlobj.h>

#include "app/file_sources.h"
#include "tests/support/corpus.h"
#include "tests/win32/app_window_fixture.h"

namespace {

using AppOpenTest = SharedAppWindowTest;

// A drop of `paths` as the shell hands it over: wide paths, each ended, the list ended.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t units = 1;
    for (const std::wstring& path : paths) {
        units += path.size() + 1;
    }
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    wchar_t* at = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& path : paths) {
        lstrcpyW(at, path.c_str());
        at += path.size() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(AppOpenTest, TheCommandLinesFileOpensAtStartWithoutTheDialog) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    const std::wstring path = Wide(WriteLongPicture(12, "named on the command line.emf"));
    const std::wstring command_line = L"orvella.exe \"" + path + L"\"";
    const int dialogs = g_seam_log.open_calls;
    PostMessageW(main_, UWM_STARTUP, 0, reinterpret_cast<LPARAM>(command_line.c_str()));
    Pump();
    EXPECT_EQ(g_seam_log.open_calls, dialogs);
    EXPECT_EQ(TextOf(main_), path + L" - Orvella");
    EXPECT_EQ(g_current_record, 11);
    // With no file named, the start-up asks for one.
    PostMessageW(main_, UWM_STARTUP, 0, reinterpret_cast<LPARAM>(L"orvella.exe"));
    Pump();
    EXPECT_EQ(g_seam_log.open_calls, dialogs + 1);
}

TEST_F(AppOpenTest, TheFirstFileDroppedOpens) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    const std::wstring first = Wide(WriteLongPicture(7, "dropped-first.emf"));
    const std::wstring second = Wide(WriteLongPicture(9, "dropped-second.emf"));
    SendMessageW(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first, second})), 0);
    Pump();
    EXPECT_EQ(TextOf(main_), first + L" - Orvella");
    EXPECT_EQ(g_current_record, 6);
    // A drop that cannot be opened is refused with a word, the file shown kept.
    SendMessageW(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({L"C:\\missing.emf"})), 0);
    EXPECT_EQ(g_seam_log.box_texts.size(), 1u);
    EXPECT_EQ(TextOf(main_), first + L" - Orvella");
}

std::wstring g_filter;

BOOL WINAPI KeepFilter(LPOPENFILENAMEW dialog) {
    for (const wchar_t* at = dialog->lpstrFilter; *at != L'\0'; at += lstrlenW(at) + 1) {
        g_filter += at;
        g_filter += L'|';
    }
    return FALSE;
}

TEST_F(AppOpenTest, TheDialogOffersMetafilesAndAllFiles) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    g_platform.get_open_file_name = KeepFilter;
    g_filter.clear();
    SendMessageW(main_, WM_COMMAND, IDM_OPEN, 0);
    EXPECT_EQ(g_filter, L"Enhanced Metafile (*.emf)|*.emf|All files (*.*)|*.*|");
}

TEST_F(AppOpenTest, TheUnreadableCorpusFileIsRefusedWithAWord) {
    ORVELLA_CORPUS_OR_SKIP(corpus);
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    const std::string path = corpus + "/corrupted/bad_corrupted_2014-12-02-215428.emf";
    const std::wstring title = TextOf(main_);
    Open(path);
    EXPECT_FALSE(g_document.IsLoaded());
    ASSERT_EQ(g_seam_log.box_texts.size(), 1u);
    EXPECT_EQ(g_seam_log.box_texts[0].rfind(L"Orvella cannot open \"" + Wide(path) + L"\"", 0), 0u);
    EXPECT_EQ(TextOf(main_), title);
}

}  // namespace
