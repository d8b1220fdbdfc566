// The platform's own handle of a metafile for playback, made from the stored records.
#pragma once

#include "document/record_store.h"

#ifdef _WIN32
inline constexpr bool kPlaybackHandles = true;
#else
inline constexpr bool kPlaybackHandles = false;
#endif

// A metafile handle (an HENHMETAFILE on Windows) holding the guarded playback copy of the
// stored records (see BuildPlaybackCopy); nullptr when there is no copy, the platform refuses
// it, or there is no such platform.
void* CreatePlaybackHandle(const RecordStore& store);
void DeletePlaybackHandle(void* handle);
