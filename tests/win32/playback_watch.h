// Watches the platform's metafile player from outside the program: while a PlaybackWatch
// lives, this executable's imports of PlayEnhMetaFileRecord and PlayEnhMetaFile from gdi32.dll
// lead through wrappers that tell `on_play` of each record played, by its index in the file
// (-1: the whole metafile at once), and then call the real functions. Only one watch at a time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace playback_watch {

inline void (*g_on_play)(int32_t) = nullptr;
inline decltype(&PlayEnhMetaFileRecord) g_real_record = nullptr;
inline decltype(&PlayEnhMetaFile) g_real_whole = nullptr;
inline bool g_in_whole = false;
// The last record whose index is known, and that index: records of one enumeration arrive in
// file order, the header first, so each index is found by walking on from the last one.
inline uintptr_t g_cursor = 0;
inline int32_t g_cursor_index = 0;

inline int32_t IndexOf(const ENHMETARECORD* record) {
    const uintptr_t target = reinterpret_cast<uintptr_t>(record);
    if (record->iType == EMR_HEADER) {
        g_cursor = target;
        g_cursor_index = 0;
    }
    while (g_cursor != 0 && g_cursor < target) {
        const DWORD size = reinterpret_cast<const ENHMETARECORD*>(g_cursor)->nSize;
        g_cursor = size >= 8 ? g_cursor + size : 0;
        ++g_cursor_index;
    }
    return g_cursor == target ? g_cursor_index : -2;  // -2: not a record after the header
}

inline BOOL WINAPI WatchedRecord(HDC dc, HANDLETABLE* handles, const ENHMETARECORD* record,
                                 UINT count) {
    // Records the platform plays inside a whole playback are not the program's (Wine's player
    // does not call them through this executable's imports; another platform might).
    if (!g_in_whole && record != nullptr) {
        g_on_play(IndexOf(record));
    }
    return g_real_record(dc, handles, record, count);
}

inline BOOL WINAPI WatchedWhole(HDC dc, HENHMETAFILE metafile, const RECT* rect) {
    g_on_play(-1);
    g_in_whole = true;
    const BOOL played = g_real_whole(dc, metafile, rect);
    g_in_whole = false;
    return played;
}

// The import address slot of gdi32's `function` in this executable, or null.
inline void** ImportSlot(const char* function) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return nullptr;
    }
    for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         dll->Name != 0; ++dll) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + dll->Name), "gdi32.dll") != 0) {
            continue;
        }
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
        const auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
        for (; dll->OriginalFirstThunk != 0 && slot->u1.Function != 0; ++slot, ++name) {
            if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
                std::strcmp(
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)
                        ->Name,
                    function) == 0) {
                return reinterpret_cast<void**>(&slot->u1.Function);
            }
        }
    }
    return nullptr;
}

// Writes `value` into the slot; the slot's previous value.
inline void* Swap(void** slot, void* value) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    void* previous = *slot;
    *slot = value;
    VirtualProtect(slot, sizeof(*slot), protection, &protection);
    return previous;
}

class PlaybackWatch {
  public:
    explicit PlaybackWatch(void (*on_play)(int32_t))
        : record_slot_(ImportSlot("PlayEnhMetaFileRecord")),
          whole_slot_(ImportSlot("PlayEnhMetaFile")) {
        if (!watching()) {
            return;
        }
        g_on_play = on_play;
        g_cursor = 0;
        g_real_record = reinterpret_cast<decltype(g_real_record)>(
            Swap(record_slot_, reinterpret_cast<void*>(&WatchedRecord)));
        g_real_whole = reinterpret_cast<decltype(g_real_whole)>(
            Swap(whole_slot_, reinterpret_cast<void*>(&WatchedWhole)));
    }
    ~PlaybackWatch() {
        if (watching()) {
            Swap(record_slot_, reinterpret_cast<void*>(g_real_record));
            Swap(whole_slot_, reinterpret_cast<void*>(g_real_whole));
        }
    }
    PlaybackWatch(const PlaybackWatch&) = delete;
    PlaybackWatch& operator=(const PlaybackWatch&) = delete;

    // Whether both imports were found and are watched.
    bool watching() const { return record_slot_ != nullptr && whole_slot_ != nullptr; }

  private:
    void** record_slot_;
    void** whole_slot_;
};

}  // namespace playback_watch
