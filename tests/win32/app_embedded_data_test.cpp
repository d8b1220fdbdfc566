// The Records view's "Save embedded data...": offered from the mouse and from the keyboard on a
// record that carries a payload, and writing its bytes only where the save dialog says.
#include <filesystem>

#include "reports/embedded_payloads.h"
#include "tests/support/payload_builder.h"
#include "tests/win32/app_window_fixture.h"

namespace {

VOID CALLBACK EndStuckMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

class AppEmbeddedDataTest : public SharedAppWindowTest {
  protected:
    enum class Opened { kShiftF10, kMenuKey, kMouse };

    // Opens the view's context menu, from the keyboard or over the caret's line, and types the
    // mnemonic of "Save &embedded data...".
    void SaveFromMenu(Opened opened) {
        HWND view = Child(IDC_REPORT);
        const UINT_PTR timer = SetTimer(nullptr, 0, 5000, EndStuckMenu);
        // Escape closes a menu without the item at once; the view ignores it otherwise.
        PostMessageW(view, WM_CHAR, 'e', 0);
        PostMessageW(view, WM_KEYDOWN, VK_ESCAPE, 0);
        if (opened == Opened::kMenuKey) {
            SendMessageW(view, WM_KEYDOWN, VK_APPS, 0);
            SendMessageW(view, WM_KEYUP, VK_APPS, 0xC0000001);
        } else if (opened == Opened::kShiftF10) {
            BYTE keys[256];
            GetKeyboardState(keys);
            keys[VK_SHIFT] = 0x80;
            SetKeyboardState(keys);
            SendMessageW(view, WM_SYSKEYDOWN, VK_F10, 0);
            keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
        } else if (opened == Opened::kMouse) {
            HDC dc = GetDC(view);
            HGDIOBJ font =
                SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(view, WM_GETFONT, 0, 0)));
            TEXTMETRICW metrics = {};
            GetTextMetricsW(dc, &metrics);
            SelectObject(dc, font);
            ReleaseDC(view, dc);
            TextPos anchor, caret;
            GetTextViewSelection(view, &anchor, &caret);
            POINT at = {40, (caret.line - TextViewTopLine(view)) * metrics.tmHeight + 2};
            ClientToScreen(view, &at);
            SendMessageW(view, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(view),
                         MAKELPARAM(at.x, at.y));
        }
        Pump();
        KillTimer(nullptr, timer);
    }

    // Puts the caret on the first line of record `record`'s entry.
    void CaretToRecord(int32_t record) {
        HWND view = Child(IDC_REPORT);
        const LineModel* lines = TextViewLines(view);
        for (int32_t line = 0; line < lines->line_count(); ++line) {
            if (lines->RecordOfLine(line) == record) {
                SetTextViewSelection(view, {line, 0}, {line, 0});
                return;
            }
        }
        ADD_FAILURE() << "no line of record " << record;
    }
};

TEST_F(AppEmbeddedDataTest, SavesARecordsPayloadOnlyWhereTheDialogSays) {
    ASSERT_NE(CreateWindowUnderTest(), nullptr);
    Open(WriteTempFile("embedded.emf",
                       EmfBuilder()
                           .Add(StretchDib(DibHeader(2, 2, 24), std::vector<uint8_t>(16, 5)))
                           .Add(RecordBuilder(18, 12).U32(8, 1))
                           .Build()));
    ClickTab(2);
    const std::filesystem::path target =
        std::filesystem::temp_directory_path() / "saved-payload.bmp";
    std::filesystem::remove(target);

    // From the keyboard on a record without a payload: no item to choose.
    CaretToRecord(2);
    SaveFromMenu(Opened::kShiftF10);
    EXPECT_EQ(0, g_seam_log.save_calls);

    // From the menu key on the bitmap's record, the dialog cancelled: nothing is written.
    CaretToRecord(1);
    SaveFromMenu(Opened::kMenuKey);
    ASSERT_EQ(1, g_seam_log.save_calls);
    EXPECT_TRUE(g_seam_log.save_proposed.ends_with(L"embedded-1.bmp")) << g_seam_log.save_proposed;
    EXPECT_EQ(L"bmp", g_seam_log.save_extension);
    EXPECT_NE(0u, g_seam_log.last_save_dialog.Flags & OFN_OVERWRITEPROMPT);
    EXPECT_FALSE(std::filesystem::exists(target));

    // From the mouse over the record's line: the bitmap file, header made, where the dialog says.
    g_seam_log.save_path = target.wstring();
    SaveFromMenu(Opened::kMouse);
    EXPECT_EQ(2, g_seam_log.save_calls);
    EXPECT_TRUE(g_seam_log.box_texts.empty());
    std::vector<uint8_t> expected;
    ASSERT_TRUE(EmbeddedPayloads(g_document.Store()).Bytes(0, &expected));
    EXPECT_EQ(expected.size(), 14u + 40 + 16);
    EXPECT_EQ(ReadFileBytes(target.string()), expected);

    // A folder that is not there: the message box says so.
    g_seam_log.save_path = (target.parent_path() / "no such folder" / "x.bmp").wstring();
    SaveFromMenu(Opened::kMouse);
    ASSERT_EQ(1u, g_seam_log.box_texts.size());
    EXPECT_NE(std::wstring::npos, g_seam_log.box_texts[0].find(L"x.bmp"))
        << g_seam_log.box_texts[0];
}

}  // namespace
