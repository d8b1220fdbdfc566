// The Records view's "Save embedded data...".
#include "app/embedded_data.h"

#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/main_window.h"
#include "app/platform_seams.h"
#include "app/report_views.h"
#include "app/wait_cursor.h"
#include "canvas/picture_export_win.h"
#include "reports/embedded_payloads.h"

namespace {

// The report state of the record list: the Records view's report.
constexpr int kRecordListState = 2;
// At most this many payloads of one record are offered.
constexpr size_t kMostItems = 64;

bool g_save_running = false;

std::wstring Wide(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

// The metafile's name without its folders and extension, and its folder with the last slash.
void SplitPath(std::wstring* folder, std::wstring* name) {
    const std::wstring path = reinterpret_cast<const wchar_t*>(g_document.Path());
    const size_t slash = path.find_last_of(L"\\/");
    *folder = slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
    *name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name->rfind(L'.');
    if (dot != std::wstring::npos && dot > 0) {
        name->resize(dot);
    }
}

void ShowFailure(HWND owner, const std::wstring& text) {
    g_platform.message_box(owner, text.c_str(), g_app_title, MB_OK | MB_ICONERROR);
}

bool WriteWhole(const wchar_t* path, const std::vector<uint8_t>& bytes, std::wstring* failure) {
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *failure = SystemReason(GetLastError());
        return false;
    }
    DWORD wrote = 0;
    const bool written =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr) &&
        wrote == bytes.size();
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!written) {
        *failure = SystemReason(error);
        DeleteFileW(path);
    }
    return written;
}

}  // namespace

void OfferEmbeddedData(const TextViewMenu* menu) {
    if (g_report_state != kRecordListState || menu->record < 0 || !g_document.IsLoaded()) {
        return;
    }
    const EmbeddedPayloads found(g_document.Store(), menu->record);
    const std::vector<EmbeddedPayload>& payloads = found.payloads();
    if (payloads.empty()) {
        return;
    }
    AppendMenuW(menu->menu, MF_SEPARATOR, 0, nullptr);
    for (size_t i = 0; i < payloads.size() && i < kMostItems; ++i) {
        const EmbeddedPayload& payload = payloads[i];
        const bool writable = PayloadExtension(payload.format) != nullptr;
        std::wstring label = L"Save &embedded data...";
        if (payloads.size() > 1 || !writable) {
            label = L"Save embedded data: " + Wide(payload.carrier) + L" (" +
                    Wide(PayloadFormatName(payload.format)) + L")" + (writable ? L"..." : L"");
        }
        AppendMenuW(menu->menu, MF_STRING | (writable ? 0 : MF_GRAYED),
                    kTextViewParentItems + static_cast<UINT>(i), label.c_str());
    }
}

void OnEmbeddedDataChosen(HWND main_window, const TextViewMenu* menu) {
    const size_t index = menu->command - kTextViewParentItems;
    if (g_save_running || !g_document.IsLoaded() || menu->record < 0) {
        return;
    }
    g_save_running = true;
    const EmbeddedPayloads found(g_document.Store(), menu->record);
    if (index >= found.payloads().size()) {
        g_save_running = false;
        return;
    }
    const EmbeddedPayload& payload = found.payloads()[index];
    std::wstring folder;
    std::wstring name;
    SplitPath(&folder, &name);
    const std::u16string file =
        PayloadFileName(std::u16string(reinterpret_cast<const char16_t*>(name.c_str())), payload);
    const std::wstring extension = Wide(PayloadExtension(payload.format));
    const std::wstring format = Wide(PayloadFormatName(payload.format));
    // The filter: the payload's own format, then every file.
    std::wstring filter = format + L" file (*." + extension + L")" + L'\0' + L"*." + extension +
                          L'\0' + L"All files (*.*)" + L'\0' + L"*.*" + L'\0';
    wchar_t path[kPathUnits] = L"";
    const std::wstring proposed = folder + reinterpret_cast<const wchar_t*>(file.c_str());
    lstrcpynW(path,
              proposed.size() < kPathUnits ? proposed.c_str()
                                           : reinterpret_cast<const wchar_t*>(file.c_str()),
              kPathUnits);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = main_window;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = kPathUnits;
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    dialog.lpstrDefExt = extension.c_str();
    const bool chosen = g_platform.get_save_file_name(&dialog) != FALSE;
    g_save_running = false;
    if (!chosen) {
        return;
    }
    WaitCursor wait;
    std::vector<uint8_t> bytes;
    std::wstring failure;
    if (!found.Bytes(index, &bytes)) {
        failure = Wide(found.Report(index).check.verdict);
    } else if (WriteWhole(path, bytes, &failure)) {
        return;
    }
    ShowFailure(main_window, std::wstring(L"The embedded data could not be saved as ") + path +
                                 L": " + failure + L".");
}
