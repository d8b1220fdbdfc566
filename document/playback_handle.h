// The platform's own handle of a metafile for playback, made from the stored records.
#pragma once

#include "document/record_store.h"

#ifdef _WIN32
inline constexpr bool kPlaybackHandles = true;
#else
inline constexpr bool kPlaybackHandles = false;
#endif

// A metafile handle (an HENHMETAFILE on Windows) holding a copy of the stored records, with
// the header's byte and record counts made to match the copy; nullptr when the platform
// refuses it or there is no such platform.
void* CreatePlaybackHandle(const RecordStore& store);
void DeletePlaybackHandle(void* handle);
